#include "update/ftp_transfer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "host/file_io.h"
#include "support/ftp_test_server.h"
#include "support/notify_recorder.h"
#include "update/ftp_thread.h"
#include "update/ftp_update_struct.h"

namespace pinsum {
namespace {

using test::FtpTestServer;
using test::NotifyRecorder;

constexpr int64_t kServerTime = 1700000000;

// Runs the request on a CFtpThread and returns once both reports of its end have arrived. With
// cancelAtFirstChunk the notify asks for a cancel inside the first percentage report, so that
// exactly one chunk moves.
void RunThreaded(ftpUpdateStruct& request, FtpWork work, NotifyRecorder& recorder,
                 bool cancelAtFirstChunk = false) {
    request.notify = [&, record = recorder.Callback()](void* owner, uint32_t message,
                                                       uintptr_t first, uintptr_t second) {
        record(owner, message, first, second);
        if (cancelAtFirstChunk && message == WM_TASK_STATE && first == 0)
            request.cancelRequested = true;
    };
    request.work = work;
    auto thread = std::make_unique<CFtpThread>(&request);
    request.thread = thread.get();
    ASSERT_TRUE(thread->CreateThread());
    ASSERT_TRUE(recorder.WaitForDone(2));
    CFtpThread::StopAndDelete(thread);
    request.thread = nullptr;
}

class FtpTransferTest : public ::testing::Test {
protected:
    // A request to the test server; the remote name is the last component of the local path.
    void Fill(ftpUpdateStruct& request, const std::string& name = "iodb.pp") {
        request.url = server.Url();
        request.userName = FtpTestServer::kUser;
        request.password = FtpTestServer::kPassword;
        request.agentName = "pinsum";
        request.remotePath = local.File(name);
    }

