#include "quotation/quotation_layout.h"

#include "bill/bill.h"
#include "quotation/quotation_texts.h"

namespace pinsum {
namespace {

namespace text = quotation_text;

constexpr const char* kNoBreakSpace = "\xC2\xA0";

std::vector<std::string> RequestHeader() {
    return {text::Program(TextId::ColumnIoKind), text::kRequested, text::kReserve};
}

std::vector<std::string> SolutionHeader() {
    return {text::kItem, text::kMarking, text::kQuantity, text::kUnitPrice,
            text::Program(TextId::ColumnPrice)};
}

std::vector<std::string> MissingHeader() {
    return {text::Program(TextId::ColumnIoKind), text::Program(TextId::ColumnCount)};
}

QuotationRow LineRow(const BillLine& line, RowStyle style) {
    return {style,
            {line.name, line.marking, std::to_string(line.quantity), CzechPrice(line.unitPrice),
             CzechPrice(line.linePrice)}};
}

// The heading stays with the table's first row; the other rows may go to the next page.
void AddRequest(std::vector<QuotationBlock>& blocks, const Bill& bill) {
    std::vector<QuotationRow> rows;
    for (const BillRequestRow& kind : bill.request)
        rows.push_back({RowStyle::Row,
                        {kind.kind, std::to_string(kind.requested), std::to_string(kind.reserve)}});
    if (rows.empty())
        rows.push_back({RowStyle::Row, {"–", "0", "0"}});
    blocks.push_back({{{RowStyle::Heading, {text::kRequest}},
                       {RowStyle::TableHeader, RequestHeader()},
                       std::move(rows.front())},
                      RequestHeader()});
    for (size_t i = 1; i < rows.size(); ++i)
        blocks.push_back({{std::move(rows[i])}, RequestHeader()});
}

std::string SolutionHeading(const BillSolution& solution) {
    std::string heading = std::string(text::kSolution) + " " + std::to_string(solution.number);
    if (solution.provenCheapest)
        heading += " – " + text::Program(TextId::ProvenCheapest);
    return heading;
}

void AddSolution(std::vector<QuotationBlock>& blocks, const BillSolution& solution) {
    std::vector<QuotationRow> opening = {{RowStyle::Space, {}},
                                         {RowStyle::Heading, {SolutionHeading(solution)}},
                                         {RowStyle::TableHeader, SolutionHeader()}};
    bool first = true;
    for (const BillEquipment& equipment : solution.equipment) {
        QuotationBlock block{first ? opening : std::vector<QuotationRow>{}, SolutionHeader()};
        block.rows.push_back(LineRow(equipment.device, RowStyle::Device));
        for (const BillLine& module : equipment.modules)
            block.rows.push_back(LineRow(module, RowStyle::Module));
        blocks.push_back(std::move(block));
        first = false;
    }
    if (first)
        blocks.push_back({opening, {}});
    blocks.push_back(
        {{{RowStyle::Total,
           {text::Program(TextId::RowTotal), "", "", "", CzechPrice(solution.total)}},
          {RowStyle::Line,
           {text::Program(TextId::ColumnUsedIo) + ": " + std::to_string(solution.usedIo) + ", " +
            text::Program(TextId::ColumnUnusedIo) + ": " + std::to_string(solution.unusedIo)}}},
         {}});
    if (solution.missing.empty())
        return;
    QuotationBlock missing{{{RowStyle::Heading, {text::Program(TextId::UnplacedIo)}},
                            {RowStyle::TableHeader, MissingHeader()}},
                           MissingHeader()};
    for (const BillKindCount& kind : solution.missing)
        missing.rows.push_back({RowStyle::Row, {kind.kind, std::to_string(kind.count)}});
    blocks.push_back(std::move(missing));
}

} // namespace

double RowHeight(RowStyle style) {
    switch (style) {
    case RowStyle::Title:
        return 34;
    case RowStyle::Heading:
        return 24;
    case RowStyle::TableHeader:
        return 18;
    case RowStyle::Space:
        return 10;
    case RowStyle::Line:
    case RowStyle::Row:
    case RowStyle::Device:
    case RowStyle::Module:
    case RowStyle::Total:
        return 15;
    }
    return 15;
}

std::vector<QuotationBlock> QuotationBlocks(const Bill& bill, const std::string& date) {
    std::vector<QuotationBlock> blocks;
    QuotationBlock title{{{RowStyle::Title, {text::kTitle}},
                          {RowStyle::Line, {std::string(text::kDate) + ": " + date}}},
                         {}};
    if (!bill.catalogueName.empty())
        title.rows.push_back(
            {RowStyle::Line, {std::string(text::kCatalogue) + ": " + bill.catalogueName}});
    title.rows.push_back({RowStyle::Space, {}});
    blocks.push_back(std::move(title));
    AddRequest(blocks, bill);
    if (bill.solutions.empty())
        blocks.push_back({{{RowStyle::Space, {}}, {RowStyle::Heading, {text::kNoSolution}}}, {}});
    for (const BillSolution& solution : bill.solutions)
        AddSolution(blocks, solution);
    return blocks;
}

std::vector<QuotationPage> Paginate(const std::vector<QuotationBlock>& blocks, double pageHeight) {
    std::vector<QuotationPage> pages(1);
    double used = 0;
    const auto newPage = [&](const QuotationBlock& block) {
        pages.emplace_back();
        used = 0;
        if (!block.tableHeader.empty() && block.rows.front().style != RowStyle::Space &&
            block.rows.front().style != RowStyle::Heading) {
            pages.back().rows.push_back({RowStyle::TableHeader, block.tableHeader});
            used += RowHeight(RowStyle::TableHeader);
        }
    };
    for (const QuotationBlock& block : blocks) {
        if (block.rows.empty())
            continue;
        double height = 0;
        for (const QuotationRow& row : block.rows)
            height += RowHeight(row.style);
        if (used > 0 && used + height > pageHeight)
            newPage(block);
        for (const QuotationRow& row : block.rows) {
            // Only a block taller than a page is cut, between two of its rows.
            if (used > 0 && used + RowHeight(row.style) > pageHeight)
                newPage(block);
            // A space that would open a page is left out.
            if (used == 0 && row.style == RowStyle::Space)
                continue;
            pages.back().rows.push_back(row);
            used += RowHeight(row.style);
        }
    }
    return pages;
}

std::string CzechPrice(int64_t scaled) {
    const std::string plain = PriceText(scaled < 0 ? -scaled : scaled);
    const size_t point = plain.find('.');
    const std::string whole = plain.substr(0, point);
    std::string grouped;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += kNoBreakSpace;
        grouped += whole[i];
    }
    return (scaled < 0 ? "-" : "") + grouped + "," + plain.substr(point + 1);
}

} // namespace pinsum
