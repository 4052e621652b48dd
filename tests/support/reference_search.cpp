#include "support/reference_search.h"

#include <algorithm>

#include "model/cio_equip.h"
#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"

namespace pinsum::test {
namespace {

constexpr size_t kMaxDigit = 0xFFFF;

CioModul* AsModule(CioType* entry) {
    return dynamic_cast<CioModul*>(entry);
}

// The device's modules in the order its positions first allow them.
std::vector<CioModul*> AllowedModules(const CioPlc& device) {
    std::vector<CioModul*> modules;
    for (size_t p = 0; p < device.Count(); ++p)
        if (const CioVariant* position = device.Position(p))
            for (CioType* entry : position->entries)
                if (CioModul* module = AsModule(entry);
                    module != nullptr &&
                    std::find(modules.begin(), modules.end(), module) == modules.end())
                    modules.push_back(module);
    return modules;
}

// Whether a configuration may swap one module for the other without the search seeing it: both
// cost the same, their variants offer the same points one by one, and no rule of the device's
// modules names or comes from any of those variants.
bool Twins(const CioModul& a, const CioModul& b, const std::vector<CioModul*>& allowed) {
    if (&a == &EmptyModule() || &b == &EmptyModule() || a.listPrice.scaled != b.listPrice.scaled ||
        a.Count() != b.Count())
        return false;
    for (size_t v = 0; v < a.Count(); ++v) {
        const CioVariant* x = a.Variant(v);
        const CioVariant* y = b.Variant(v);
        if ((x == nullptr) != (y == nullptr) || (x != nullptr && x->kindCounts != y->kindCounts))
            return false;
    }
    const auto ruled = [&](const CioVariant* variant) {
        for (const CioModul* module : allowed)
            for (size_t v = 0; v < module->Count(); ++v)
                if (const CioVariant* other = module->Variant(v);
                    other != nullptr &&
                    other->ruleCounts.Contains(const_cast<CioVariant*>(variant)))
                    return true;
        return !variant->ruleCounts.Empty();
    };
    for (const CioModul* module : {&a, &b})
        for (size_t v = 0; v < module->Count(); ++v)
            if (const CioVariant* variant = module->Variant(v);
                variant != nullptr && ruled(variant))
                return false;
    return true;
}

// The configuration's modules, each as the first of its twins, sorted.
std::vector<const CioModul*> TwinModules(const CioModuleSelector& s,
                                         const std::vector<CioModul*>& allowed) {
    std::vector<const CioModul*> modules;
    for (CioModul* module : s.modules) {
        const auto first = std::find_if(allowed.begin(), allowed.end(), [&](CioModul* other) {
            return other == module || (module != nullptr && Twins(*other, *module, allowed));
        });
        modules.push_back(first != allowed.end() ? *first : module);
    }
    std::sort(modules.begin(), modules.end());
    return modules;
}

const std::vector<CioType*>* Allowed(const CioModuleSelector& s, int p) {
    const CioVariant* position =
        s.device != nullptr ? s.device->Position(static_cast<size_t>(p)) : nullptr;
    return position != nullptr ? &position->entries : nullptr;
}

int NextVariant(CioModuleSelector& s, int p) {
    if (p < 0 || static_cast<size_t>(p) >= s.moduleIndexes.size() || !s.validStructure ||
        s.modules[p] == nullptr)
        return 0;
    const CioModul& module = *s.modules[p];
    const size_t count = std::min(module.Count(), kMaxDigit);
    while (s.variantIndexes[p] < count) {
        CioVariant* variant = module.Variant(s.variantIndexes[p]);
        ++s.variantIndexes[p];
        if (variant != nullptr) {
            s.variants[p] = variant;
            return 1;
        }
    }
    s.variantIndexes[p] = 0;
    ++s.moduleIndexes[p];
    return 0;
}

int NextModule(CioModuleSelector& s, int p) {
    if (p < 0 || static_cast<size_t>(p) >= s.moduleIndexes.size() || !s.validStructure)
        return 0;
    const auto* allowed = Allowed(s, p);
    const size_t count = allowed != nullptr ? std::min(allowed->size(), kMaxDigit) : 0;
    while (s.moduleIndexes[p] < count) {
        CioModul* module = AsModule((*allowed)[s.moduleIndexes[p]]);
        if (module != nullptr && (p >= s.startPosition || module != &EmptyModule())) {
            s.modules[p] = module;
            s.variantIndexes[p] = 0;
            return 1;
        }
        ++s.moduleIndexes[p];
    }
    s.moduleIndexes[p] = 0;
    return 0;
}

bool ChooseFirst(CioModuleSelector& s, int p) {
    while (!NextVariant(s, p))
        if (!NextModule(s, p))
            return false;
    return true;
}

} // namespace

int ReferenceAttach(CioModuleSelector& s, CioPlc* target) {
    s.positionMaps.clear();
    s.variants.clear();
    s.modules.clear();
    s.moduleIndexes.clear();
    s.variantIndexes.clear();
    s.startPosition = 0;
    s.validStructure = 0;
    s.device = target;
    if (s.device == nullptr)
        return 0;
    bool digitsFit = true;
    for (size_t p = 0; p < s.device->Count(); ++p) {
        const CioVariant* position = s.device->Position(p);
        if (position == nullptr || position->entries.empty())
            continue;
        digitsFit = digitsFit && position->entries.size() <= kMaxDigit;
        s.variants.push_back(nullptr);
        s.variantIndexes.push_back(0);
        s.modules.push_back(AsModule(position->entries.front()));
        s.moduleIndexes.push_back(0);
        s.positionMaps.push_back(std::make_unique<KindCountMap>());
    }
    const size_t n = s.variants.size();
    s.validStructure = digitsFit && s.moduleIndexes.size() == n && s.modules.size() == n &&
                               s.variantIndexes.size() == n && n == s.device->Count() &&
                               s.positionMaps.size() == n
                           ? 1
                           : 0;
    return s.device->Count() == 0 ? 0 : 1;
}

int ReferenceFirst(CioModuleSelector& s, int start) {
    s.startPosition = start;
    if (!s.validStructure)
        return 0;
    for (size_t p = 0; p < s.variants.size(); ++p) {
        s.variants[p] = nullptr;
        s.moduleIndexes[p] = 0;
        s.variantIndexes[p] = 0;
        const auto* allowed = Allowed(s, static_cast<int>(p));
        if (allowed != nullptr && !allowed->empty())
            s.modules[p] = AsModule(allowed->front());
    }
    if (!ChooseFirst(s, start))
        return 0;
    for (int p = start - 1; p >= 0; --p)
        if (!ChooseFirst(s, p))
            return 0;
    for (int p = start + 1; p < static_cast<int>(s.variants.size()); ++p)
        if (!ChooseFirst(s, p))
            return 0;
    return 1;
}

int ReferenceNext(CioModuleSelector& s, int p) {
    const int n = static_cast<int>(s.variants.size());
    if (s.device == nullptr || !s.validStructure || p < 0 || p >= n ||
        s.startPosition >= static_cast<int>(s.device->Count()))
        return 0;
    for (;;) {
        if (NextVariant(s, p))
            return 1;
        if (!NextModule(s, p))
            break;
    }
    int carry = 0;
    if (s.startPosition < p || p <= 0) {
        if (p == 0 && s.startPosition < n - 1)
            carry = ReferenceNext(s, s.startPosition + 1);
        else if (s.startPosition < p && p < n - 1)
            carry = ReferenceNext(s, p + 1);
    } else {
        carry = ReferenceNext(s, p - 1);
    }
    return carry && NextModule(s, p) && ChooseFirst(s, p) ? 1 : 0;
}

int ReferenceIsValid(const CioModuleSelector& s) {
    const size_t n = s.variants.size();
    if (s.startPosition < 0 || static_cast<size_t>(s.startPosition) >= n)
        return 0;
    const CioType* empty = &EmptyVariant();
    for (size_t i = 0; i < n; ++i) {
        if (s.variants[i] == empty) {
            for (size_t j = i + 1; j < n; ++j)
                if (s.variants[j] != empty)
                    return 0;
            return 1;
        }
        const CioType* entry = s.variants[i];
        if (entry == nullptr || entry == &EmptyModule())
            continue;
        const auto* v = static_cast<const CioVariant*>(entry);
        if (v->ruleCounts.Empty())
            continue;
        for (size_t j = i + 1; j < n; ++j)
            if (s.variants[j] != nullptr && v->ruleCounts.Contains(s.variants[j]))
                return 0;
    }
    return 1;
}

int ReferenceConfigure(CioEquip& equip, CioPlc* target, const KindCountMap& remaining,
                       int32_t remainingTotal, bool first) {
    equip.selectors.clear();
    equip.device.object = target;
    equip.device.storedId = 0;
    CioModuleSelector work;
    if (!ReferenceAttach(work, target) || target->ioCount <= 0 || remainingTotal <= 0 ||
        target->price <= 0)
        return 0;
    equip.score = 0;
    double best = 0;
    const auto maxPrice = target->price;
    const auto capacity = static_cast<double>(target->ioCount);
    const auto total = static_cast<double>(remainingTotal);
    if (ReferenceFirst(work, 0)) {
        do {
            if (!ReferenceIsValid(work))
                continue;
            const int covered = work.Match(remaining);
            if (covered < 0 || (covered == 0 && !first))
                continue;
            const double configPrice = work.price.Numeric();
            const double p = std::min(configPrice / maxPrice, 1.0);
            const double g = std::min(static_cast<double>(covered) / capacity, 1.0);
            const double h = std::min(static_cast<double>(covered) / total, 1.0);
            const double value = h * h + 3 * g * g + (1 - p) * (1 - p);
            if (best > value)
                continue;
            if (best < value)
                equip.selectors.clear();
            equip.selectors.push_back(work.Clone());
            best = value;
            if (equip.selectors.size() == 1) {
                equip.score = best;
                equip.price = configPrice;
                equip.ioCount = covered;
            }
        } while (ReferenceNext(work, 0));
    }
    equip.price += target->listPrice.Numeric();
    if (equip.selectors.size() > 1) {
        const std::vector<CioModul*> allowed = AllowedModules(*target);
        std::vector<std::unique_ptr<CioModuleSelector>> kept;
        std::vector<std::vector<const CioModul*>> keptTwins;
        for (auto& selector : equip.selectors) {
            auto twins = TwinModules(*selector, allowed);
            if (kept.empty() ||
                (!selector->IsSameAsAny(kept) &&
                 std::find(keptTwins.begin(), keptTwins.end(), twins) == keptTwins.end())) {
                kept.push_back(std::move(selector));
                keptTwins.push_back(std::move(twins));
            }
        }
        equip.selectors = std::move(kept);
    }
    return 1;
}

void AttachFirstValid(CioModuleSelector& s, CioPlc* device) {
    ReferenceAttach(s, device);
    ReferenceFirst(s, 0);
    while (!ReferenceIsValid(s) && ReferenceNext(s, 0)) {
    }
}

} // namespace pinsum::test
