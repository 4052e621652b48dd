#include <gtest/gtest.h>

#include "host/program_texts.h"
#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "solver/result_table.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

// Records the rows a project puts into the result list.
class RecordingTable : public ResultTable {
public:
    struct Row {
        std::array<std::string, 4> cells;
        const CioType* object;
        RowColour colour;
    };
    bool HasWindow() const override { return window; }
    void DeleteAllRows() override { rows.clear(); }
    int ColumnCount() const override { return static_cast<int>(headings.size()); }
    void InsertColumn(int, const std::string& heading, ColumnAlign align, int width) override {
        headings.push_back(heading);
        aligns.push_back(align);
        widths.push_back(width);
    }
    void AddRow(const std::array<std::string, 4>& cells, const CioType* object,
                RowColour colour) override {
        rows.push_back({cells, object, colour});
    }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    void SelectRow(int row) override { selected = row; }

    bool window = true;
    std::vector<std::string> headings;
    std::vector<ColumnAlign> aligns;
    std::vector<int> widths;
    std::vector<Row> rows;
    int selected = -1;
};

// A project with one solution: device D1 (own price 1000) using module m2 (250.75) in position
// 0 with 2 points of B placed, and 3 points of A still unplaced.
struct ReportFixture : ::testing::Test {
    void SetUp() override {
        c = test::BuildSmallCatalogue();
        project.database = std::move(c.db);
        auto solution = std::make_unique<CioSolution>();
        solution->number = 7;
        auto unplaced = std::make_unique<CioNode>();
        unplaced->kindRef.object = c.kindA;
        unplaced->count = 3;
        solution->remaining.push_back(std::move(unplaced));
        auto placed = std::make_unique<CioNode>();
        placed->kindRef.object = c.kindB;
        solution->remaining.push_back(std::move(placed));
        auto equip = std::make_unique<CioEquip>();
        equip->device.object = c.d1;
        auto chosen = std::make_unique<CioModuleSelector>();
        chosen->device = c.d1;
        chosen->modules = {c.m2, &EmptyModule()};
        chosen->variants = {c.m2->Variant(0), &EmptyVariant()};
        chosen->positionMaps.push_back(std::make_unique<KindCountMap>());
        (*chosen->positionMaps[0])[c.kindB] = 2;
        chosen->positionMaps.push_back(std::make_unique<KindCountMap>());
        chosen->coveredTotal = 2;
        chosen->price.scaled = 2507500;
        equip->selectors.push_back(std::move(chosen));
        solution->Append(std::move(equip));
        project.Append(std::move(solution));
    }
    test::SmallCatalogue c;
    CioProject project;
};

TEST_F(ReportFixture, DescribeGivesTheTabbedReport) {
    std::string text;
    project.Describe(text, "");
    const std::string expected = "\xD8"
                                 "e\x9A"
                                 "en\xED: 7, Cena: 1250, Pou\x9Eit\xE9 IO 2,  "
                                 "Nepou\x9Eit\xE9 IO 0\r\n"
                                 "\tD1-M2\r\n"
                                 "\t\tModul -M2\r\n"
                                 "\t\t\t2 x B\r\n";
    EXPECT_EQ(text, expected);
    std::string equipment;
    project.Solution(0)->Equipment(0)->Describe(equipment, "");
    EXPECT_EQ(equipment, "D1-M2\r\n\tModul -M2\r\n\t\t2 x B\r\n");
}

TEST_F(ReportFixture, ModuleWithoutMarkingPrintsOnlyItsPoints) {
    c.m2->marking.clear();
    std::string text;
    project.Solution(0)->Equipment(0)->Describe(text, ">");
    EXPECT_EQ(text, ">D1\r\n>\t\t2 x B\r\n");
}

TEST_F(ReportFixture, TableShowsTotalsDevicesAndUnplacedPoints) {
    RecordingTable table;
    ASSERT_EQ(project.ShowSolution(&table, 0), 1);
    ASSERT_EQ(table.headings.size(), 4u);
    EXPECT_EQ(table.headings[0], ProgramText(TextId::ColumnDevice));
    EXPECT_EQ(table.widths, (std::vector<int>{150, 100, 100, 100}));
    EXPECT_EQ(table.aligns[1], ColumnAlign::Right);
    ASSERT_EQ(table.rows.size(), 5u);
    EXPECT_EQ(table.rows[0].cells,
              (std::array<std::string, 4>{ProgramText(TextId::RowTotal), "1250", "2", "0"}));
    EXPECT_EQ(table.rows[0].colour, RowColour::Orange);
    EXPECT_EQ(table.rows[0].object, project.Solution(0));
    EXPECT_EQ(table.rows[1].cells[0], "D1-M2");
    EXPECT_EQ(table.rows[1].colour, RowColour::Window);
    EXPECT_EQ(table.rows[2].cells, (std::array<std::string, 4>{"", "", "", ""}));
    EXPECT_EQ(table.rows[3].cells[0], ProgramText(TextId::UnplacedIo));
    EXPECT_EQ(table.rows[3].colour, RowColour::Face);
    EXPECT_EQ(table.rows[4].cells, (std::array<std::string, 4>{"", "A", "3", ""}));
    EXPECT_EQ(table.rows[4].colour, RowColour::Red);
    EXPECT_EQ(table.selected, 0);

    // Shown again, the columns are not added twice; out of range leaves the list empty.
    EXPECT_EQ(project.ShowSolution(&table, 5), 1);
    EXPECT_TRUE(table.rows.empty());
    EXPECT_EQ(table.headings.size(), 4u);
    table.window = false;
    EXPECT_EQ(project.ShowSolution(&table, 0), 0);
}

TEST_F(ReportFixture, CompleteSolutionHasNoUnplacedBlockAndPricesAreTruncated) {
    project.Solution(0)->remaining[0]->count = 0;
    c.d1->listPrice.scaled = 9849900; // 984.99
    RecordingTable table;
    project.ShowSolution(&table, 0);
    ASSERT_EQ(table.rows.size(), 2u);
    // 984 + 250 (each amount loses its fraction before it is added).
    EXPECT_EQ(table.rows[0].cells[1], "1234");
}

TEST(ShortenToWidth, DropsCharactersUntilTheEllipsisFits) {
    const auto measure = [](const std::string& s) { return static_cast<int>(s.size()) * 10; };
    EXPECT_EQ(ShortenToWidth("short", 50, measure), "short");
    EXPECT_EQ(ShortenToWidth("longer text", 80, measure), "longe...");
    EXPECT_EQ(ShortenToWidth("longer text", 10, measure), "...");
}

} // namespace
} // namespace pinsum
