#include "model/cio_module_selector.h"

#include <algorithm>

#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"

// The point placement of the selector, which only the search uses.
namespace pinsum {

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

int CioModuleSelector::Match(const KindCountMap& request) {
    return Match(request, request);
}

int CioModuleSelector::Match(const KindCountMap& request, const KindCountMap& asked) {
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
                const uint16_t* wanted = asked.Find(kind);
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
