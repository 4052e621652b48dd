#include "controls/result_list.h"

#include <wx/dc.h>
#include <wx/dcclient.h>
#include <wx/settings.h>

#include "common/wx_text.h"

namespace pinsum::ui {
namespace {

constexpr int kCellPadding = 6;

wxAlignment HeaderAlign(ColumnAlign align) {
    switch (align) {
    case ColumnAlign::Centre:
        return wxALIGN_CENTRE;
    case ColumnAlign::Right:
        return wxALIGN_RIGHT;
    default:
        return wxALIGN_LEFT;
    }
}

wxColour FromColourRef(uint32_t rgb) {
    return wxColour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace

ResultRows::ResultRows(wxWindow* parent, wxWindowID id)
    : wxVListBox(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxWANTS_CHARS) {
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
}

wxColour ResultRows::Background(RowColour colour) {
    switch (colour) {
    case RowColour::Face:
        return wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    case RowColour::Red:
        return FromColourRef(kRedRgb);
    case RowColour::Orange:
        return FromColourRef(kOrangeRgb);
    case RowColour::Window:
        break;
    }
    return wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
}

void ResultRows::Clear() {
    m_rows.clear();
    SetItemCount(0);
    Refresh();
}

void ResultRows::Add(Row row) {
    m_rows.push_back(std::move(row));
    SetItemCount(m_rows.size());
    Refresh();
}

wxString ResultRows::ShownText(size_t row, size_t column) const {
    if (row >= m_rows.size() || column >= m_columns.size() || column >= 4)
        return wxString();
    wxClientDC dc(const_cast<ResultRows*>(this));
    dc.SetFont(GetFont());
    const int room = m_columns[column].width - 2 * kCellPadding;
    return FromModel(ShortenToWidth(m_rows[row].cells[column], room, [&dc](const std::string& t) {
        return dc.GetTextExtent(FromModel(t)).GetWidth();
    }));
}

wxCoord ResultRows::OnMeasureItem(size_t) const {
    return GetCharHeight() + 6;
}

void ResultRows::OnDrawBackground(wxDC& dc, const wxRect& rect, size_t n) const {
    if (n >= m_rows.size())
        return;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(Background(m_rows[n].colour)));
    dc.DrawRectangle(rect);
    // The row keeps its colour when selected; a frame shows the selection.
    if (IsSelected(n)) {
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT), 2));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(wxRect(rect).Deflate(1));
    }
}

void ResultRows::OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const {
    if (n >= m_rows.size())
        return;
    dc.SetFont(GetFont());
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    int x = 0;
    for (size_t column = 0; column < m_columns.size() && column < 4; ++column) {
        const Column& layout = m_columns[column];
        const wxRect cell(x + kCellPadding, rect.y, layout.width - 2 * kCellPadding, rect.height);
        x += layout.width;
        if (cell.width <= 0)
            continue;
        const std::string& full = m_rows[n].cells[column];
        const wxString whole = FromModel(full);
        const wxString shown = ShownText(n, column);
        const int align = shown == whole ? HeaderAlign(layout.align) : wxALIGN_LEFT;
        wxDCClipper clip(dc, cell);
        dc.DrawLabel(shown, cell, align | wxALIGN_CENTRE_VERTICAL);
    }
}

ResultList::ResultList(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size)
    : wxPanel(parent, wxID_ANY, position, size, wxBORDER_SUNKEN) {
    m_header = new wxHeaderCtrlSimple(this, wxID_ANY);
    m_rows = new ResultRows(this, id);
    m_rows->SetFont(GetFont());
    m_header->Bind(wxEVT_HEADER_RESIZING, [this](wxHeaderCtrlEvent& event) {
        const auto column = static_cast<size_t>(event.GetColumn());
        if (column < m_rows->Columns().size())
            m_rows->Columns()[column].width = event.GetWidth();
        m_header->UpdateColumn(column);
        m_rows->Refresh();
        event.Skip();
    });
    m_header->Bind(wxEVT_HEADER_END_RESIZE, [this](wxHeaderCtrlEvent& event) {
        const auto column = static_cast<size_t>(event.GetColumn());
        if (column < m_rows->Columns().size())
            m_rows->Columns()[column].width = event.GetWidth();
        m_rows->Refresh();
        event.Skip();
    });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        Layout(GetClientSize());
        event.Skip();
    });
    Layout(GetClientSize());
}

void ResultList::Layout(const wxSize& size) {
    const int headerHeight = m_header->GetBestSize().GetHeight();
    m_header->SetSize(0, 0, size.GetWidth(), headerHeight);
    m_rows->SetSize(0, headerHeight, size.GetWidth(), std::max(0, size.GetHeight() - headerHeight));
}

void ResultList::DeleteAllRows() {
    m_rows->Clear();
}

int ResultList::ColumnCount() const {
    return static_cast<int>(m_rows->Columns().size());
}

void ResultList::InsertColumn(int index, const std::string& heading, ColumnAlign align, int width) {
    auto& columns = m_rows->Columns();
    const size_t at = std::min(static_cast<size_t>(std::max(index, 0)), columns.size());
    columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at),
                   {FromModel(heading), align, width});
    m_header->InsertColumn(
        wxHeaderColumnSimple(FromModel(heading), width, HeaderAlign(align), wxCOL_RESIZABLE),
        static_cast<unsigned>(at));
    Layout(GetClientSize());
}

void ResultList::AddRow(const std::array<std::string, 4>& cells, const CioType* object,
                        RowColour colour) {
    m_rows->Add({cells, object, colour});
}

int ResultList::RowCount() const {
    return static_cast<int>(m_rows->Rows().size());
}

void ResultList::SelectRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    m_rows->SetSelection(row);
    m_rows->ScrollToRow(static_cast<size_t>(row));
}

int ResultList::SelectedRow() const {
    return m_rows->GetSelection();
}

const CioType* ResultList::SelectedObject() const {
    const int row = SelectedRow();
    return row >= 0 && row < RowCount() ? m_rows->Rows()[static_cast<size_t>(row)].object : nullptr;
}

wxRect ResultList::RowScreenRect(int row) const {
    wxRect rect = m_rows->GetItemRect(static_cast<size_t>(std::max(row, 0)));
    rect.SetPosition(m_rows->ClientToScreen(rect.GetPosition()));
    return rect;
}

} // namespace pinsum::ui
