// Runs the GUI tests inside one wx application; the display is Xvfb's when there is no other.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/image.h>

namespace {

class TestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
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
