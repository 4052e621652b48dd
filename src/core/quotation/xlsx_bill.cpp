#include "quotation/xlsx_bill.h"

#include <algorithm>
#include <vector>

#include <xlsxwriter.h>

#include "bill/bill.h"
#include "host/file_io.h"
#include "quotation/quotation_texts.h"

namespace pinsum {
namespace {

namespace text = quotation_text;

constexpr double kMinWidth = 8;
constexpr double kMaxWidth = 60;
constexpr const char* kPriceFormat = "#,##0.00";

[[noreturn]] void Fail(lxw_error error) {
    throw EngineError(std::string("cannot write the XLSX bill: ") + lxw_strerror(error));
}

void Check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        Fail(error);
}

size_t Characters(const std::string& utf8) {
    size_t count = 0;
    for (char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

double Price(int64_t scaled) {
    return static_cast<double>(scaled) / 10000.0;
}

// A sheet that remembers the widest cell of each column, to fit the columns at the end.
class Sheet {
public:
    Sheet(lxw_workbook* workbook, const std::string& name)
        : m_sheet(workbook_add_worksheet(workbook, name.c_str())) {
        if (m_sheet == nullptr)
            throw EngineError("cannot write the XLSX bill: no sheet " + name);
    }

    void Text(lxw_row_t row, lxw_col_t column, const std::string& value, lxw_format* format) {
        Check(worksheet_write_string(m_sheet, row, column, value.c_str(), format));
        Widen(column, Characters(value));
    }

    // shown: the text a spreadsheet shows, for the width.
    void Number(lxw_row_t row, lxw_col_t column, double value, const std::string& shown,
                lxw_format* format) {
        Check(worksheet_write_number(m_sheet, row, column, value, format));
        Widen(column, shown.size());
    }

    void Price(lxw_row_t row, lxw_col_t column, int64_t scaled, lxw_format* format) {
        // With the thousands separators the format adds.
        const std::string shown = PriceText(scaled);
        Number(row, column, pinsum::Price(scaled), shown + std::string(shown.size() / 3, ','),
               format);
    }

    void Finish() {
        for (size_t column = 0; column < m_widths.size(); ++column)
            Check(worksheet_set_column(
                m_sheet, static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column),
                std::clamp(static_cast<double>(m_widths[column]) + 2, kMinWidth, kMaxWidth),
                nullptr));
        worksheet_freeze_panes(m_sheet, 1, 0);
    }

private:
    void Widen(lxw_col_t column, size_t characters) {
        if (m_widths.size() <= column)
            m_widths.resize(column + 1);
        m_widths[column] = std::max(m_widths[column], characters);
    }

    lxw_worksheet* m_sheet;
    std::vector<size_t> m_widths;
};

struct Formats {
    explicit Formats(lxw_workbook* workbook)
        : header(workbook_add_format(workbook)), price(workbook_add_format(workbook)),
          totalText(workbook_add_format(workbook)), totalPrice(workbook_add_format(workbook)) {
        format_set_bold(header);
        format_set_bottom(header, LXW_BORDER_THIN);
        format_set_num_format(price, kPriceFormat);
        format_set_bold(totalText);
        format_set_top(totalText, LXW_BORDER_THIN);
        format_set_bold(totalPrice);
        format_set_top(totalPrice, LXW_BORDER_THIN);
        format_set_num_format(totalPrice, kPriceFormat);
    }

    lxw_format* header;
    lxw_format* price;
    lxw_format* totalText;
    lxw_format* totalPrice;
};

void Header(Sheet& sheet, const std::vector<std::string>& names, const Formats& formats) {
    for (size_t i = 0; i < names.size(); ++i)
        sheet.Text(0, static_cast<lxw_col_t>(i), names[i], formats.header);
}

void RequestSheet(lxw_workbook* workbook, const Bill& bill, const Formats& formats) {
    Sheet sheet(workbook, text::kRequestSheet);
    Header(sheet, {text::Program(TextId::ColumnIoKind), text::kRequested, text::kReserve}, formats);
    lxw_row_t row = 1;
    for (const BillRequestRow& kind : bill.request) {
        sheet.Text(row, 0, kind.kind, nullptr);
        sheet.Number(row, 1, kind.requested, std::to_string(kind.requested), nullptr);
        sheet.Number(row, 2, kind.reserve, std::to_string(kind.reserve), nullptr);
        ++row;
    }
    sheet.Finish();
}

void SolutionSheet(lxw_workbook* workbook, const BillSolution& solution, const Formats& formats) {
    Sheet sheet(workbook, std::string(text::kSolution) + " " + std::to_string(solution.number));
    Header(sheet,
           {text::kItem, text::kMarking, text::kName, text::kQuantity, text::kUnitPrice,
            text::Program(TextId::ColumnPrice)},
           formats);
    lxw_row_t row = 1;
    for (const BillLine& line : solution.lines) {
        sheet.Text(row, 0, line.item == BillLine::Item::Device ? text::kDevice : text::kModule,
                   nullptr);
        sheet.Text(row, 1, line.marking, nullptr);
        sheet.Text(row, 2, line.name, nullptr);
        sheet.Number(row, 3, static_cast<double>(line.quantity), std::to_string(line.quantity),
                     nullptr);
        sheet.Price(row, 4, line.unitPrice, formats.price);
        sheet.Price(row, 5, line.linePrice, formats.price);
        ++row;
    }
    sheet.Text(row, 0, text::Program(TextId::RowTotal), formats.totalText);
    sheet.Price(row, 5, solution.total, formats.totalPrice);
    sheet.Finish();
}

// Closes the workbook however the writing ends, since only the close frees it.
class Workbook {
public:
    explicit Workbook(const std::string& path) {
        lxw_workbook_options options{};
        m_workbook = workbook_new_opt(path.c_str(), &options);
        if (m_workbook == nullptr)
            throw EngineError("cannot write the XLSX bill '" + path + "'");
    }
    ~Workbook() {
        if (m_workbook != nullptr)
            workbook_close(m_workbook);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* Get() const { return m_workbook; }
    void Close() {
        lxw_workbook* workbook = m_workbook;
        m_workbook = nullptr;
        Check(workbook_close(workbook));
    }

private:
    lxw_workbook* m_workbook;
};

} // namespace

void WriteXlsxBill(const std::string& path, const Bill& bill) {
    ReplacementFile file(path);
    Workbook workbook(file.Path());
    std::string title = text::kTitle;
    if (!bill.catalogueName.empty())
        title += " – " + bill.catalogueName;
    lxw_doc_properties properties{};
    properties.title = title.data();
    Check(workbook_set_properties(workbook.Get(), &properties));
    const Formats formats(workbook.Get());
    RequestSheet(workbook.Get(), bill, formats);
    for (const BillSolution& solution : bill.solutions)
        SolutionSheet(workbook.Get(), solution, formats);
    workbook.Close();
    file.Commit();
}

} // namespace pinsum
