#include "bill/bill.h"

#include <gtest/gtest.h>

#include "model/object_stream.h"
#include "support/search_project.h"

namespace pinsum {
namespace {

// A controller with two positions and a peripheral with one, all for one module of eight points:
// 24 points need all three modules, two of them on the controller.
class BillTest : public ::testing::Test {
protected:
    BillTest() {
        a = f.Kind("A");
        CioModul* m8 = f.Module("M8", 100, {test::Points(a, 8)});
        m8->marking = "-M8";
        m8->listPrice.scaled = 1'000'050; // 100.005
        f.Device("C", 0, 1000, {&Vornet()}, {{m8}, {m8}});
        f.Device("P", 1, 300, {&Vornet()}, {{m8}});
        f.Request(a, 24);
        f.Search(0);
    }

    test::SearchProject f;
    CioType* a = nullptr;
};

TEST_F(BillTest, SumsEachPartOnceForTheBillAndPerDeviceForTheQuotation) {
    ASSERT_GE(f.Count(), 1u);
    const Bill bill = MakeBill(f.project, {0});
    ASSERT_EQ(bill.solutions.size(), 1u);
    EXPECT_EQ(bill.request.size(), 1u);
    EXPECT_EQ(bill.request[0].kind, "A");
    EXPECT_EQ(bill.request[0].requested, 24);
    EXPECT_EQ(bill.request[0].reserve, 0);

    const BillSolution& solution = bill.solutions[0];
    ASSERT_EQ(solution.lines.size(), 3u) << f.Report();
    EXPECT_EQ(solution.lines[0].name, "C");
    EXPECT_EQ(solution.lines[1].name, "M8");
    EXPECT_EQ(solution.lines[1].item, BillLine::Item::Module);
    EXPECT_EQ(solution.lines[1].quantity, 3);
    EXPECT_EQ(solution.lines[1].linePrice, 3'000'150) << "exact, not whole units";
    EXPECT_EQ(solution.lines[2].name, "P");
    EXPECT_EQ(solution.total, 10'000'000 + 3'000'000 + 3'000'150);

    ASSERT_EQ(solution.equipment.size(), 2u);
    EXPECT_EQ(solution.equipment[0].device.name, "C");
    ASSERT_EQ(solution.equipment[0].modules.size(), 1u);
    EXPECT_EQ(solution.equipment[0].modules[0].quantity, 2);
    EXPECT_EQ(solution.equipment[0].price, 10'000'000 + 2'000'100);
    EXPECT_EQ(solution.equipment[1].modules[0].quantity, 1);
    EXPECT_EQ(solution.usedIo, 24);
    EXPECT_TRUE(solution.complete);
}

TEST_F(BillTest, ListsAllSolutionsOrNoneForAnIndexBeyondThem) {
    EXPECT_EQ(MakeBill(f.project).solutions.size(), f.Count());
    EXPECT_TRUE(MakeBill(f.project, {f.Count()}).solutions.empty());
}

TEST(PriceTextTest, AlwaysShowsDecimals) {
    EXPECT_EQ(PriceText(149'000'000), "14900.00");
    EXPECT_EQ(PriceText(12'505'000), "1250.50");
    EXPECT_EQ(PriceText(1), "0.0001");
}

} // namespace
} // namespace pinsum
