// Runs the GUI tests inside one wx application; the display is Xvfb's when there is no other.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/image.h>

namespace {

class TestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// A failed wx check is a fault of the code under test; the default handler would wait for
// someone to answer its dialog.
void FailOnAssert(const wxString& file, int line, const wxString& function, const wxString& cond,
                  const wxString& message) {
    ADD_FAILURE_AT(file.utf8_str(), line) << "wx check failed in " << function.utf8_string() << ": "
                                          << cond.utf8_string() << " " << message.utf8_string();
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxSetAssertHandler(FailOnAssert);
    wxApp::SetInstance(new TestApp());
    if (!wxEntryStart(argc, argv))
        return 1;
    wxTheApp->CallOnInit();
    wxInitAllImageHandlers();
    const int status = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return status;
}
