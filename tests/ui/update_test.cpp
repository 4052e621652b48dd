// The database update from the host dialog against a real FTP server on this machine.
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include <gtest/gtest.h>
#include <wx/timer.h>

#include "common/ui_texts.h"
#include "common/wx_text.h"
#include "host/file_io.h"
#include "host/memory_settings.h"
#include "host/pinsum_dialog.h"
#include "host/program_folders.h"
#include "model/cio_node.h"
#include "support/catalogue_generator.h"
#include "support/ftp_test_server.h"
#include "support/update_helpers.h"
#include "ui/gui_test_support.h"
#include "update/ftp_update_dialog.h"

namespace pinsum::test {
namespace {

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(SampleCatalogue(), m_folder.File("iodb.pp"));
        InitGlobals("\"" + m_folder.File("pinsum-host") + "\"");
        setenv("PINSUM_FTP_URL", m_server.Url().c_str(), 1);
        setenv("PINSUM_FTP_USER", FtpTestServer::kUser, 1);
        setenv("PINSUM_FTP_PASSWORD", FtpTestServer::kPassword, 1);
    }
    void TearDown() override {
        unsetenv("PINSUM_FTP_URL");
        unsetenv("PINSUM_FTP_USER");
        unsetenv("PINSUM_FTP_PASSWORD");
        ResetProgramFolders();
    }

    TempFolder m_folder;
    // Slow enough that the progress dialog is seen working.
    FtpTestServer m_server{100000};
    DialogScript m_script;
};

TEST_F(UpdateTest, ManualUpdateInstallsTheNewCatalogueAndRestartsTheProject) {
    // Big enough that the throttled download takes a few seconds.
    CatalogueShape shape = TinyShape();
    shape.ioKinds = 20;
    shape.modules = 200;
    shape.devices = 30;
    shape.helpBytes = 1200;
    const std::vector<uint8_t> newer = GenerateCatalogueFile(shape);
    ASSERT_GT(newer.size(), 100000u);
    m_server.PutFile("iodb.pp", newer, static_cast<int64_t>(std::time(nullptr)) + 3600);
    wxTimer shot;
    std::string shotPath;
    std::vector<int> percents;
    m_script.answer = [&](wxDialog* dialog) -> std::optional<int> {
        if (auto* progress = dynamic_cast<ui::CFtpUpdateDialog*>(dialog)) {
            shot.Bind(wxEVT_TIMER, [&, progress](wxTimerEvent&) {
                percents.push_back(progress->Bar()->GetValue());
                if (shotPath.empty() && progress->IsShown() && progress->Bar()->GetValue() > 0)
                    shotPath =
                        SaveScreenshot(progress->GetScreenRect().Inflate(8), "update_dialog.png");
            });
            shot.Start(150);
        }
        return std::nullopt;
    };
    auto* dialog = new ui::CPinsumDialog(nullptr, std::make_unique<MemorySettings>());
    dialog->Show();
    Pump(100);
    // A count the restart is to clear.
    wxTreeCtrl* io = dialog->Form().IoTree();
    wxTreeItemIdValue cookie;
    const wxTreeItemId first = io->GetFirstChild(io->GetRootItem(), cookie);
    dynamic_cast<CioNode*>(
        dialog->Form().IoTreeControl().GetItemData(ui::WxTreeControl::Handle(first)))
        ->count = 5;
    dialog->OnUpdateDatabase();
    shot.Stop();

    EXPECT_FALSE(shotPath.empty());
    ASSERT_FALSE(percents.empty());
    EXPECT_GT(percents.back(), 0);
    EXPECT_EQ(ReadFileBytes(m_folder.File("iodb.pp")), newer);
    const auto messages = m_script.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], ui::Text(TextId::RestartQuestion));
    // Restarted on the new file: a fresh request in full trees.
    ASSERT_NE(dialog->Project().database, nullptr);
    EXPECT_EQ(TopLevelItems(io) + TopLevelItems(dialog->Form().TerminalTree()),
              dialog->Project().database->ioKinds.Count());
    const wxTreeItemId restarted = io->GetFirstChild(io->GetRootItem(), cookie);
    EXPECT_TRUE(io->GetItemText(restarted).StartsWith("0 x "));
    dialog->Destroy();
    Pump(20);
}

TEST_F(UpdateTest, ACurrentDatabaseIsSaidSoAndNothingIsDownloaded) {
    m_server.PutFile("iodb.pp", CatalogueBytes(2), 1000);
    auto* dialog = new ui::CPinsumDialog(nullptr, std::make_unique<MemorySettings>());
    dialog->Show();
    Pump(50);
    dialog->OnUpdateDatabase();
    ASSERT_EQ(m_script.Messages().size(), 1u);
    EXPECT_EQ(m_script.Messages()[0], ui::Text(TextId::DatabaseCurrent));
    EXPECT_EQ(m_script.shown.size(), 1u);
    EXPECT_EQ(ReadFileBytes(m_folder.File("iodb.pp")), ReadFileBytes(SampleCatalogue()));
    dialog->Destroy();
    Pump(20);
}

TEST_F(UpdateTest, TheAutomaticCheckOffersTheNewerCatalogue) {
    m_server.PutFile("iodb.pp", CatalogueBytes(2), static_cast<int64_t>(std::time(nullptr)) + 60);
    auto settings = std::make_unique<MemorySettings>();
    settings->WriteUInt32("Software\\Tarvesko\\Planner", "Autoupdate", 1);
    m_script.answerYes = false;
    auto* dialog = new ui::CPinsumDialog(nullptr, std::move(settings));
    dialog->Show();
    ASSERT_TRUE(PumpUntil([&] { return !m_script.Messages().empty(); }));
    EXPECT_EQ(m_script.Messages()[0], ui::Text(TextId::InstallQuestion));
    EXPECT_FALSE(dialog->UpdateRunning());
    EXPECT_EQ(dialog->Form().Caption()->GetLabel(), "");
    dialog->Destroy();
    Pump(20);
}

} // namespace
} // namespace pinsum::test
