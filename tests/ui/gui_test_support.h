#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/docview.h>
#include <wx/modalhook.h>
#include <wx/treectrl.h>
#include <wx/window.h>

namespace pinsum::test {

// Handles the events that have come in, for about ms milliseconds.
void Pump(int ms = 50);

// The document host's main frame over the manager, shown and made the top window.
wxDocParentFrame* ShowDocumentFrame(wxDocManager* manager);
// Closes every document without saving, then the frame, and deletes the manager.
void CloseDocumentWindows(wxDocManager* manager, wxFrame* frame);
// Handles events until done() holds; false when timeoutMs passed first.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000);

// The items at the top of a tree with a hidden root.
size_t TopLevelItems(const wxTreeCtrl* tree);

// Presses a key as the user would with the focus in target: the key goes first to wx's char
// hook of the target and its parents.
void PressKey(wxWindow* target, int keyCode);
void Click(wxWindow* button);

// Writes what the screen shows of the rectangle (screen coordinates) as a PNG file under the
// build's screenshot folder; returns its path.
std::string SaveScreenshot(const wxRect& area, const std::string& name);

// Answers every modal dialog the code under test opens, and remembers each: message boxes get
// their default button (Yes for a question unless told otherwise), the count editor is cancelled
// and the report dialog closed after its text is read; the progress dialogs run for real.
class DialogScript : public wxModalDialogHook {
public:
    struct Shown {
        wxString kind;    // "message", "count", "report", or the dialog's class name
        wxString message; // a message box's text, the report's text, the count dialog's title
    };

    DialogScript() { Register(); }
    ~DialogScript() override { Unregister(); }

    // Lets a test answer differently: return wxID_NONE to show the dialog for real, anything
    // else to end it with that code, or nothing to fall back to the default.
    std::function<std::optional<int>(wxDialog*)> answer;
    bool answerYes = true;
    std::vector<Shown> shown;

    std::vector<wxString> Messages() const;
    void Clear() { shown.clear(); }

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog*) override {}
};

// The sample catalogue the build made.
std::string SampleCatalogue();
// The folder the tests write their screenshots to.
std::string ScreenshotFolder();

} // namespace pinsum::test
