#include "update/auto_update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>

#include "host/auto_update_setting.h"
#include "host/file_io.h"
#include "host/memory_settings.h"
#include "host/text_codec.h"
#include "support/update_helpers.h"
#include "update/update_flows.h"

namespace pinsum {
namespace {

using test::FtpTestServer;
using Texts = std::vector<std::string>;

constexpr int64_t kServerTime = 1700000000;

// The host dialog: posted WM_TASK_DONE words queue up for the test's "user-interface thread".
class RecordingHost : public AutoUpdateHost {
public:
    void PostTaskDone(uintptr_t first) override {
        {
            std::lock_guard lock(m_mutex);
            m_posted.push_back(first);
        }
        m_changed.notify_all();
    }
    void SetStatusLine(const std::string& text) override {
        statusLines.push_back(Cp1250ToUtf8(text));
    }
    void RestartProject() override { ++restarts; }

    std::optional<uintptr_t> TakePosted(std::chrono::milliseconds wait) {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, wait, [this] { return !m_posted.empty(); }))
            return std::nullopt;
        const uintptr_t first = m_posted.front();
        m_posted.pop_front();
        return first;
    }

    Texts statusLines;
    int restarts = 0;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<uintptr_t> m_posted;
};

class AutoUpdateCheckTest : public ::testing::Test {
protected:
    AutoUpdateCheckTest()
        : flows(test::ServerConfig(server), data.Path(), messenger, dialog), check(host, flows) {
        server.PutFile("iodb.pp", served, kServerTime);
    }

    // Delivers the host's messages as its message loop would, until none comes for a while.
    void RunHost() {
        while (const std::optional<uintptr_t> first =
                   host.TakePosted(std::chrono::milliseconds(check.Running() ? 20000 : 300)))
            EXPECT_TRUE(check.OnTaskDone(*first, 0));
    }

    void InstallLocal(int64_t time) {
        test::WriteFile(data.File(kDatabaseFileName), test::CatalogueBytes(1), time);
    }

    // Identities differ between two builds of the same catalogue, so its bytes are kept.
    const std::vector<uint8_t> served = test::CatalogueBytes(2);
    FtpTestServer server;
    test::TempFolder data;
    test::RecordingMessenger messenger;
    test::ScriptedDialog dialog;
    UpdateFlows flows;
    RecordingHost host;
    AutoUpdateCheck check;
};

TEST_F(AutoUpdateCheckTest, StartsOnlyWhenSwitchedOnAndTheCatalogueIsThere) {
    MemorySettings twoBytes;
    twoBytes.WriteRaw(kAutoUpdateKeyPath, kAutoUpdateValueName, {1, 0});
    check.OnHostInitialised(twoBytes);
    EXPECT_FALSE(host.TakePosted(std::chrono::milliseconds(0)));

    MemorySettings on;
    WriteAutoUpdate(on, true);
    check.OnHostInitialised(on);
    EXPECT_EQ(host.TakePosted(std::chrono::milliseconds(0)), 0u);

    // No "iodb.pp" in the data folder: nothing to compare, so no check.
    EXPECT_TRUE(check.OnTaskDone(0, 0));
    EXPECT_FALSE(check.Running());
    EXPECT_TRUE(host.statusLines.empty());
}

TEST_F(AutoUpdateCheckTest, ACurrentOrFailedCheckSaysNothing) {
    InstallLocal(kServerTime);
    host.PostTaskDone(0);
    RunHost();
    EXPECT_EQ(check.LastResult(), kUpdateCurrent);
    EXPECT_EQ(host.statusLines, (Texts{"Aktualizace ......", ""}));

    std::filesystem::remove(server.Home() + "/iodb.pp");
    host.PostTaskDone(0);
    RunHost();
    EXPECT_EQ(check.LastResult(), kUpdateNotFound);
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(dialog.shows, 0);
}

TEST_F(AutoUpdateCheckTest, ANewerCatalogueIsOfferedThenInstalledAndTheProjectRestarted) {
    InstallLocal(kServerTime - 1);
    messenger.answers = {MessageAnswer::No};
    host.PostTaskDone(0);
    RunHost();
    EXPECT_EQ(test::ShownUtf8(messenger),
              Texts{"Nalezen aktualizovaný soubor databáze.\nStáhnout aktualizaci a instalovat ?"});
    EXPECT_EQ(messenger.icons, std::vector<MessageIcon>{MessageIcon::Information});
    EXPECT_EQ(dialog.shows, 0);

    messenger.shown.clear();
    messenger.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    host.PostTaskDone(0);
    RunHost();
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(test::ShownUtf8(messenger)[1],
              "Soubor databáze byl úspěšně aktualizován\n"
              "Přejete si restartovat projekt s aktualizovaným souborem ?");
    // Installed without checking a second time.
    EXPECT_EQ(dialog.shows, 1);
    EXPECT_EQ(ReadFileBytes(data.File(kDatabaseFileName)), served);
    EXPECT_EQ(host.restarts, 1);
}

TEST_F(AutoUpdateCheckTest, TheHostHearsTheEndOnceAndOnlyItsOwnThreadIsTheChecks) {
    InstallLocal(kServerTime);
    EXPECT_TRUE(check.OnTaskDone(0, 0));
    ASSERT_TRUE(check.Running());
    EXPECT_FALSE(check.OnTaskDone(0x1234, 0));
    // A second start while one runs does nothing.
    EXPECT_TRUE(check.OnTaskDone(0, 0));
    const std::optional<uintptr_t> end = host.TakePosted(std::chrono::seconds(20));
    ASSERT_TRUE(end);
    EXPECT_NE(*end, 0u);
    EXPECT_TRUE(check.OnTaskDone(*end, 0));
    EXPECT_FALSE(check.Running());
    EXPECT_FALSE(host.TakePosted(std::chrono::milliseconds(300)));
}

TEST_F(AutoUpdateCheckTest, ClosingWaitsForARunningCheckWithoutCancellingIt) {
    InstallLocal(kServerTime);
    EXPECT_TRUE(check.OnTaskDone(0, 0));
    check.Close();
    EXPECT_FALSE(check.Running());
    EXPECT_EQ(check.LastResult(), kUpdateCurrent);
}

} // namespace
} // namespace pinsum
