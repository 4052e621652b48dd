#pragma once

#include <functional>
#include <vector>

#include <wx/string.h>
#include <wx/window.h>

namespace pinsum {
class CioNode;
class CioProject;
struct SignalImport;
} // namespace pinsum

namespace pinsum::ui {

// The Czech account of a list that was loaded: how many signals were counted, the types that are
// no IO kind of the catalogue with their rows and the names like them, and the rows left out.
wxString SignalListMessage(const SignalImport& import, const wxString& fileName);

// "Načíst seznam signálů…": asks for a signal list (XLSX or CSV), sets the project's request
// counts from it and tells the user what it held besides its signals. When some of its types are
// no IO kind, the user may choose a map file for them, and the list is counted again with it.
// shown is called after every change of the counts, with the terminal items the list checked, so
// that the form shows them. A list or a map file that cannot be read changes nothing. Returns
// whether the counts changed.
bool LoadSignalList(wxWindow* parent, CioProject& project,
                    const std::function<void(const std::vector<CioNode*>&)>& shown);

// "Uložit nabídku…": asks where to write the PDF quotation of the solution with that index and
// writes it there whole or not at all; a failure is reported in a message box.
void SaveQuotation(wxWindow* parent, const CioProject& project, size_t index);

} // namespace pinsum::ui
