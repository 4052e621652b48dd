#include "quotation/quotation_layout.h"

#include <gtest/gtest.h>

#include "bill/bill.h"

namespace pinsum {
namespace {

BillLine Line(const std::string& name, int64_t quantity) {
    return {BillLine::Item::Module, nullptr, "-" + name, name, quantity, 10000, quantity * 10000};
}

// Solutions whose devices have from none to six modules, enough to fill several pages.
Bill ManyDevices() {
    Bill bill;
    bill.catalogueName = "Katalog";
    bill.request = {{"DI", 40, 0}};
    for (int s = 1; s <= 3; ++s) {
        BillSolution solution;
        solution.number = s;
        for (int d = 0; d < 20; ++d) {
            BillEquipment equipment;
            equipment.device = Line("D" + std::to_string(d), 1);
            equipment.device.item = BillLine::Item::Device;
            for (int m = 0; m < d % 7; ++m)
                equipment.modules.push_back(Line("M" + std::to_string(m), 1));
            solution.equipment.push_back(equipment);
        }
        solution.missing = {{"AI", 3}};
        bill.solutions.push_back(solution);
    }
    return bill;
}

TEST(QuotationLayoutTest, NoPageBreakPartsADeviceFromItsModules) {
    const std::vector<QuotationPage> pages =
        Paginate(QuotationBlocks(ManyDevices(), "1. 2. 2026"), 400);
    ASSERT_GT(pages.size(), 5u);
    size_t devices = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
        double height = 0;
        const QuotationRow* previous = nullptr;
        for (const QuotationRow& row : pages[p].rows) {
            height += RowHeight(row.style);
            if (row.style == RowStyle::Module) {
                EXPECT_TRUE(previous != nullptr && (previous->style == RowStyle::Device ||
                                                    previous->style == RowStyle::Module))
                    << "page " << p + 1 << " starts with a module of the page before's device";
            }
            devices += row.style == RowStyle::Device;
            previous = &row;
        }
        EXPECT_LE(height, 400) << "page " << p + 1;
        EXPECT_TRUE(p == 0 || pages[p].rows.front().style != RowStyle::Device)
            << "page " << p + 1 << " continues a table without its header";
    }
    EXPECT_EQ(devices, 60u) << "every device is on some page, once";
}

TEST(QuotationLayoutTest, ABlockTallerThanAPageIsCutBetweenRows) {
    Bill bill;
    BillSolution solution;
    solution.number = 1;
    BillEquipment big;
    big.device = Line("D", 1);
    for (int m = 0; m < 80; ++m)
        big.modules.push_back(Line("M", 1));
    solution.equipment.push_back(big);
    bill.solutions.push_back(solution);
    size_t modules = 0;
    for (const QuotationPage& page : Paginate(QuotationBlocks(bill, "d"), 300))
        for (const QuotationRow& row : page.rows)
            modules += row.style == RowStyle::Module;
    EXPECT_EQ(modules, 80u);
}

TEST(QuotationLayoutTest, PricesAreWrittenTheCzechWay) {
    EXPECT_EQ(CzechPrice(377'515'000), "37\u00A0751,50");
    EXPECT_EQ(CzechPrice(1'234'567'890'000), "123\u00A0456\u00A0789,00");
    EXPECT_EQ(CzechPrice(9'990'000), "999,00");
    EXPECT_EQ(CzechPrice(1), "0,0001");
}

} // namespace
} // namespace pinsum
