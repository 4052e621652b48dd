#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pinsum {

struct Bill;

// How a row of the quotation is drawn; each style has its own height and font.
enum class RowStyle {
    Title,
    Line,        // a line of text across the page
    Heading,     // the heading of a section: the request, a solution
    TableHeader, // column headings, repeated at the top of a page that continues a table
    Row,         // a row of the request table
    Device,      // a device of a solution
    Module,      // a module of the device above it
    Total,
    Space,
};

struct QuotationRow {
    RowStyle style;
    std::vector<std::string> cells;
};

// Rows that stay on one page together: a device with its modules, a heading with the table's
// column headings and its first row.
struct QuotationBlock {
    std::vector<QuotationRow> rows;
    // The column headings of the table this block belongs to, repeated first on a page that
    // starts with this block; empty outside a table.
    std::vector<std::string> tableHeader;
};

struct QuotationPage {
    std::vector<QuotationRow> rows;
};

// The height of each style in points.
double RowHeight(RowStyle style);

// The quotation's rows, texts formatted (Czech dates and prices), grouped into blocks.
std::vector<QuotationBlock> QuotationBlocks(const Bill& bill, const std::string& date);

// Fills pages of the given height with whole blocks; a block taller than a page is split
// between rows. A page that starts with a block of a table starts with that table's header.
std::vector<QuotationPage> Paginate(const std::vector<QuotationBlock>& blocks, double pageHeight);

// A price as a Czech document writes it: thousands grouped by no-break spaces, a decimal comma,
// two to four decimal places ("37 751,50").
std::string CzechPrice(int64_t scaled);

} // namespace pinsum
