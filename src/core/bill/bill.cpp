#include "bill/bill.h"

#include "host/text_codec.h"
#include "model/cio_db.h"
#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "model/currency.h"
#include "model/object_stream.h"

namespace pinsum {
namespace {

BillLine LineOf(const CioModul& part, BillLine::Item item) {
    return {
        item, &part, Cp1250ToUtf8(part.marking), Cp1250ToUtf8(part.name), 0, part.listPrice.scaled,
        0};
}

void AddTo(std::vector<BillLine>& lines, const CioModul& part, BillLine::Item item) {
    for (BillLine& line : lines)
        if (line.part == &part) {
            ++line.quantity;
            line.linePrice += line.unitPrice;
            return;
        }
    lines.push_back(LineOf(part, item));
    lines.back().quantity = 1;
    lines.back().linePrice = lines.back().unitPrice;
}

// A device that has no configuration takes no part in the bill, as in the report.
const CioModuleSelector* BilledConfiguration(const CioEquip* equip) {
    if (equip == nullptr || equip->Device() == nullptr)
        return nullptr;
    return equip->Chosen();
}

BillSolution SolutionBill(const CioSolution& solution) {
    BillSolution bill;
    bill.number = solution.number;
    bill.usedIo = solution.GetIoCount(true);
    bill.unusedIo = solution.GetIoCount(false);
    bill.complete = solution.IsComplete() != 0;
    bill.provenCheapest = solution.provenCheapest;
    for (size_t i = 0; i < solution.Count(); ++i) {
        const CioEquip* equip = solution.Equipment(i);
        const CioModuleSelector* chosen = BilledConfiguration(equip);
        if (chosen == nullptr)
            continue;
        BillEquipment billed{LineOf(*equip->Device(), BillLine::Item::Device),
                             {},
                             equip->GetIoCount(true),
                             equip->GetIoCount(false),
                             EquipmentPrice(*equip)};
        billed.device.quantity = 1;
        billed.device.linePrice = billed.device.unitPrice;
        AddTo(bill.lines, *equip->Device(), BillLine::Item::Device);
        for (const auto& [position, module] : PlacedModules(*chosen)) {
            AddTo(billed.modules, *module, BillLine::Item::Module);
            AddTo(bill.lines, *module, BillLine::Item::Module);
        }
        bill.equipment.push_back(std::move(billed));
    }
    for (const BillLine& line : bill.lines)
        bill.total += line.linePrice;
    for (const auto& item : solution.remaining)
        if (item->count != 0)
            bill.missing.push_back(
                {item->Kind() != nullptr ? Cp1250ToUtf8(item->Kind()->name) : "????", item->count});
    return bill;
}

} // namespace

std::vector<const CioSolution*> ProjectSolutions(const CioProject& project) {
    std::vector<const CioSolution*> solutions;
    for (size_t i = 0; i < project.children.size(); ++i)
        if (const CioSolution* solution = project.Solution(i))
            solutions.push_back(solution);
    return solutions;
}

Bill MakeBill(const CioProject& project, BillSelection selection) {
    Bill bill;
    if (project.database != nullptr)
        bill.catalogueName = Cp1250ToUtf8(project.database->name);
    for (const auto& child : project.requestList.children) {
        const auto* item = dynamic_cast<const CioNode*>(child.get());
        if (item != nullptr && item->Kind() != nullptr && item->count > 0)
            bill.request.push_back({Cp1250ToUtf8(item->Kind()->name), item->count, 0});
    }
    const std::vector<const CioSolution*> solutions = ProjectSolutions(project);
    for (size_t i = 0; i < solutions.size(); ++i)
        if (!selection.index || *selection.index == i)
            bill.solutions.push_back(SolutionBill(*solutions[i]));
    return bill;
}

std::vector<std::pair<size_t, const CioModul*>> PlacedModules(const CioModuleSelector& chosen) {
    std::vector<std::pair<size_t, const CioModul*>> placed;
    for (size_t i = 0; i < chosen.modules.size(); ++i)
        if (chosen.modules[i] != nullptr && chosen.modules[i] != &EmptyModule())
            placed.emplace_back(i, chosen.modules[i]);
    return placed;
}

int64_t EquipmentPrice(const CioEquip& equip) {
    const CioModuleSelector* chosen = equip.Chosen();
    if (chosen == nullptr)
        return 0;
    return chosen->price.scaled +
           (equip.Device() != nullptr ? equip.Device()->listPrice.scaled : 0);
}

std::string PriceText(int64_t scaled) {
    const std::string text = FormatPrice(Currency{0, scaled});
    return text.find('.') == std::string::npos ? text + ".00" : text;
}

} // namespace pinsum
