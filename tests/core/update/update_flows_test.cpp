#include "update/update_flows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "host/file_io.h"
#include "support/failing_writes.h"
#include "support/update_helpers.h"

namespace pinsum {
namespace {

using test::FtpTestServer;
using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

constexpr int64_t kServerTime = 1700000000;

class UpdateFlowsTest : public ::testing::Test {
protected:
    explicit UpdateFlowsTest(uint32_t throttle = 0)
        : server(throttle), flows(test::ServerConfig(server), data.Path(), messenger, dialog) {}

    std::string DataFile(const char* name) const { return data.File(name); }
    Texts Shown() const { return test::ShownUtf8(messenger); }
    // What the data folder holds, so that a download left behind shows.
    Texts DataFolder() const {
        Texts names;
        for (const auto& entry : fs::directory_iterator(data.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    FtpTestServer server;
    test::TempFolder data;
    test::RecordingMessenger messenger;
    test::ScriptedDialog dialog;
    UpdateFlows flows;
};

class UpdateFlowsCancelTest : public UpdateFlowsTest {
protected:
    // Slow enough that "Storno" always comes before the end of the transfer.
    UpdateFlowsCancelTest() : UpdateFlowsTest(50000) { dialog.cancelAfterFirstChunk = true; }
};

TEST_F(UpdateFlowsTest, CheckWordsEveryOutcome) {
    const struct {
        const char* what;
        bool onServer;
        std::optional<int64_t> localTime;
        FlowEnd end;
        Texts shown;
    } cases[] = {
        {"server copy newer", true, kServerTime - 1, FlowEnd::Done, {}},
        {"no local copy", true, std::nullopt, FlowEnd::Done, {}},
        {"same time", true, kServerTime, FlowEnd::Current, {"Databáze je aktuální"}},
        {"not on the server",
         false,
         kServerTime - 1,
         FlowEnd::Failed,
         {"Aktualizace nebyla nalezena"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messenger.shown.clear();
        std::filesystem::remove(server.Home() + "/iodb.pp");
        std::filesystem::remove(DataFile(kDatabaseFileName));
        if (c.onServer)
            server.PutFile("iodb.pp", test::CatalogueBytes(2), kServerTime);
        if (c.localTime)
            test::WriteFile(DataFile(kDatabaseFileName), test::CatalogueBytes(1), c.localTime);
        EXPECT_EQ(flows.CheckForUpdate(), c.end);
        EXPECT_EQ(Shown(), c.shown);
    }
    EXPECT_EQ(dialog.shows, 0);
}

TEST_F(UpdateFlowsTest, UpdateInstallsTheNewCatalogueWithTheServersTime) {
    const std::vector<uint8_t> fresh = test::CatalogueBytes(2);
    server.PutFile("iodb.pp", fresh, kServerTime);
    test::WriteFile(DataFile(kDatabaseFileName), test::CatalogueBytes(1), kServerTime - 60);

    EXPECT_EQ(flows.UpdateDatabase(false), FlowEnd::Done);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(ReadFileBytes(DataFile(kDatabaseFileName)), fresh);
    EXPECT_EQ(test::FileTime(DataFile(kDatabaseFileName)), kServerTime);
    EXPECT_EQ(DataFolder(), Texts{"iodb.pp"});
    EXPECT_EQ(dialog.shows, 1);
    EXPECT_EQ(dialog.statuses.back(), "iodb.pp");
    EXPECT_EQ(dialog.lastPercent, 100);

    // The installed copy carries the server's time, so the next check finds it current.
    EXPECT_EQ(flows.UpdateDatabase(false), FlowEnd::Current);
    EXPECT_EQ(Shown(), Texts{"Databáze je aktuální"});
}

TEST_F(UpdateFlowsTest, AnUnreachableServerIsReportedOnceWithoutTheProgressDialog) {
    FtpConfig config = test::ServerConfig(server);
    config.url = "ftp://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/";
    UpdateFlows unreachable(config, data.Path(), messenger, dialog);
    EXPECT_EQ(unreachable.UpdateDatabase(false), FlowEnd::Failed);
    EXPECT_EQ(Shown(), Texts{"Server je nedostupný"});
    EXPECT_EQ(messenger.icons, std::vector<MessageIcon>{MessageIcon::Stop});
    EXPECT_EQ(dialog.shows, 0);
}

// A download that completes but is no catalogue used to replace the good one.
TEST_F(UpdateFlowsTest, ADownloadThatIsNoCatalogueNeverReplacesTheInstalledOne) {
    const std::vector<uint8_t> installed = test::CatalogueBytes(1);
    const std::vector<uint8_t> good = test::CatalogueBytes(2);
    const struct {
        const char* what;
        std::vector<uint8_t> served;
    } cases[] = {
        {"cut short by the server", std::vector<uint8_t>(good.begin(), good.end() - 40)},
        {"wrong magic", test::PatternBytes(good.size())},
        {"damaged contents",
         [&] {
             std::vector<uint8_t> damaged = good;
             damaged[40] ^= 0x5A;
             damaged[41] ^= 0xFF;
             return damaged;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messenger.shown.clear();
        test::WriteFile(DataFile(kDatabaseFileName), installed, kServerTime - 60);
        server.PutFile("iodb.pp", c.served, kServerTime);
        EXPECT_EQ(flows.UpdateDatabase(true), FlowEnd::Failed);
        EXPECT_EQ(Shown(), Texts{"Chyba aktualizace"});
        EXPECT_EQ(flows.FailureDetail().rfind("the file is not a catalogue: ", 0), 0u)
            << flows.FailureDetail();
        EXPECT_EQ(ReadFileBytes(DataFile(kDatabaseFileName)), installed);
        EXPECT_EQ(DataFolder(), Texts{"iodb.pp"}) << "the rejected download is removed";
    }
}

// Deleting the old file before renaming the new one used to leave no catalogue at all when the
// rename failed. Every step of writing the download can fail; each keeps the old catalogue,
// removes the download and says why.
TEST_F(UpdateFlowsTest, AFailedReplacementKeepsTheOldCatalogueAndSaysWhy) {
    const std::vector<uint8_t> installed = test::CatalogueBytes(1);
    server.PutFile("iodb.pp", test::CatalogueBytes(2), kServerTime);
    const struct {
        test::WriteStep step;
        int code;
        const char* shown;
    } cases[] = {
        {test::WriteStep::Create, EROFS, "Chyba aktualizace"},
        {test::WriteStep::Sync, ENOSPC, "Nelze přepsat soubor databáze"},
        {test::WriteStep::Rename, ENOENT, "Nelze přepsat soubor databáze"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown + std::string(" ") + std::strerror(c.code));
        messenger.shown.clear();
        test::WriteFile(DataFile(kDatabaseFileName), installed, kServerTime - 60);
        {
            test::FailingWrites failing(c.step, c.code);
            EXPECT_EQ(flows.UpdateDatabase(true), FlowEnd::Failed);
        }
        EXPECT_EQ(Shown(), Texts{c.shown});
        EXPECT_NE(flows.FailureDetail().find(std::strerror(c.code)), std::string::npos)
            << flows.FailureDetail();
        EXPECT_EQ(ReadFileBytes(DataFile(kDatabaseFileName)), installed);
        EXPECT_EQ(DataFolder(), Texts{"iodb.pp"});
    }
}

// The download used to go to the fixed name "iodb.tmp" and follow a link placed there: it
// overwrote the file the link named, even when the download was then rejected, and renamed the
// link into place as the catalogue.
TEST_F(UpdateFlowsTest, ALinkAtTheOldDownloadNameIsNeverFollowed) {
    const std::string victim = DataFile("victim");
    test::WriteFile(victim, {'k', 'e', 'e', 'p'});
    fs::create_symlink(victim, DataFile("iodb.tmp"));
    test::WriteFile(DataFile(kDatabaseFileName), test::CatalogueBytes(1), kServerTime - 60);
    server.PutFile("iodb.pp", test::PatternBytes(3000), kServerTime);
    EXPECT_EQ(flows.UpdateDatabase(true), FlowEnd::Failed);
    const std::vector<uint8_t> fresh = test::CatalogueBytes(2);
    server.PutFile("iodb.pp", fresh, kServerTime);
    EXPECT_EQ(flows.UpdateDatabase(true), FlowEnd::Done);

    EXPECT_EQ(ReadFileBytes(victim), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_TRUE(fs::is_symlink(DataFile("iodb.tmp")));
    EXPECT_FALSE(fs::is_symlink(DataFile(kDatabaseFileName)));
    EXPECT_EQ(ReadFileBytes(DataFile(kDatabaseFileName)), fresh);
}

// An installed catalogue that is a link, say into a shared folder, stays a link: the file it
// leads to is replaced, with its permission bits.
TEST_F(UpdateFlowsTest, AnInstalledLinkStaysAndItsFileIsReplacedWithItsBits) {
    fs::create_directory(DataFile("shared"));
    const std::string real = DataFile("shared/catalogue.pp");
    test::WriteFile(real, test::CatalogueBytes(1), kServerTime - 60);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("shared/catalogue.pp", DataFile(kDatabaseFileName));
    const std::vector<uint8_t> fresh = test::CatalogueBytes(2);
    server.PutFile("iodb.pp", fresh, kServerTime);

    EXPECT_EQ(flows.UpdateDatabase(false), FlowEnd::Done);
    EXPECT_TRUE(fs::is_symlink(DataFile(kDatabaseFileName)));
    EXPECT_EQ(ReadFileBytes(real), fresh);
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(DataFile("shared")), fs::directory_iterator()),
              1);
}

TEST_F(UpdateFlowsTest, UpdateWithoutTheCheckWordsResultsByItsOwnColumn) {
    test::WriteFile(DataFile(kDatabaseFileName), test::CatalogueBytes(1), kServerTime);
    EXPECT_EQ(flows.UpdateDatabase(true), FlowEnd::Failed);
    server.PutFile("iodb.pp", test::CatalogueBytes(2), kServerTime);
    EXPECT_EQ(flows.UpdateDatabase(true), FlowEnd::Current);
    EXPECT_EQ(Shown(), (Texts{"Chyba aktualizace", "Databáze je aktuální"}));
    EXPECT_EQ(dialog.shows, 2);
}

TEST_F(UpdateFlowsTest, ADialogThatCannotStartEndsInChybaAktualizace) {
    FtpConfig config = test::ServerConfig(server);
    config.url.clear();
    UpdateFlows unconfigured(config, data.Path(), messenger, dialog);
    EXPECT_EQ(unconfigured.UpdateDatabase(true), FlowEnd::Failed);
    EXPECT_EQ(unconfigured.FailureDetail(), "no update server address");
    test::WriteFile(DataFile("export.pp"), test::CatalogueBytes(1));
    EXPECT_EQ(unconfigured.ExportDatabase(DataFile("export.pp"), nullptr), FlowEnd::Failed);
    EXPECT_EQ(unconfigured.FailureDetail(), "no update server address");
    EXPECT_EQ(Shown(), (Texts{"Chyba aktualizace", "Chyba aktualizace"}));
}

TEST_F(UpdateFlowsTest, ExportSavesFirstThenSendsUnderTheBareName) {
    const std::vector<uint8_t> bytes = test::CatalogueBytes(2);
    test::WriteFile(DataFile("Katalog.pp"), bytes);
    EXPECT_EQ(flows.ExportDatabase(DataFile("Katalog.pp"), [] { return false; }), FlowEnd::Failed);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(dialog.shows, 0);

    int saves = 0;
    EXPECT_EQ(flows.ExportDatabase(DataFile("Katalog.pp"), [&] { return ++saves > 0; }),
              FlowEnd::Done);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(Shown(), Texts{"Soubor databáze úspěšně uložen"});
    EXPECT_EQ(messenger.icons, std::vector<MessageIcon>{MessageIcon::Information});
    EXPECT_EQ(server.FileBytes("Katalog.pp"), bytes);
}

TEST_F(UpdateFlowsCancelTest, StornoDuringADownloadLeavesTheInstalledCatalogue) {
    const std::vector<uint8_t> installed = test::CatalogueBytes(1);
    test::WriteFile(DataFile(kDatabaseFileName), installed, kServerTime - 60);
    server.PutFile("iodb.pp", test::PatternBytes(400000), kServerTime);
    EXPECT_EQ(flows.UpdateDatabase(false), FlowEnd::Failed);
    EXPECT_EQ(Shown(), Texts{"Akce přerušena uživatelem"});
    EXPECT_EQ(ReadFileBytes(DataFile(kDatabaseFileName)), installed);
    EXPECT_EQ(DataFolder(), Texts{"iodb.pp"}) << "the partial download is removed";
}

TEST_F(UpdateFlowsCancelTest, StornoDuringAnExportRemovesTheFileFromTheServer) {
    test::WriteFile(DataFile("iodb.pp"), test::PatternBytes(400000));
    EXPECT_EQ(flows.ExportDatabase(DataFile("iodb.pp"), nullptr), FlowEnd::Failed);
    EXPECT_EQ(Shown(), Texts{"Přenos souboru nedokončen!\nSoubor na FTP serveru byl smazán."});
    EXPECT_EQ(messenger.icons, std::vector<MessageIcon>{MessageIcon::Stop});
    EXPECT_FALSE(server.HasFile("iodb.pp"));
}

} // namespace
} // namespace pinsum
