#include "model/catalogue_report.h"

#include <gtest/gtest.h>

#include "model/cio_equip.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "model/object_stream.h"
#include "solver/cio_module_selector.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

void ExpectLines(const std::string& report, std::initializer_list<const char*> lines) {
    for (const char* line : lines)
        EXPECT_NE(report.find("\n" + std::string(line) + "\n"), std::string::npos)
            << "missing line '" << line << "' in\n"
            << report;
}

TEST(CatalogueReportTest, ShowsListsWithRunsReferencesAndTotals) {
    test::SmallCatalogue c = test::BuildSmallCatalogue();
    c.d2->control = 1;
    c.d3->series.object = nullptr;
    ExpectLines(CatalogueReport(*c.db),
                {
                    "IO kinds (3)",
                    "  A: io, help",
                    "  B: io, required",
                    "  T: terminal",
                    "  M1: price 100, marking \"-M1\", 8 IO",
                    "    variant \"M1/v1\": 3 x A, 1 x B",
                    "  M2: price 250.75, marking \"-M2\", 2 IO",
                    "      rules: M1/M1/v2",
                    "  S2: exclusive",
                    "  D1: controller, high speed, standard control, series \"S1\", lines VORNET, "
                    "KALBUS",
                    "    price 1000, marking \"D1\", max price 1250, capacity 8 IO",
                    "    position 1: M1, M2",
                    "    position 2: --",
                    "  D2: peripheral, high speed, terminal control, series \"S2\", lines KALBUS",
                    "  D3: controller, high speed, standard control, no series, no lines",
                });
}

// A project as a search leaves it: one solution with one device and part of the request unplaced.
std::unique_ptr<CioProject> SolvedProject() {
    test::SmallCatalogue c = test::BuildSmallCatalogue();
    auto project = std::make_unique<CioProject>();
    for (auto [kind, count, flags] : {std::tuple{c.kindA, 12, FLAG_CHECKED}, {c.kindB, 0, 0u}}) {
        auto item = std::make_unique<CioNode>();
        item->kindRef.object = kind;
        item->count = count;
        item->flags = flags;
        project->requestList.Append(std::move(item));
    }
    c.s1->flags |= FLAG_CHECKED;
    project->seriesSelection.entries = {c.s1, c.s2};

    auto selector = std::make_unique<CioModuleSelector>();
    selector->modules = {c.m1, &EmptyModule()};
    selector->variants = {c.m1->Variant(0), &EmptyVariant()};
    auto equipment = std::make_unique<CioEquip>();
    equipment->device.object = c.d1;
    equipment->selectors.push_back(std::move(selector));
    auto remaining = std::make_unique<CioNode>();
    remaining->kindRef.object = c.kindA;
    remaining->count = 4;
    auto solution = std::make_unique<CioSolution>();
    solution->number = 1;
    solution->price = 1350;
    solution->canExtend = 0;
    solution->Append(std::move(equipment));
    solution->remaining.push_back(std::move(remaining));
    project->Append(std::move(solution));
    project->database = std::move(c.db);
    return project;
}

TEST(CatalogueReportTest, ProjectShowsRequestSeriesAndSolutions) {
    const std::unique_ptr<CioProject> project = SolvedProject();
    const std::string report = ProjectReport(*project);
    EXPECT_EQ(report.rfind("Project \"IO\"\nCatalogue \"<>\": 3 IO kinds, 2 modules, 3 series, "
                           "3 devices\n",
                           0),
              0u)
        << report;
    ExpectLines(report, {
                            "  [x] 12 x A",
                            "  [ ] 0 x B",
                            "Series checked for the design",
                            "  S1",
                            "Solutions (1)",
                            "  Solution 1: price 1350, cannot extend",
                            "    D1-M1",
                            "      position 1: M1 / M1/v1",
                            "      position 2: --",
                            "    remaining: 4 x A",
                        });
    EXPECT_EQ(report.find("  S2\n"), std::string::npos);
}

} // namespace
} // namespace pinsum
