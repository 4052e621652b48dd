// The result table and the text report of a solution.
#include "solver/solution_report.h"

#include "host/input_quote.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "model/cio_equip.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "model/currency.h"
#include "solver/result_table.h"

namespace pinsum {
namespace {

void CreateColumns(ResultTable& list) {
    if (list.ColumnCount() != 0)
        return;
    list.InsertColumn(0, ProgramText(TextId::ColumnDevice), ColumnAlign::Centre, 150);
    list.InsertColumn(1, ProgramText(TextId::ColumnPrice), ColumnAlign::Right, 100);
    list.InsertColumn(2, ProgramText(TextId::ColumnUsedIo), ColumnAlign::Centre, 100);
    list.InsertColumn(3, ProgramText(TextId::ColumnUnusedIo), ColumnAlign::Centre, 100);
}

void AddUnplacedRows(ResultTable& list, const CioSolution& solution) {
    list.AddRow({"", "", "", ""}, nullptr, RowColour::Window);
    list.AddRow({ProgramText(TextId::UnplacedIo), ProgramText(TextId::ColumnIoKind),
                 ProgramText(TextId::ColumnCount), ""},
                nullptr, RowColour::Face);
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
    list->AddRow({ProgramText(TextId::RowTotal), WholeUnitsText(solution->GetPrice()),
                  std::to_string(solution->GetIoCount(true)),
                  std::to_string(solution->GetIoCount(false))},
                 solution, RowColour::Orange);
    for (size_t i = 0; i < solution->Count(); ++i) {
        CioEquip* equip = solution->Equipment(i);
        if (equip == nullptr)
            continue;
        list->AddRow({equip->GetText(), WholeUnitsText(equip->price),
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

std::string SolutionsReport(const CioProject& project) {
    std::string cp1250;
    project.Describe(cp1250, std::string());
    std::string text;
    for (size_t i = 0; i < cp1250.size(); ++i)
        if (cp1250[i] != '\r' || i + 1 == cp1250.size() || cp1250[i + 1] != '\n')
            text += cp1250[i];
    return ShowControls(Cp1250ToUtf8(text), "\t\n");
}

} // namespace pinsum
