// pinsum-host: loads libpinsum.so from its own folder and runs the calculator as the library's
// host. Without arguments it calls the four exported functions, with a status window that shows
// the catalogue's load progress; with --documents it registers the library's document and view
// classes and opens calculations (*.ppl) and catalogues for the planner (*.pp) from its File menu
// and its command line.
#include <memory>

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/docview.h>
#include <wx/dynlib.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>

#include "host_document_manager.h"

namespace {

// UPDBAR: the library's load progress, a wxThreadEvent with this id.
constexpr int kLoadProgress = 37228;

using InitGlobalsFunction = void (*)();
using SetStatusHandleFunction = void (*)(wxWindow*);
using GetCalculatorVersionFunction = void (*)(wxString&);
using RunAsDialogFunction = int (*)();

wxString Utf8(const char* text) {
    return wxString::FromUTF8(text);
}

// Shows the catalogue's load progress while the calculator starts.
class StatusWindow : public wxFrame {
public:
    StatusWindow()
        : wxFrame(nullptr, wxID_ANY, Utf8("Pinsum"), wxDefaultPosition, wxDefaultSize,
                  wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
        auto* column = new wxBoxSizer(wxVERTICAL);
        m_text = new wxStaticText(this, wxID_ANY, Utf8("Načítání databáze..."));
        m_bar = new wxGauge(this, wxID_ANY, 100, wxDefaultPosition, wxSize(280, -1));
        column->Add(m_text, 0, wxALL, 8);
        column->Add(m_bar, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 8);
        SetSizerAndFit(column);
        Bind(wxEVT_THREAD, &StatusWindow::OnProgress, this, kLoadProgress);
    }

    void SetVersion(const wxString& version) {
        m_text->SetLabel(Utf8("Kalkulátor IO bodů, verze ") + version);
    }

private:
    void OnProgress(wxThreadEvent& event) {
        // -1 says the load is ending.
        m_bar->SetValue(event.GetInt() < 0 ? 100 : std::min(event.GetInt(), 100));
        m_bar->Update();
    }

    wxStaticText* m_text;
    wxGauge* m_bar;
};

class HostApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;
    void OnInitCmdLine(wxCmdLineParser& parser) override {
        wxApp::OnInitCmdLine(parser);
        parser.AddSwitch("", "documents", "open calculations and planner catalogues in windows");
        parser.AddParam("file", wxCMD_LINE_VAL_STRING,
                        wxCMD_LINE_PARAM_OPTIONAL | wxCMD_LINE_PARAM_MULTIPLE);
    }
    bool OnCmdLineParsed(wxCmdLineParser& parser) override {
        m_documents = parser.Found("documents");
        for (size_t i = 0; i < parser.GetParamCount(); ++i)
            m_files.push_back(parser.GetParam(i));
        return wxApp::OnCmdLineParsed(parser);
    }

private:
    bool LoadLibrary();
    template <class F> F Function(const char* name);
    bool RunDialog();
    bool OpenDocuments();

    wxDynamicLibrary m_library;
    std::unique_ptr<wxDocManager> m_documentManager;
    bool m_documents = false;
    std::vector<wxString> m_files;
};

template <class F> F HostApp::Function(const char* name) {
    return reinterpret_cast<F>(m_library.GetSymbol(name));
}

bool HostApp::LoadLibrary() {
    const wxString folder = wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath();
    const wxString path = folder + wxFILE_SEP_PATH + "libpinsum.so";
    if (!m_library.Load(path, wxDL_NOW)) {
        wxMessageBox(Utf8("Knihovnu kalkulátoru nelze načíst: ") + path, Utf8("Pinsum"),
                     wxOK | wxICON_ERROR);
        return false;
    }
    return true;
}

bool HostApp::OnInit() {
    // The name wx shows in the captions of its own messages, the save question among them.
    SetAppDisplayName(Utf8("Kalkulátor IO bodů"));
    if (!wxApp::OnInit() || !LoadLibrary())
        return false;
    auto initGlobals = Function<InitGlobalsFunction>("InitGlobals");
    if (initGlobals == nullptr)
        return false;
    initGlobals();
    return m_documents ? OpenDocuments() : RunDialog();
}

