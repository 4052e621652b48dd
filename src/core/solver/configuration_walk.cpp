#include "solver/configuration_walk.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/object_stream.h"

namespace pinsum {
namespace {

// Odometer digits are 16-bit: a position with a longer list of modules leaves the selector
// without a valid structure, and a module's variants are walked only as far as a digit reaches.
constexpr size_t kMaxDigit = 0xFFFF;

// The positions as Attach binds them, or none when one of them cannot take a module.
std::vector<const CioVariant*> AttachedPositions(const CioPlc& device) {
    std::vector<const CioVariant*> positions;
    for (size_t p = 0; p < device.Count(); ++p) {
        const CioVariant* position = device.Position(p);
        if (position == nullptr || position->entries.empty() ||
            position->entries.size() > kMaxDigit)
            return {};
        positions.push_back(position);
    }
    return positions;
}

// The (module, variant) pairs of a position in the order the odometer steps through them.
std::vector<PositionChoice> Choices(const CioVariant& position) {
    const CioType* emptyVariant = &EmptyVariant();
    std::vector<PositionChoice> choices;
    const std::vector<CioType*>& allowed = position.entries;
    for (size_t m = 0; m < allowed.size(); ++m) {
        auto* module = dynamic_cast<CioModul*>(allowed[m]);
        if (module == nullptr)
            continue;
        const size_t variants = std::min(module->Count(), kMaxDigit);
        for (size_t v = 0; v < variants; ++v) {
            CioVariant* variant = module->Variant(v);
            if (variant == nullptr)
                continue;
            PositionChoice choice;
            choice.module = module;
            choice.variant = variant;
            choice.moduleIndex = static_cast<uint16_t>(m);
            choice.variantIndex = static_cast<uint16_t>(v);
            choice.empty = variant == emptyVariant;
            choice.scaledPrice = module->listPrice.scaled;
            choices.push_back(choice);
        }
    }
    return choices;
}

// Whether a module's variants stay out of every rule of the device's choices, so that another
// module can stand in for it.
bool OutsideRules(const CioModul& module, const std::unordered_set<const CioType*>& ruled) {
    for (size_t v = 0; v < module.Count(); ++v) {
        const CioVariant* variant = module.Variant(v);
        if (variant != nullptr && (!variant->ruleCounts.Empty() || ruled.contains(variant)))
            return false;
    }
    return true;
}

// What twins share: the price and each variant's points in order, as bytes, so that finding a
// module's first twin costs a look-up rather than a comparison with every module before it.
std::string TwinKey(const CioModul& module) {
    std::string key;
    const auto put = [&key](const auto& value) {
        key.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    put(module.listPrice.scaled);
    for (size_t v = 0; v < module.Count(); ++v) {
        const CioVariant* variant = module.Variant(v);
        put(variant != nullptr ? variant->kindCounts.Size() : SIZE_MAX);
        if (variant != nullptr)
            for (const auto& [kind, count] : variant->kindCounts) {
                put(kind);
                put(count);
            }
    }
    return key;
}

} // namespace

ConfigurationWalk::ConfigurationWalk(CioPlc* device) : m_device(device) {
    if (device == nullptr)
        return;
    for (const CioVariant* position : AttachedPositions(*device)) {
        m_choices.push_back(Choices(*position));
        if (m_choices.back().empty()) {
            m_choices.clear();
            return;
        }
    }
    for (const auto& choices : m_choices)
        for (const PositionChoice& choice : choices)
            for (const auto& entry : choice.variant->kindCounts)
                Column(entry.first);
    for (size_t column = 0; column < m_kinds.size(); ++column)
        if (m_kinds[column]->flags & FLAG_REQUIRED)
            m_requiredColumns.push_back(column);
    for (auto& choices : m_choices)
        for (PositionChoice& choice : choices)
            AddPoints(choice);
    MarkTwins();
}

void ConfigurationWalk::MarkTwins() {
    std::unordered_set<const CioType*> ruled;
    for (const auto& choices : m_choices)
        for (const PositionChoice& choice : choices)
            for (const auto& entry : choice.variant->ruleCounts)
                ruled.insert(entry.first);
    const CioModul* emptyModule = &EmptyModule();
    std::unordered_map<const CioModul*, const CioModul*> twins;
    std::unordered_map<std::string, const CioModul*> firsts;
    for (auto& choices : m_choices) {
        std::set<std::pair<const CioModul*, uint16_t>> taken;
        for (PositionChoice& choice : choices) {
            auto [found, added] = twins.try_emplace(choice.module, choice.module);
            if (added && choice.module != emptyModule && !choice.empty &&
                OutsideRules(*choice.module, ruled)) {
                found->second =
                    firsts.try_emplace(TwinKey(*choice.module), choice.module).first->second;
            }
            choice.twin = found->second;
            choice.twinRepeat = !taken.emplace(choice.twin, choice.variantIndex).second;
        }
    }
}

bool ConfigurationWalk::Attachable() const {
    return m_device != nullptr && m_device->Count() > 0;
}

size_t ConfigurationWalk::Column(CioType* kind) {
    const auto found = std::find(m_kinds.begin(), m_kinds.end(), kind);
    if (found != m_kinds.end())
        return static_cast<size_t>(found - m_kinds.begin());
    m_kinds.push_back(kind);
    return m_kinds.size() - 1;
}

void ConfigurationWalk::AddPoints(PositionChoice& choice) {
    const auto& offered = choice.variant->kindCounts;
    choice.firstPoint = static_cast<uint32_t>(m_pointColumn.size());
    for (const auto& [kind, count] : offered) {
        m_pointColumn.push_back(static_cast<uint32_t>(Column(kind)));
        m_pointCount.push_back(count);
    }
    for (size_t j = 0; j < m_requiredColumns.size(); ++j)
        if (offered.Contains(m_kinds[m_requiredColumns[j]])) {
            m_pointColumn.push_back(static_cast<uint32_t>(m_kinds.size() + j));
            m_pointCount.push_back(1);
        }
    choice.endPoint = static_cast<uint32_t>(m_pointColumn.size());
}

} // namespace pinsum