    FtpTestServer server;
    test::TempFolder local;
};

using FtpDownloadTest = FtpTransferTest;
using FtpUploadTest = FtpTransferTest;

struct ChunkCase {
    const char* what;
    size_t size;
    std::vector<uintptr_t> percents;
};

const ChunkCase kChunkCases[] = {
    {"5,000 bytes: 1,024-byte chunks, the fifth read is short", 5000, {20, 40, 61, 81, 100, 100}},
    {"10,240 bytes: ten full chunks, then a read of 0 ends the loop",
     10240,
     {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100, 100}},
    {"3,000,000 bytes: 256,000-byte chunks",
     3000000,
     {8, 17, 25, 34, 42, 51, 59, 68, 76, 85, 93, 100, 100}},
};

void ExpectNameThenPercentsThenTwoEnds(NotifyRecorder& recorder, const std::string& name,
                                       const std::vector<uintptr_t>& percents) {
    const auto calls = recorder.Calls();
    ASSERT_EQ(calls.size(), percents.size() + 3);
    EXPECT_EQ(calls.front().text, name);
    EXPECT_EQ(calls.front().second, 0u);
    EXPECT_EQ(recorder.Percents(), percents);
    EXPECT_EQ(calls[calls.size() - 2].message, WM_TASK_DONE);
    EXPECT_EQ(calls.back().message, WM_TASK_DONE);
}

TEST_F(FtpDownloadTest, MovesATenthOfTheFilePerChunkWithin1024To256000Bytes) {
    for (const ChunkCase& c : kChunkCases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> bytes = test::PatternBytes(c.size);
        server.PutFile("iodb.pp", bytes, kServerTime);
        ftpUpdateStruct request;
        Fill(request);
        request.localFile = local.File("iodb.tmp");
        NotifyRecorder recorder;
        RunThreaded(request, DownloadDatabase, recorder);

        EXPECT_EQ(request.result, kUpdateOk);
        EXPECT_EQ(ReadFileBytes(*request.localFile), bytes);
        EXPECT_EQ(test::FileTime(*request.localFile), kServerTime);
        ExpectNameThenPercentsThenTwoEnds(recorder, "iodb.pp", c.percents);
    }
}

TEST_F(FtpDownloadTest, FindsTheFileUnderAnotherLetterCaseAndFetchesItByTheListedName) {
    server.PutFile("iodb.ppx", test::PatternBytes(10));
    server.PutFile("IODB.PP", test::PatternBytes(3000), kServerTime);
    ftpUpdateStruct request;
    Fill(request, "iodb.pp");
    request.localFile = local.File("iodb.tmp");
    DownloadDatabase(&request);
    EXPECT_EQ(request.result, kUpdateOk);
    EXPECT_EQ(ReadFileBytes(*request.localFile), test::PatternBytes(3000));
}

TEST_F(FtpDownloadTest, TheLocalCopyIsCurrentUnlessItIsOlderThanTheServers) {
    server.PutFile("iodb.pp", test::PatternBytes(100), kServerTime);
    const struct {
        const char* what;
        std::optional<int64_t> localTime;
        UpdateResult result;
    } cases[] = {
        {"no local copy: any server copy is newer", std::nullopt, kUpdateOk},
        {"equal times count as current", kServerTime, kUpdateCurrent},
        {"one second older", kServerTime - 1, kUpdateOk},
        {"newer than the server's", kServerTime + 1, kUpdateCurrent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ftpUpdateStruct request;
        Fill(request);
        request.localTime = c.localTime;
        request.checkOnly = true;
        request.localFile = local.File("iodb.tmp");
        DownloadDatabase(&request);
        EXPECT_EQ(request.result, c.result);
        // Both end before any transfer.
        EXPECT_FALSE(std::filesystem::exists(*request.localFile));
    }
}

TEST_F(FtpDownloadTest, AnEmptyOrMissingServerFileIsNotFound) {
    server.PutFile("iodb.pp", {});
    server.PutFile("other.pp", test::PatternBytes(100));
    const struct {
        const char* what;
        std::optional<std::string> remotePath;
    } cases[] = {
        {"zero length", "/data/iodb.pp"},
        {"not on the server", "C:\\data\\missing.pp"},
        {"no remote path", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ftpUpdateStruct request;
        Fill(request);
        request.remotePath = c.remotePath;
        DownloadDatabase(&request);
        EXPECT_EQ(request.result, kUpdateNotFound);
    }
}

// The result stays as it was, and the failure detail says why in the network library's words
// without ever repeating the password.
TEST_F(FtpDownloadTest, NoConnectionLeavesTheResultAsItWasAndSaysWhy) {
    server.PutFile("iodb.pp", test::PatternBytes(100));
    const std::string port = std::to_string(server.Port());
    const struct {
        const char* what;
        std::string url;
        std::string password;
        const char* detail;
    } cases[] = {
        {"a scheme that is not FTP", "http://127.0.0.1:" + port + "/", FtpTestServer::kPassword,
         "no ftp:// or ftps:// address"},
        {"nothing listens", "ftp://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/",
         FtpTestServer::kPassword, "onnect"},
        {"wrong password", server.Url(), "wrong-secret", "530"},
        {"no address", "", FtpTestServer::kPassword, "no ftp:// or ftps:// address"},
        {"a password that would end its command", server.Url(),
         std::string(FtpTestServer::kPassword) + "\r\nDELE iodb.pp", "line break"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ftpUpdateStruct request;
        Fill(request);
        request.url = c.url;
        request.password = c.password;
        DownloadDatabase(&request);
        EXPECT_EQ(request.result, kUpdateNotRun);
        EXPECT_NE(request.failureDetail.find(c.detail), std::string::npos) << request.failureDetail;
        EXPECT_EQ(request.failureDetail.find(c.password), std::string::npos);
    }
    EXPECT_TRUE(server.HasFile("iodb.pp"));
}

TEST_F(FtpDownloadTest, AnAddressWithoutSchemeIsReadAsFtpAndPassiveModeWorksToo) {
    server.PutFile("iodb.pp", test::PatternBytes(2000));
    for (const bool passive : {false, true}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        ftpUpdateStruct request;
        Fill(request);
        request.url = "127.0.0.1:" + std::to_string(server.Port()) + "/some/folder";
        request.passiveMode = passive;
        request.localFile = local.File("iodb.tmp");
        DownloadDatabase(&request);
        EXPECT_EQ(request.result, kUpdateOk);
        EXPECT_EQ(ReadFileBytes(*request.localFile), test::PatternBytes(2000));
    }
}

TEST_F(FtpDownloadTest, CancelKeepsThePartialFileWithTheServersTime) {
    const std::vector<uint8_t> bytes = test::PatternBytes(1000000);
    server.PutFile("iodb.pp", bytes, kServerTime);
    ftpUpdateStruct request;
    Fill(request);
    request.localFile = local.File("iodb.tmp");
    NotifyRecorder recorder;
    RunThreaded(request, DownloadDatabase, recorder, true);

    EXPECT_EQ(request.result, kUpdateCancelled);
    const std::vector<uint8_t> partial = ReadFileBytes(*request.localFile);
    EXPECT_EQ(partial, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 100000));
    EXPECT_EQ(test::FileTime(*request.localFile), kServerTime);
    EXPECT_EQ(recorder.Percents(), std::vector<uintptr_t>{10});
}

TEST_F(FtpDownloadTest, StopsWithoutTransferOnEarlyCancelOrAnUnwritableLocalFile) {
    server.PutFile("iodb.pp", test::PatternBytes(100));
    ftpUpdateStruct cancelled;
    Fill(cancelled);
    cancelled.localFile = local.File("iodb.tmp");
    cancelled.cancelRequested = true;
    DownloadDatabase(&cancelled);
    EXPECT_EQ(cancelled.result, kUpdateCancelled);
    EXPECT_FALSE(std::filesystem::exists(*cancelled.localFile));

    ftpUpdateStruct unwritable;
    Fill(unwritable);
    unwritable.localFile = local.File("no-such-folder/iodb.tmp");
    DownloadDatabase(&unwritable);
    EXPECT_EQ(unwritable.result, kUpdateLocalFile);
}

TEST_F(FtpDownloadTest, ARunWithoutThreadOrWithoutAgentReportsNothing) {
    server.PutFile("iodb.pp", test::PatternBytes(5000));
    NotifyRecorder recorder;
    ftpUpdateStruct direct;
    Fill(direct);
    direct.notify = recorder.Callback();
    DownloadDatabase(&direct);
    EXPECT_EQ(direct.result, kUpdateOk);

    // A thread that is never started only makes the request look threaded.
    ftpUpdateStruct noAgent;
    Fill(noAgent);
    noAgent.agentName.reset();
    noAgent.notify = recorder.Callback();
    CFtpThread unstarted(&noAgent);
    noAgent.thread = &unstarted;
    DownloadDatabase(&noAgent);
    EXPECT_EQ(noAgent.result, kUpdateNotRun);

    EXPECT_TRUE(recorder.Calls().empty());
}

TEST_F(FtpUploadTest, SendsTheFileUnderItsBareNameIntoTheLoginDirectory) {
    for (const ChunkCase& c : kChunkCases) {
        SCOPED_TRACE(c.what);
        std::filesystem::create_directories(local.File("planner"));
        const std::vector<uint8_t> bytes = test::PatternBytes(c.size);
        test::WriteFile(local.File("planner/Catalogue.pp"), bytes);
        ftpUpdateStruct request;
        Fill(request, "planner/Catalogue.pp");
        request.localFile = request.remotePath;
        NotifyRecorder recorder;
        RunThreaded(request, UploadDatabase, recorder);

        EXPECT_EQ(request.result, kUpdateOk);
        EXPECT_EQ(server.FileBytes("Catalogue.pp"), bytes);
        EXPECT_FALSE(std::filesystem::exists(server.Home() + "/planner"));
        ExpectNameThenPercentsThenTwoEnds(recorder, "Catalogue.pp", c.percents);
    }
}

TEST_F(FtpUploadTest, AnEmptyFileIsSentWithoutDividingByItsSize) {
    test::WriteFile(local.File("empty.pp"), {});
    ftpUpdateStruct request;
    Fill(request, "empty.pp");
    request.localFile = request.remotePath;
    NotifyRecorder recorder;
    RunThreaded(request, UploadDatabase, recorder);
    EXPECT_EQ(request.result, kUpdateOk);
    EXPECT_TRUE(server.FileBytes("empty.pp").empty());
    EXPECT_EQ(recorder.Percents(), (std::vector<uintptr_t>{100, 100}));
}

TEST_F(FtpUploadTest, CancelDuringTheTransferRemovesTheRemoteFile) {
    server.PutFile("iodb.pp", test::PatternBytes(500));
    test::WriteFile(local.File("iodb.pp"), test::PatternBytes(1000000));
    ftpUpdateStruct request;
    Fill(request);
    request.localFile = request.remotePath;
    NotifyRecorder recorder;
    RunThreaded(request, UploadDatabase, recorder, true);
    EXPECT_EQ(request.result, kUpdateCancelled);
    EXPECT_FALSE(server.HasFile("iodb.pp"));
}

TEST_F(FtpUploadTest, FailuresBeforeTheTransferLeaveTheServerAlone) {
    server.PutFile("iodb.pp", test::PatternBytes(500));
    test::WriteFile(local.File("iodb.pp"), test::PatternBytes(1000));
    const struct {
        const char* what;
        std::string localName;
        bool cancel;
        std::string password;
        UpdateResult result;
    } cases[] = {
        {"cancel before the transfer", "iodb.pp", true, FtpTestServer::kPassword, kUpdateNoSession},
        {"no such local file", "missing.pp", false, FtpTestServer::kPassword, kUpdateLocalFile},
        {"wrong password", "iodb.pp", false, "wrong", kUpdateNotRun},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ftpUpdateStruct request;
        Fill(request, "iodb.pp");
        request.localFile = local.File(c.localName);
        request.cancelRequested = c.cancel;
        request.password = c.password;
        UploadDatabase(&request);
        EXPECT_EQ(request.result, c.result);
        EXPECT_EQ(server.FileBytes("iodb.pp"), test::PatternBytes(500));
    }
}

TEST_F(FtpUploadTest, ALocalFileThatCannotBeReadLeavesNoPartialRemoteFile) {
    std::filesystem::create_directories(local.File("folder.pp"));
    ftpUpdateStruct request;
    Fill(request, "folder.pp");
    request.localFile = request.remotePath;
    UploadDatabase(&request);
    EXPECT_EQ(request.result, kUpdateLocalFile);
    EXPECT_FALSE(server.HasFile("folder.pp"));
}

} // namespace
} // namespace pinsum
