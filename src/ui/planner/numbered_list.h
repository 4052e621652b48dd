#pragma once

#include <vector>

#include <wx/listctrl.h>

namespace pinsum::ui {

// The property dialogs' report lists: a "Číslo" column with each row's position counted from 0
// and a column of names. The dialog keeps the rows' objects; the list only shows them.
class NumberedList : public wxListCtrl {
public:
    NumberedList(wxWindow* parent, int id, const wxString& nameColumn, const wxSize& size,
                 bool checkBoxes = false);

    // Shows the names numbered 0, 1, 2 ... and selects and focuses the row (the last one when
    // row is past the end, none for -1 or an empty list).
    void ShowRows(const std::vector<wxString>& names, int row);
    int Selected() const;
    void SelectRow(int row);
    // "number name" of every row, as the user reads them.
    std::vector<wxString> RowTexts() const;
    // Focus on the list or on the window inside it that takes the keys.
    bool HasFocusWithin() const;

private:
    void FitNameColumn();
};

} // namespace pinsum::ui
