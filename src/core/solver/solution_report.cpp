// The result table and the text report of a solution.
#include "host/program_texts.h"
#include "model/cio_equip.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "solver/result_table.h"

namespace pinsum {
namespace {

// Prices are shown as whole numbers, the fraction cut off.
std::string WholeNumber(double value) {
    return std::to_string(static_cast<long long>(value));
}

std::string Fill(std::string text, std::initializer_list<std::string> values) {
    size_t from = 0;
    for (const auto& value : values) {
        const auto d = text.find("%d", from);
        const auto s = text.find("%s", from);
        const auto at = std::min(d, s);
        if (at == std::string::npos)
            break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

void CreateColumns(ResultTable& list) {
    if (list.ColumnCount() != 0)
        return;
    list.InsertColumn(0, ProgramText(52099), ColumnAlign::Centre, 150);
    list.InsertColumn(1, ProgramText(52100), ColumnAlign::Right, 100);
    list.InsertColumn(2, ProgramText(52101), ColumnAlign::Centre, 100);
    list.InsertColumn(3, ProgramText(52102), ColumnAlign::Centre, 100);
}

void AddUnplacedRows(ResultTable& list, const CioSolution& solution) {
    list.AddRow({"", "", "", ""}, nullptr, RowColour::Window);
    list.AddRow({ProgramText(52104), ProgramText(52105), ProgramText(52106), ""}, nullptr,
                RowColour::Face);
    for (const auto& item : solution.remaining) {
        if (item->count == 0)
            continue;
        const std::string kind = item->Kind() != nullptr ? item->Kind()->name : "????";
        list.AddRow({"", kind, std::to_string(item->count), ""}, nullptr, RowColour::Red);
    }
}

} // namespace

std::string ShortenToWidth(const std::string& text, int width,
                           const std::function<int(const std::string&)>& measure) {
    if (measure(text) <= width)
        return text;
    for (size_t keep = text.size(); keep-- > 0;) {
        std::string shortened = text.substr(0, keep) + "...";
        if (keep == 0 || measure(shortened) <= width)
            return shortened;
    }
    return "...";
}

int CioProject::ShowSolution(ResultTable* list, int n) {
    if (list == nullptr || !list->HasWindow())
        return 0;
    list->DeleteAllRows();
    CreateColumns(*list);
    const int count = static_cast<int>(children.size());
    if (n < 0 || n >= count)
        return count;
    CioSolution* solution = Solution(static_cast<size_t>(n));
    if (solution == nullptr)
        return 0;
    list->AddRow({ProgramText(52103), WholeNumber(solution->GetPrice()),
                  std::to_string(solution->GetIoCount(true)),
                  std::to_string(solution->GetIoCount(false))},
                 solution, RowColour::Orange);
    for (size_t i = 0; i < solution->Count(); ++i) {
        CioEquip* equip = solution->Equipment(i);
        if (equip == nullptr)
            continue;
        list->AddRow({equip->GetText(), WholeNumber(equip->price),
                      std::to_string(equip->GetIoCount(true)),
                      std::to_string(equip->GetIoCount(false))},
                     equip, RowColour::Window);
    }
    if (!solution->IsComplete())
        AddUnplacedRows(*list, *solution);
    if (list->RowCount() > 0)
        list->SelectRow(0);
    return count;
}

void CioSolution::Describe(std::string& text, const std::string& prefix) const {
    const double total = TotalPrice();
    text += prefix + Fill(ProgramText(52117),
                          {std::to_string(number), WholeNumber(total),
                           std::to_string(GetIoCount(true)), std::to_string(GetIoCount(false))});
    const std::string inner = prefix + "\t";
    for (size_t i = 0; i < children.size(); ++i)
        if (const CioEquip* equip = Equipment(i))
            equip->Describe(text, inner);
}

} // namespace pinsum
