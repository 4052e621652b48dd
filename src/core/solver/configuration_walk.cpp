#include "solver/configuration_walk.h"

#include <algorithm>
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

bool Alike(const CioModul& a, const CioModul& b) {
    if (a.listPrice.scaled != b.listPrice.scaled || a.Count() != b.Count())
        return false;
    for (size_t v = 0; v < a.Count(); ++v) {
        const CioVariant* x = a.Variant(v);
        const CioVariant* y = b.Variant(v);
        if ((x == nullptr) != (y == nullptr) || (x != nullptr && x->kindCounts != y->kindCounts))
            return false;
    }
    return true;
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
    std::vector<const CioModul*> firsts;
    for (auto& choices : m_choices)
        for (size_t c = 0; c < choices.size(); ++c) {
            PositionChoice& choice = choices[c];
            auto [found, added] = twins.try_emplace(choice.module, choice.module);
            if (added && choice.module != emptyModule && !choice.empty &&
                OutsideRules(*choice.module, ruled)) {
                const auto first = std::find_if(firsts.begin(), firsts.end(), [&](auto* other) {
                    return Alike(*other, *choice.module);
                });
                if (first != firsts.end())
                    found->second = *first;
                else
                    firsts.push_back(choice.module);
            }
            choice.twin = found->second;
            choice.twinRepeat =
                std::any_of(choices.begin(), choices.begin() + static_cast<long>(c), [&](auto& e) {
                    return e.twin == choice.twin && e.variantIndex == choice.variantIndex;
                });
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