bool HostApp::RunDialog() {
    auto setStatusHandle = Function<SetStatusHandleFunction>("SetStatusHandle");
    auto getVersion = Function<GetCalculatorVersionFunction>("GetCalculatorVersion");
    auto runAsDialog = Function<RunAsDialogFunction>("RunAsDialog");
    if (setStatusHandle == nullptr || getVersion == nullptr || runAsDialog == nullptr)
        return false;
    auto* status = new StatusWindow();
    wxString version;
    getVersion(version);
    status->SetVersion(version);
    SetTopWindow(status);
    status->Show();
    status->Update();
    setStatusHandle(status);
    runAsDialog();
    setStatusHandle(nullptr);
    status->Destroy();
    // Nothing more to do: the application ends when the status window has gone.
    return true;
}

bool HostApp::OpenDocuments() {
    wxClassInfo* calcDoc = wxClassInfo::FindClass("CCalcDoc");
    wxClassInfo* calcView = wxClassInfo::FindClass("CCalcView");
    wxClassInfo* plannerDoc = wxClassInfo::FindClass("CPlannerDoc");
    wxClassInfo* plannerView = wxClassInfo::FindClass("CPlannerView");
    if (calcDoc == nullptr || calcView == nullptr || plannerDoc == nullptr ||
        plannerView == nullptr) {
        wxMessageBox(Utf8("Knihovna kalkulátoru neobsahuje třídy dokumentů."), Utf8("Pinsum"),
                     wxOK | wxICON_ERROR);
        return false;
    }
    m_documentManager = std::make_unique<HostDocumentManager>();
    auto* calculation =
        new wxDocTemplate(m_documentManager.get(), Utf8("Kalkulace IO bodů"), "*.ppl", "", "ppl",
                          "Calculator Document", "Calculator View", calcDoc, calcView);
    new wxDocTemplate(m_documentManager.get(), Utf8("Databáze plánovače"), "*.pp", "", "pp",
                      "Planner Document", "Planner View", plannerDoc, plannerView);
    auto* frame =
        new wxDocParentFrame(m_documentManager.get(), nullptr, wxID_ANY, Utf8("Pinsum – dokumenty"),
                             wxDefaultPosition, wxSize(420, 120));
    auto* file = new wxMenu();
    file->Append(wxID_NEW, Utf8("&Nový\tCtrl+N"));
    file->Append(wxID_OPEN, Utf8("&Otevřít...\tCtrl+O"));
    file->Append(wxID_SAVE, Utf8("&Uložit\tCtrl+S"));
    file->Append(wxID_SAVEAS, Utf8("Uložit &jako..."));
    file->Append(wxID_CLOSE, Utf8("&Zavřít"));
    file->AppendSeparator();
    // The document manager prints the active view.
    file->Append(wxID_PRINT, Utf8("&Tisk...\tCtrl+P"));
    file->Append(wxID_PREVIEW, Utf8("Náhled &tisku"));
    file->AppendSeparator();
    file->Append(wxID_EXIT, Utf8("&Konec"));
    m_documentManager->FileHistoryUseMenu(file);
    auto* menus = new wxMenuBar();
    menus->Append(file, Utf8("&Soubor"));
    frame->SetMenuBar(menus);
    SetTopWindow(frame);
    frame->Show();
    for (const wxString& path : m_files)
        m_documentManager->CreateDocument(path, wxDOC_SILENT);
    // Without files the host starts with a new calculation.
    if (m_files.empty())
        if (wxDocument* document = calculation->CreateDocument(wxString(), wxDOC_NEW))
            if (!document->OnNewDocument())
                document->DeleteAllViews();
    return true;
}

int HostApp::OnExit() {
    // Documents and views of the library go before the library does.
    m_documentManager.reset();
    return wxApp::OnExit();
}

} // namespace

wxIMPLEMENT_APP(HostApp);
