#pragma once

#include <array>
#include <string>
#include <vector>

#include <wx/headerctrl.h>
#include <wx/panel.h>
#include <wx/vlbox.h>

#include "solver/result_table.h"

namespace pinsum::ui {

// The rows of the result table, drawn by us: each row in its own background colour, each cell's
// text on one line, vertically centred, 6 pixels in from both sides, and shortened with "..." by
// the engine's rule when it does not fit (then drawn left-aligned).
class ResultRows : public wxVListBox {
public:
    struct Column {
        wxString heading;
        ColumnAlign align = ColumnAlign::Left;
        int width = 0;
    };
    struct Row {
        std::array<std::string, 4> cells; // Windows-1250
        const CioType* object = nullptr;
        RowColour colour = RowColour::Window;
    };

    ResultRows(wxWindow* parent, wxWindowID id);

    std::vector<Column>& Columns() { return m_columns; }
    const std::vector<Row>& Rows() const { return m_rows; }
    void Clear();
    void Add(Row row);
    // The text a cell shows in its width with this list's font: whole, or shortened.
    wxString ShownText(size_t row, size_t column) const;
    static wxColour Background(RowColour colour);

private:
    void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override;
    void OnDrawBackground(wxDC& dc, const wxRect& rect, size_t n) const override;
    wxCoord OnMeasureItem(size_t n) const override;

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
};

// The result list: a column header over the rows, as one control for the engine.
class ResultList : public wxPanel, public ResultTable {
public:
    // The rows get the id; they are what takes the focus.
    ResultList(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size);

    bool HasWindow() const override { return true; }
    void DeleteAllRows() override;
    int ColumnCount() const override;
    void InsertColumn(int index, const std::string& heading, ColumnAlign align, int width) override;
    void AddRow(const std::array<std::string, 4>& cells, const CioType* object,
                RowColour colour) override;
    int RowCount() const override;
    void SelectRow(int row) override;

    ResultRows& Rows() const { return *m_rows; }
    // -1 when no row is selected.
    int SelectedRow() const;
    const CioType* SelectedObject() const;
    // The row's rectangle in screen coordinates.
    wxRect RowScreenRect(int row) const;

private:
    void Layout(const wxSize& size);

    wxHeaderCtrlSimple* m_header;
    ResultRows* m_rows;
};

} // namespace pinsum::ui
