#include "quotation/pdf_quotation.h"

#include <array>
#include <memory>

#include <cairo-pdf.h>
#include <cairo.h>

#include "bill/bill.h"
#include "host/engine_error.h"
#include "host/file_io.h"
#include "quotation/quotation_layout.h"
#include "quotation/quotation_texts.h"

namespace pinsum {
namespace {

// A4 in points.
constexpr double kPageWidth = 595.28;
constexpr double kPageHeight = 841.89;
constexpr double kMargin = 48;
constexpr double kFooter = 24;
constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kCellPadding = 4;
constexpr double kModuleIndent = 12;
constexpr const char* kFont = "DejaVu Sans";
constexpr const char* kEllipsis = "…";

struct Column {
    double width;
    bool right;
};

// The columns of the three tables, told apart by their number of cells.
std::vector<Column> ColumnsFor(size_t cells) {
    switch (cells) {
    case 5:
        return {{150, false}, {95, false}, {60, true}, {97, true}, {97.28, true}};
    case 3:
        return {{250, false}, {90, true}, {90, true}};
    case 2:
        return {{250, false}, {90, true}};
    default:
        return {{kContentWidth, false}};
    }
}

struct Font {
    double size;
    bool bold;
};

Font FontFor(RowStyle style) {
    switch (style) {
    case RowStyle::Title:
        return {20, true};
    case RowStyle::Heading:
        return {12, true};
    case RowStyle::TableHeader:
    case RowStyle::Device:
    case RowStyle::Total:
        return {9, true};
    default:
        return {9, false};
    }
}

using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;
using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

void SetFont(cairo_t* cr, Font font) {
    cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.size);
}

double TextWidth(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

// The text cut at a character's end, with an ellipsis, until it fits the width.
std::string Fitted(cairo_t* cr, const std::string& text, double width) {
    if (TextWidth(cr, text) <= width)
        return text;
    std::string cut = text;
    while (!cut.empty()) {
        // A character's continuation bytes, then its first byte.
        while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80)
            cut.pop_back();
        if (!cut.empty())
            cut.pop_back();
        if (TextWidth(cr, cut + kEllipsis) <= width)
            return cut + kEllipsis;
    }
    return kEllipsis;
}

void DrawText(cairo_t* cr, const std::string& text, double x, double baseline, double width,
              bool right) {
    const std::string shown = Fitted(cr, text, width);
    cairo_move_to(cr, right ? x + width - TextWidth(cr, shown) : x, baseline);
    cairo_show_text(cr, shown.c_str());
}

void Rule(cairo_t* cr, double y, double width) {
    cairo_move_to(cr, kMargin, y);
    cairo_line_to(cr, kMargin + width, y);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
}

void DrawRow(cairo_t* cr, const QuotationRow& row, double top) {
    const double height = RowHeight(row.style);
    const Font font = FontFor(row.style);
    SetFont(cr, font);
    const double baseline = top + height - (height - font.size) / 2 - 2;
    const std::vector<Column> columns = ColumnsFor(row.cells.size());
    double tableWidth = 0;
    for (const Column& column : columns)
        tableWidth += column.width;
    if (row.style == RowStyle::Total)
        Rule(cr, top + 1, tableWidth);
    double x = kMargin;
    for (size_t i = 0; i < row.cells.size() && i < columns.size(); ++i) {
        const double indent = row.style == RowStyle::Module && i == 0 ? kModuleIndent : 0;
        DrawText(cr, row.cells[i], x + kCellPadding + indent, baseline,
                 columns[i].width - 2 * kCellPadding - indent, columns[i].right);
        x += columns[i].width;
    }
    if (row.style == RowStyle::TableHeader)
        Rule(cr, top + height - 1, tableWidth);
}

void DrawFooter(cairo_t* cr, size_t page, size_t pages) {
    SetFont(cr, {8, false});
    const std::string text = std::string(quotation_text::kPage) + " " + std::to_string(page) + " " +
                             quotation_text::kPageOf + " " + std::to_string(pages);
    cairo_move_to(cr, (kPageWidth - TextWidth(cr, text)) / 2, kPageHeight - kMargin / 2);
    cairo_show_text(cr, text.c_str());
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(closure);
    bytes->insert(bytes->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

void Check(cairo_status_t status) {
    if (status != CAIRO_STATUS_SUCCESS)
        throw EngineError(std::string("cannot draw the PDF quotation: ") +
                          cairo_status_to_string(status));
}

} // namespace

std::vector<uint8_t> QuotationPdf(const Bill& bill, const std::string& date) {
    const std::vector<QuotationPage> pages =
        Paginate(QuotationBlocks(bill, date), kPageHeight - 2 * kMargin - kFooter);
    std::vector<uint8_t> bytes;
    {
        Surface surface(
            cairo_pdf_surface_create_for_stream(Append, &bytes, kPageWidth, kPageHeight),
            &cairo_surface_destroy);
        Check(cairo_surface_status(surface.get()));
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE,
                                       quotation_text::kTitle);
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Pinsum");
        Context cr(cairo_create(surface.get()), &cairo_destroy);
        cairo_set_source_rgb(cr.get(), 0, 0, 0);
        for (size_t i = 0; i < pages.size(); ++i) {
            double top = kMargin;
            for (const QuotationRow& row : pages[i].rows) {
                DrawRow(cr.get(), row, top);
                top += RowHeight(row.style);
            }
            DrawFooter(cr.get(), i + 1, pages.size());
            cairo_show_page(cr.get());
        }
        Check(cairo_status(cr.get()));
        cr.reset();
        cairo_surface_finish(surface.get());
        Check(cairo_surface_status(surface.get()));
    }
    return bytes;
}

void WriteQuotationPdf(const std::string& path, const Bill& bill, const std::string& date) {
    WriteFileAtomic(path, QuotationPdf(bill, date));
}

std::string CzechDate(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return std::to_string(local.tm_mday) + ". " + std::to_string(local.tm_mon + 1) + ". " +
           std::to_string(local.tm_year + 1900);
}

} // namespace pinsum
