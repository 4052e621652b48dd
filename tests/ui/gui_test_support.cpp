#include "ui/gui_test_support.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>
#include <optional>

#include <wx/app.h>
#include <wx/msgdlg.h>

#include "calc/compile_dialog.h"
#include "calc/count_dialog.h"
#include "calc/solution_text_dialog.h"
#include "update/ftp_update_dialog.h"

namespace pinsum::test {

wxDocParentFrame* ShowDocumentFrame(wxDocManager* manager) {
    auto* frame = new wxDocParentFrame(manager, nullptr, wxID_ANY, "Pinsum");
    wxTheApp->SetTopWindow(frame);
    frame->Show();
    return frame;
}

void CloseDocumentWindows(wxDocManager* manager, wxFrame* frame) {
    // Nothing is to be saved on the way out.
    for (wxDocument* doc : manager->GetDocumentsVector())
        doc->Modify(false);
    manager->CloseDocuments(true);
    Pump(20);
    frame->Destroy();
    Pump(20);
    delete manager;
}

void Pump(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->Yield(true);
        wxTheApp->ProcessIdle();
        wxMilliSleep(2);
    } while (std::chrono::steady_clock::now() < end);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Pump(5);
    }
    return true;
}

size_t TopLevelItems(const wxTreeCtrl* tree) {
    return tree->GetRootItem().IsOk() ? tree->GetChildrenCount(tree->GetRootItem(), false) : 0;
}

void PressKey(wxWindow* target, int keyCode) {
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.m_keyCode = keyCode;
    event.SetEventObject(target);
    // The char hook travels up from the focused window, as a real key press's does.
    event.ResumePropagation(wxEVENT_PROPAGATE_MAX);
    target->GetEventHandler()->ProcessEvent(event);
}

void Click(wxWindow* button) {
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

std::string ScreenshotFolder() {
    return PINSUM_SCREENSHOT_DIR;
}

std::string SampleCatalogue() {
    return PINSUM_SAMPLE_CATALOGUE;
}

std::string SaveScreenshot(const wxRect& area, const std::string& name) {
    std::filesystem::create_directories(ScreenshotFolder());
    const std::string path = ScreenshotFolder() + "/" + name;
    // What the X server shows, windows of every process and pop-ups included.
    const std::string command =
        "import -window root -crop " + std::to_string(area.GetWidth()) + "x" +
        std::to_string(area.GetHeight()) + "+" + std::to_string(std::max(area.GetX(), 0)) + "+" +
        std::to_string(std::max(area.GetY(), 0)) + " +repage '" + path + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path;
}

std::vector<wxString> DialogScript::Messages() const {
    std::vector<wxString> messages;
    for (const Shown& entry : shown)
        if (entry.kind == "message")
            messages.push_back(entry.message);
    return messages;
}

int DialogScript::Enter(wxDialog* dialog) {
    if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
        shown.push_back({"message", box->GetMessage()});
        if (answer)
            if (const std::optional<int> code = answer(dialog))
                return *code;
        if (box->GetMessageDialogStyle() & wxYES_NO)
            return answerYes ? wxID_YES : wxID_NO;
        return wxID_OK;
    }
    if (auto* count = dynamic_cast<ui::CParameterDialog*>(dialog))
        shown.push_back({"count", count->GetTitle()});
    else if (auto* report = dynamic_cast<ui::CioSolutionText*>(dialog))
        shown.push_back({"report", report->Field()->GetValue()});
    else
        shown.push_back({dialog->GetClassInfo()->GetClassName(), dialog->GetTitle()});
    if (answer)
        if (const std::optional<int> code = answer(dialog))
            return *code;
    if (dynamic_cast<ui::CParameterDialog*>(dialog) != nullptr)
        return wxID_CANCEL;
    if (dynamic_cast<ui::CioSolutionText*>(dialog) != nullptr)
        return wxID_OK;
    // The progress dialogs run; anything else (a file dialog) would wait for a user.
    if (dynamic_cast<ui::CIoCompileDialog*>(dialog) != nullptr ||
        dynamic_cast<ui::CFtpUpdateDialog*>(dialog) != nullptr)
        return wxID_NONE;
    return wxID_CANCEL;
}

} // namespace pinsum::test
