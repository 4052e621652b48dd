#include "model/cio_equip.h"

#include <algorithm>

#include "model/archive.h"
#include "model/cio_modul.h"
#include "model/cio_module_selector.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"

namespace pinsum {
namespace {

// The separator between the device's help and each module's help.
std::string HelpSeparator() {
    return "<br>" + std::string(134, '.') + "<br>";
}

} // namespace

CioEquip::CioEquip() {
    kind = C_IO_EQUIP;
}

CioEquip::~CioEquip() = default;

void CioEquip::RemoveAll() {
    device.object = nullptr;
    device.storedId = 0;
    selectors.clear();
}

void CioEquip::Store(ArchiveWriter& ar) const {
    CioType::Store(ar);
    device.Store(ar);
    ar.WriteInt32(spare);
    ar.WriteInt32(static_cast<int32_t>(selectors.size()));
    for (const auto& selector : selectors) {
        ar.WriteInt32(selector != nullptr ? 1 : 0);
        if (selector != nullptr)
            selector->Store(ar);
    }
    ar.WriteInt32(0);
}

void CioEquip::Load(ArchiveReader& ar) {
    CioType::Load(ar);
    device.Load(ar);
    spare = ar.ReadInt32();
    selectors.clear();
    const uint32_t count = ar.ReadCount(4);
    for (uint32_t i = 0; i < count; ++i) {
        if (ar.ReadInt32() == 0)
            continue;
        auto selector = std::make_unique<CioModuleSelector>();
        selector->Load(ar);
        selectors.push_back(std::move(selector));
    }
    ar.ReadInt32();
}

void CioEquip::ResolveRefs(const IdentityTable& table) {
    device.Resolve(table);
    for (const auto& selector : selectors)
        if (selector != nullptr)
            selector->Relink(table);
}

std::string CioEquip::GetText() const {
    if (Device() == nullptr)
        return "?????";
    std::string text = Device()->name;
    if (const CioModuleSelector* chosen = Chosen())
        for (const CioModul* module : chosen->modules)
            if (module != nullptr)
                text += module->marking;
    return text;
}

void CioEquip::CopyFrom(const CioType* other) {
    if (other == nullptr)
        return;
    CopyRootFrom(*other);
    const auto* equip = dynamic_cast<const CioEquip*>(other);
    if (equip == nullptr)
        return;
    device = equip->device;
    spare = equip->spare;
    selectors.clear();
    for (const auto& selector : equip->selectors)
        selectors.push_back(selector != nullptr ? selector->Clone() : nullptr);
}

int CioEquip::IsEqual(const CioType* other) const {
    const auto* equip = dynamic_cast<const CioEquip*>(other);
    if (equip == nullptr || equip->kind != kind || equip->selectors.size() != selectors.size() ||
        equip->Device() != Device())
        return 0;
    for (size_t i = 0; i < selectors.size(); ++i) {
        const CioModuleSelector* mine = selectors[i].get();
        const CioModuleSelector* theirs = equip->selectors[i].get();
        if ((mine == nullptr) != (theirs == nullptr))
            return 0;
        if (mine != nullptr && !mine->IsSameAs(theirs))
            return 0;
    }
    return 1;
}

int CioEquip::HasHelp() const {
    if (Device() != nullptr && Device()->HasHelp())
        return 1;
    if (const CioModuleSelector* chosen = Chosen())
        for (const CioModul* module : chosen->modules)
            if (module != nullptr && module->HasHelp())
                return 1;
    return 0;
}

void CioEquip::GetHelpMarkup(std::string& out) const {
    out.clear();
    if (Device() != nullptr && Device()->HasHelp())
        Device()->GetHelpMarkup(out);
    const CioModuleSelector* chosen = Chosen();
    if (chosen == nullptr)
        return;
    std::vector<const CioModul*> shown;
    for (const CioModul* module : chosen->modules) {
        if (module == nullptr || !module->HasHelp() ||
            std::find(shown.begin(), shown.end(), module) != shown.end())
            continue;
        shown.push_back(module);
        if (!out.empty())
            out += HelpSeparator();
        std::string markup;
        module->GetHelpMarkup(markup);
        out += markup;
    }
}

double CioEquip::ConfiguredPrice() const {
    const CioModuleSelector* chosen = Chosen();
    if (chosen == nullptr)
        return 0.0;
    return chosen->price.Numeric() + (Device() != nullptr ? Device()->listPrice.Numeric() : 0.0);
}

int32_t CioEquip::GetIoCount(bool used) const {
    const CioModuleSelector* chosen = Chosen();
    if (chosen == nullptr)
        return 0;
    if (used)
        return chosen->coveredTotal;
    int32_t offered = 0;
    for (const CioType* entry : chosen->variants) {
        const auto* variant = dynamic_cast<const CioVariant*>(entry);
        if (variant == nullptr || variant->contentKind != C_IO)
            continue;
        for (const CioType* kind : variant->entries)
            if (kind != nullptr && kind->Category() == 0)
                ++offered;
    }
    // Placed terminals are not ordinary points, so only ordinary placements are taken off.
    int32_t placed = 0;
    for (const auto& assigned : chosen->positionMaps)
        if (assigned != nullptr)
            for (const auto& [kind, count] : *assigned)
                if (kind->Category() == 0)
                    placed += count;
    return std::max(offered - placed, 0);
}

void CioEquip::Describe(std::string& text, const std::string& prefix) const {
    if (Device() == nullptr)
        return;
    text += prefix + GetText() + "\r\n";
    if (const CioModuleSelector* chosen = Chosen())
        chosen->Describe(text, prefix + "\t");
}

} // namespace pinsum
