#include "planner/numbered_list.h"

#include <algorithm>

#include "common/ui_texts.h"

namespace pinsum::ui {
namespace {

constexpr int kNumberWidth = 40;
// The check box column of the network list is unnamed and this wide.
constexpr int kCheckColumn = 40;

} // namespace

NumberedList::NumberedList(wxWindow* parent, int id, const wxString& nameColumn, const wxSize& size,
                           bool checkBoxes)
    : wxListCtrl(parent, id, wxDefaultPosition, size,
                 wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN) {
    if (checkBoxes) {
        EnableCheckBoxes();
        InsertColumn(0, wxString(), wxLIST_FORMAT_LEFT, kCheckColumn);
    } else {
        // Wide enough for its title in any font.
        const int title = GetTextExtent(Text(UiText::ColumnNumber)).GetWidth() + 16;
        InsertColumn(0, Text(UiText::ColumnNumber), wxLIST_FORMAT_LEFT,
                     std::max(kNumberWidth, title));
    }
    InsertColumn(1, nameColumn);
    FitNameColumn();
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        FitNameColumn();
        event.Skip();
    });
}

void NumberedList::FitNameColumn() {
    const int rest = GetClientSize().GetWidth() - GetColumnWidth(0) - 4;
    SetColumnWidth(1, std::max(rest, 60));
}

void NumberedList::ShowRows(const std::vector<wxString>& names, int row) {
    Freeze();
    // Surplus rows go, missing ones come; every row gets its number and name again.
    while (GetItemCount() > static_cast<int>(names.size()))
        DeleteItem(GetItemCount() - 1);
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        if (i >= GetItemCount())
            InsertItem(i, wxString());
        if (!HasCheckBoxes())
            SetItem(i, 0, wxString::Format("%d", i));
        SetItem(i, 1, names[i]);
    }
    Thaw();
    SelectRow(names.empty() || row < 0 ? -1 : std::min(row, static_cast<int>(names.size()) - 1));
}

int NumberedList::Selected() const {
    return static_cast<int>(GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
}

void NumberedList::SelectRow(int row) {
    for (int i = 0; i < GetItemCount(); ++i)
        if (i != row)
            SetItemState(i, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    if (row < 0 || row >= GetItemCount())
        return;
    SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                 wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    EnsureVisible(row);
}

std::vector<wxString> NumberedList::RowTexts() const {
    std::vector<wxString> rows;
    for (int i = 0; i < GetItemCount(); ++i)
        rows.push_back(GetItemText(i, 0) + " " + GetItemText(i, 1));
    return rows;
}

bool NumberedList::HasFocusWithin() const {
    const wxWindow* focus = wxWindow::FindFocus();
    return focus != nullptr && (focus == this || const_cast<NumberedList*>(this)->IsDescendant(
                                                     const_cast<wxWindow*>(focus)));
}

} // namespace pinsum::ui
