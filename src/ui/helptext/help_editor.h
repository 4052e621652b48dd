#pragma once

#include <string>

#include <wx/dialog.h>
#include <wx/richtext/richtextctrl.h>

namespace pinsum::ui {

// The help editor: a rich-text control (id 4012) with the format commands bold, italic,
// underline, colour and picture (52064 to 52068), offered on a tool bar above the text and in
// the text's context menu, and enabled only while the text has the focus. It shows the current
// language's section of a stored help and, on OK, stores what it shows back into that section;
// an emptied text stores an empty help. The planner's property dialogs derive from it.
class CHelpEditor : public wxDialog {
public:
    // The stand-alone editor on a stored help (Windows-1250).
    CHelpEditor(wxWindow* parent, std::string help);

    // The stored help: as given until the data are taken from the window, then the edited one.
    const std::string& Help() const { return m_help; }
    // When not empty, the window's title instead of the dialog's own.
    void SetCaption(const wxString& caption);

    wxRichTextCtrl* RichEdit() const { return m_edit; }

    // Puts the picture of a file at the selection: a JPEG file when the extension is "jpg" in any
    // letter case, a Windows bitmap file otherwise. A file that cannot be read inserts nothing
    // and shows nothing (false).
    bool InsertPictureFile(const wxString& path);
    // Colours the selection, or the text typed next when nothing is selected.
    void ApplyColour(const wxColour& colour);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

protected:
    // For the property dialogs, which lay their controls out around CreateHelpPane's window.
    CHelpEditor(wxWindow* parent, const wxString& title, std::string help);
    // The format tool bar above the rich-text control, editSize (dialog units) big.
    wxWindow* CreateHelpPane(wxWindow* parent, int width, int height);
    // The picture file the user chose; empty when none.
    virtual wxString AskPictureFile();

private:
    void BindCommands();
    bool EditHasFocus() const;
    void OnFormat(wxCommandEvent& event);
    void OnUpdateFormat(wxUpdateUIEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);

    std::string m_help;
    wxString m_caption;
    wxRichTextCtrl* m_edit = nullptr;
    wxColour m_lastColour = *wxBLACK;
};

} // namespace pinsum::ui
