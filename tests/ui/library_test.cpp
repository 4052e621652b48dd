// libpinsum.so as a host uses it: loaded at run time, its four functions called, its document
// and view classes found by name. Linked against wx only, never against the library.
#include <libintl.h>

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/docview.h>
#include <wx/dynlib.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/stockitem.h>
#include <wx/timer.h>

namespace {

constexpr int kLoadProgress = 37228;

class TestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Answers message boxes; lets the calculator dialog run, and presses Escape in it once it is up.
class Script : public wxModalDialogHook {
public:
    int Enter(wxDialog* dialog) override {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
            messages.push_back(box->GetMessage());
            return wxID_OK;
        }
        calculator = dialog;
        title = dialog->GetTitle();
        escape.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            wxWindow* focus = wxWindow::FindFocus();
            wxWindow* target = focus != nullptr ? focus : calculator->GetChildren().front();
            wxKeyEvent key(wxEVT_CHAR_HOOK);
            key.m_keyCode = WXK_ESCAPE;
            key.SetEventObject(target);
            key.ResumePropagation(wxEVENT_PROPAGATE_MAX);
            target->GetEventHandler()->ProcessEvent(key);
        });
        escape.Start(300);
        return wxID_NONE;
    }
    void Exit(wxDialog*) override { escape.Stop(); }

    wxTimer escape;
    wxDialog* calculator = nullptr;
    wxString title;
    std::vector<wxString> messages;
};

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_library.Load(PINSUM_LIBRARY, wxDL_NOW)) << PINSUM_LIBRARY;
    }
    template <class F> F Function(const char* name) {
        return reinterpret_cast<F>(m_library.GetSymbol(name));
    }
    wxDynamicLibrary m_library;
};

TEST_F(LibraryTest, TheExportsRunTheCalculatorDialogWithLoadProgress) {
    auto initGlobals = Function<void (*)()>("InitGlobals");
    auto setStatusHandle = Function<void (*)(wxWindow*)>("SetStatusHandle");
    auto getVersion = Function<void (*)(wxString&)>("GetCalculatorVersion");
    auto runAsDialog = Function<int (*)()>("RunAsDialog");
    ASSERT_TRUE(initGlobals && setStatusHandle && getVersion && runAsDialog);

    wxString version;
    getVersion(version);
    EXPECT_EQ(version, "1, 0, 0, 5");

    initGlobals();
    auto* status = new wxFrame(nullptr, wxID_ANY, "status");
    std::vector<int> progress;
    status->Bind(
        wxEVT_THREAD, [&](wxThreadEvent& event) { progress.push_back(event.GetInt()); },
        kLoadProgress);
    wxTheApp->SetTopWindow(status);
    setStatusHandle(status);
    Script script;
    script.Register();
    const int code = runAsDialog();
    script.Unregister();
    setStatusHandle(nullptr);

    EXPECT_EQ(code, wxID_CANCEL);
    EXPECT_EQ(script.title, wxString::FromUTF8("Kalkulátor IO bodů"));
    EXPECT_TRUE(script.messages.empty());
    // The catalogue beside this program was read with progress, ending with -1.
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), -1);
    EXPECT_EQ(wxTheApp->GetTopWindow(), status);
    status->Destroy();
}

TEST_F(LibraryTest, TheDocumentAndViewClassesAreFoundByName) {
    for (const char* name : {"CCalcDoc", "CPlannerDoc"}) {
        const wxClassInfo* info = wxClassInfo::FindClass(name);
        ASSERT_NE(info, nullptr) << name;
        EXPECT_TRUE(info->IsKindOf(CLASSINFO(wxDocument))) << name;
        std::unique_ptr<wxObject> object(info->CreateObject());
        EXPECT_NE(dynamic_cast<wxDocument*>(object.get()), nullptr) << name;
    }
    for (const char* name : {"CCalcView", "CPlannerView"}) {
        const wxClassInfo* info = wxClassInfo::FindClass(name);
        ASSERT_NE(info, nullptr) << name;
        EXPECT_TRUE(info->IsKindOf(CLASSINFO(wxView))) << name;
    }
}

// Answers the save question with No and keeps its text.
class SaveQuestion : public wxModalDialogHook {
public:
    SaveQuestion() { Register(); }
    ~SaveQuestion() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog))
            messages.push_back(box->GetMessage());
        return wxID_NO;
    }
    void Exit(wxDialog*) override {}
    std::vector<wxString> messages;
};

// What wx and GTK draw themselves (buttons, the names of new documents, the save question) speaks
// Czech once the host has called InitGlobals.
TEST_F(LibraryTest, WxAndGtkSpeakCzechAfterInitGlobals) {
    auto initGlobals = Function<void (*)()>("InitGlobals");
    ASSERT_TRUE(initGlobals);
    initGlobals();
    EXPECT_EQ(wxGetStockLabel(wxID_CANCEL, wxSTOCK_NOFLAGS), "Storno");
    // GTK's message boxes take Yes and No from its stock labels.
    EXPECT_STREQ(dgettext("gtk30", "Stock label\004_No"), "_Ne");

    auto* manager = new wxDocManager();
    new wxDocTemplate(manager, "Kalkulace", "*.ppl", "", "ppl", "Calculator Document",
                      "Calculator View", wxClassInfo::FindClass("CCalcDoc"),
                      wxClassInfo::FindClass("CCalcView"));
    auto* frame = new wxDocParentFrame(manager, nullptr, wxID_ANY, "Pinsum");
    wxTheApp->SetTopWindow(frame);
    frame->Show();
    wxDocument* document = manager->CreateDocument(wxString(), wxDOC_NEW);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetUserReadableName(), wxString::FromUTF8("nepojmenovaný1"));
    document->Modify(true);
    {
        SaveQuestion question;
        EXPECT_TRUE(manager->CloseDocuments(false));
        ASSERT_EQ(question.messages.size(), 1u);
        EXPECT_EQ(question.messages[0],
                  wxString::FromUTF8("Chcete uložit změny v nepojmenovaný1?"));
    }
    frame->Destroy();
    // The frame goes at the next idle time, before its manager.
    wxTheApp->ProcessIdle();
    delete manager;
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new TestApp());
    if (!wxEntryStart(argc, argv))
        return 1;
    wxTheApp->CallOnInit();
    const int status = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return status;
}
