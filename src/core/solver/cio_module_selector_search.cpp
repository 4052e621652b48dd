#include "model/cio_module_selector.h"

#include <algorithm>

#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"

// The configuration enumeration and point placement of the selector, which only the search uses.
namespace pinsum {

namespace {

// Odometer digits are 16-bit; longer lists are walked only up to what a digit can index.
constexpr size_t kMaxDigit = 0xFFFF;

CioModul* AsModule(CioType* entry) {
    return dynamic_cast<CioModul*>(entry);
}

// The most kinds any variant allowed in the position provides, so that matching never grows the
// position's map.
size_t MostKinds(const CioVariant& position) {
    size_t most = 0;
    for (CioType* entry : position.entries)
        if (const CioModul* module = AsModule(entry))
            for (size_t v = 0; v < module->Count(); ++v)
                if (const CioVariant* variant = module->Variant(v))
                    most = std::max(most, variant->kindCounts.Size());
    return most;
}

} // namespace

const std::vector<CioType*>* CioModuleSelector::Allowed(int p) const {
    const CioVariant* position =
        device != nullptr ? device->Position(static_cast<size_t>(p)) : nullptr;
    return position != nullptr ? &position->entries : nullptr;
}

const CioVariant* CioModuleSelector::VariantAt(size_t p) const {
    const CioType* v = p < variants.size() ? variants[p] : nullptr;
    // Entries are only ever variants or the idle marker, checked where they are set.
    return v == nullptr || v == &EmptyModule() ? nullptr : static_cast<const CioVariant*>(v);
}

int CioModuleSelector::Attach(CioPlc* target) {
    positionMaps.clear();
    variants.clear();
    modules.clear();
    moduleIndexes.clear();
    variantIndexes.clear();
    startPosition = 0;
    validStructure = 0;
    device = target;
    if (device == nullptr)
        return 0;
    bool digitsFit = true;
    for (size_t p = 0; p < device->Count(); ++p) {
        const CioVariant* position = device->Position(p);
        if (position == nullptr || position->entries.empty())
            continue;
        digitsFit = digitsFit && position->entries.size() <= kMaxDigit;
        variants.push_back(nullptr);
        variantIndexes.push_back(0);
        modules.push_back(AsModule(position->entries.front()));
        moduleIndexes.push_back(0);
        positionMaps.push_back(std::make_unique<KindCountMap>());
        positionMaps.back()->Reserve(MostKinds(*position));
    }
    const size_t n = variants.size();
    validStructure = digitsFit && moduleIndexes.size() == n && modules.size() == n &&
                             variantIndexes.size() == n && n == device->Count() &&
                             positionMaps.size() == n
                         ? 1
                         : 0;
    return device->Count() == 0 ? 0 : 1;
}

bool CioModuleSelector::ChooseFirst(int p) {
    while (!NextVariant(p))
        if (!NextModule(p))
            return false;
    return true;
}

int CioModuleSelector::First(int start) {
    startPosition = start;
    if (!validStructure)
        return 0;
    for (size_t p = 0; p < variants.size(); ++p) {
        variants[p] = nullptr;
        moduleIndexes[p] = 0;
        variantIndexes[p] = 0;
        const auto* allowed = Allowed(static_cast<int>(p));
        if (allowed != nullptr && !allowed->empty())
            modules[p] = AsModule(allowed->front());
    }
    if (!ChooseFirst(start))
        return 0;
    for (int p = start - 1; p >= 0; --p)
        if (!ChooseFirst(p))
            return 0;
    for (int p = start + 1; p < static_cast<int>(variants.size()); ++p)
        if (!ChooseFirst(p))
            return 0;
    return 1;
}

int CioModuleSelector::NextVariant(int p) {
    if (p < 0 || static_cast<size_t>(p) >= moduleIndexes.size() || !validStructure ||
        modules[p] == nullptr)
        return 0;
    const CioModul& module = *modules[p];
    const size_t count = std::min(module.Count(), kMaxDigit);
    while (variantIndexes[p] < count) {
        CioVariant* variant = module.Variant(variantIndexes[p]);
        ++variantIndexes[p];
        if (variant != nullptr) {
            variants[p] = variant;
            return 1;
        }
    }
    variantIndexes[p] = 0;
    ++moduleIndexes[p];
    return 0;
}

int CioModuleSelector::NextModule(int p) {
    if (p < 0 || static_cast<size_t>(p) >= moduleIndexes.size() || !validStructure)
        return 0;
    const auto* allowed = Allowed(p);
    const size_t count = allowed != nullptr ? std::min(allowed->size(), kMaxDigit) : 0;
    while (moduleIndexes[p] < count) {
        CioModul* module = AsModule((*allowed)[moduleIndexes[p]]);
        if (module != nullptr && (p >= startPosition || module != &EmptyModule())) {
            modules[p] = module;
            variantIndexes[p] = 0;
            return 1;
        }
        ++moduleIndexes[p];
    }
    moduleIndexes[p] = 0;
    return 0;
}

int CioModuleSelector::Next(int p) {
    const int n = static_cast<int>(variants.size());
    if (device == nullptr || !validStructure || p < 0 || p >= n ||
        startPosition >= static_cast<int>(device->Count()))
        return 0;
    for (;;) {
        if (NextVariant(p))
            return 1;
        if (!NextModule(p))
            break;
    }
    int carry = 0;
    if (startPosition < p || p <= 0) {
        if (p == 0 && startPosition < n - 1)
            carry = Next(startPosition + 1);
        else if (startPosition < p && p < n - 1)
            carry = Next(p + 1);
    } else {
        carry = Next(p - 1);
    }
    // The digit restarts the way First chooses, so a module without variants does not end the
    // enumeration.
    return carry && NextModule(p) && ChooseFirst(p) ? 1 : 0;
}

int CioModuleSelector::IsValid() const {
    const size_t n = variants.size();
    if (startPosition < 0 || static_cast<size_t>(startPosition) >= n)
        return 0;
    const CioType* empty = &EmptyVariant();
    for (size_t i = 0; i < n; ++i) {
        if (variants[i] == empty) {
            for (size_t j = i + 1; j < n; ++j)
                if (variants[j] != empty)
                    return 0;
            return 1;
        }
        const CioVariant* v = VariantAt(i);
        if (v == nullptr || v->ruleCounts.Empty())
            continue;
        for (size_t j = i + 1; j < n; ++j)
            if (variants[j] != nullptr && v->ruleCounts.Contains(variants[j]))
                return 0;
    }
    return 1;
}

int CioModuleSelector::Match(const KindCountMap& request) {
    remaining = request;
    coveredTotal = 0;
    usedPositions = 0;
    price = Currency{};
    for (size_t i = 0; i < variants.size(); ++i) {
        // Within the catalogue's price range only a device of some 922,337 positions could
        // reach the end of 64 bits; such a configuration is not offered rather than mispriced.
        if (i < modules.size() && modules[i] != nullptr &&
            __builtin_add_overflow(price.scaled, modules[i]->listPrice.scaled, &price.scaled))
            return -1;
        KindCountMap* assigned = i < positionMaps.size() ? positionMaps[i].get() : nullptr;
        if (assigned != nullptr)
            assigned->Clear();
        const CioVariant* v = VariantAt(i);
        if (v == nullptr || assigned == nullptr)
            continue;
        if (!v->kindCounts.Empty())
            ++usedPositions;
        for (const auto& [kind, offered] : v->kindCounts) {
            if (kind->flags & FLAG_REQUIRED) {
                const uint16_t* wanted = request.Find(kind);
                if (wanted == nullptr || *wanted == 0)
                    return -1;
            }
            uint16_t* left = remaining.Find(kind);
            if (left == nullptr || *left == 0)
                continue;
            const uint16_t take = std::min(offered, *left);
            (*assigned)[kind] = take;
            *left = static_cast<uint16_t>(*left - take);
            coveredTotal += take;
        }
    }
    return coveredTotal;
}

int CioModuleSelector::CoversAll() const {
    for (const auto& [kind, left] : remaining)
        if (left != 0)
            return 0;
    return 1;
}

void CioModuleSelector::AddCapacity(PointMap& map, bool free) const {
    for (size_t i = 0; i < modules.size() && i < positionMaps.size(); ++i) {
        const KindCountMap* assigned = positionMaps[i].get();
        if (modules[i] == nullptr || modules[i] == &EmptyModule() || assigned == nullptr)
            continue;
        if (!free) {
            for (const auto& [kind, count] : *assigned)
                map[kind] += count;
            continue;
        }
        const CioVariant* v = VariantAt(i);
        if (v == nullptr)
            continue;
        for (const auto& [kind, offered] : v->kindCounts) {
            const uint16_t* used = assigned->Find(kind);
            map[kind] += std::max(static_cast<int32_t>(offered) - (used ? *used : 0), 0);
        }
    }
}

void CioModuleSelector::Absorb(PointMap& map) {
    const size_t n = std::min({modules.size(), positionMaps.size(), variants.size()});
    for (size_t i = 0; i < n; ++i) {
        KindCountMap* assigned = positionMaps[i].get();
        const CioVariant* v = VariantAt(i);
        if (modules[i] == nullptr || modules[i] == &EmptyModule() || assigned == nullptr ||
            v == nullptr)
            continue;
        for (const auto& [kind, offered] : v->kindCounts) {
            const uint16_t* usedNow = assigned->Find(kind);
            const int32_t used = usedNow != nullptr ? *usedNow : 0;
            int32_t* need = map.Find(kind);
            if (need == nullptr || used >= offered || *need == 0)
                continue;
            const int32_t take = std::min(*need, offered - used);
            (*assigned)[kind] = static_cast<uint16_t>(used + take);
            coveredTotal += take;
            *need -= take;
            if (*need == 0)
                map.Erase(kind);
        }
    }
}

int CioModuleSelector::MarkIdlePositions(double& out) {
    const size_t n = std::min({modules.size(), positionMaps.size(), variants.size()});
    for (size_t p = n; p-- > 0;) {
        if (device == nullptr || p >= device->Count() || p >= positionMaps.size())
            return 0;
        const KindCountMap* assigned = positionMaps[p].get();
        if (assigned == nullptr || !assigned->Empty() || variants[p] == nullptr ||
            variants[p] == &EmptyModule())
            continue;
        const auto* allowed = Allowed(static_cast<int>(p));
        if (allowed == nullptr ||
            std::find(allowed->begin(), allowed->end(), &EmptyModule()) == allowed->end())
            return 0;
        variants[p] = &EmptyModule();
    }
    // An idle position keeps its module, and so its price.
    out = 0.0;
    for (size_t p = 0; p < variants.size() && p < modules.size(); ++p)
        if (variants[p] != nullptr && modules[p] != nullptr)
            out += modules[p]->listPrice.Numeric();
    return 1;
}

} // namespace pinsum
