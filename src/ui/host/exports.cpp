// The library's four exported functions and its start-up and shut-down trace lines.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <wx/app.h>
#include <wx/log.h>

#include "common/czech_translations.h"
#include "common/wx_status_sink.h"
#include "host/pinsum_dialog.h"
#include "host/program_folders.h"
#include "host/status_sink.h"
#include "host/version.h"

#define PINSUM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr const char* kTraceMask = "pinsum";

pinsum::ui::WindowStatusSink& StatusWindow() {
    static pinsum::ui::WindowStatusSink sink;
    return sink;
}

// The trace goes to wx's log when the host runs a wx application (visible with WXTRACE=pinsum)
// and to the debug output otherwise.
void Trace(const char* line) {
    if (wxTheApp != nullptr)
        wxLogTrace(kTraceMask, "%s", line);
    else if (std::getenv("WXTRACE") != nullptr)
        std::fprintf(stderr, "%s\n", line);
}

__attribute__((constructor)) void OnAttach() {
    Trace("PINSUM.DLL Initializing!");
}

__attribute__((destructor)) void OnDetach() {
    Trace("PINSUM.DLL Terminating!");
}

// The program's own path, quoted as a command line starts. The arguments are left out: on this
// platform they often hold paths, whose separators would move the program folder into them.
std::string ProgramCommandLine() {
    std::error_code error;
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (!error && !exe.empty())
        return "\"" + exe + "\"";
    std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
    std::string first;
    std::getline(cmdline, first, '\0');
    return first.empty() ? std::string() : "\"" + first + "\"";
}

} // namespace

PINSUM_EXPORT void InitGlobals() {
    pinsum::InitGlobals(ProgramCommandLine());
    pinsum::ui::UseCzechTranslations();
}

PINSUM_EXPORT void SetStatusHandle(wxWindow* window) {
    StatusWindow().SetWindow(window);
    pinsum::SetStatusSink(window != nullptr ? &StatusWindow() : nullptr);
}

PINSUM_EXPORT void GetCalculatorVersion(wxString& version) {
    version = wxString::FromUTF8(pinsum::GetCalculatorVersion());
}

PINSUM_EXPORT int RunAsDialog() {
    wxWindow* previous = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
    int code = 0;
    {
        pinsum::ui::CPinsumDialog dialog(nullptr);
        if (wxTheApp != nullptr)
            wxTheApp->SetTopWindow(&dialog);
        code = dialog.ShowModal();
        // The host keeps using its own main window afterwards.
        if (wxTheApp != nullptr)
            wxTheApp->SetTopWindow(previous);
    }
    return code;
}
