#include "update/ftp_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include "support/notify_recorder.h"
#include "update/ftp_update_progress.h"
#include "update/ftp_update_struct.h"

namespace pinsum {
namespace {

using test::NotifyRecorder;

// Work routines that stand in for a transfer.
void FinishAtOnce(ftpUpdateStruct* request) {
    static const std::string name = "iodb.pp";
    ReportState(request, &name, 0);
    ReportState(request, nullptr, 250);
    request->result = kUpdateOk;
    ReportDone(request);
}

void WaitForCancel(ftpUpdateStruct* request) {
    static const std::string started = "started";
    ReportState(request, &started, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!request->cancelRequested && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    request->result = request->cancelRequested ? kUpdateCancelled : kUpdateOk;
    ReportDone(request);
}

void RecordCancelFlag(ftpUpdateStruct* request) {
    request->result = request->cancelRequested ? kUpdateCancelled : kUpdateOk;
}

std::vector<uint32_t> Messages(NotifyRecorder& recorder) {
    std::vector<uint32_t> messages;
    for (const auto& call : recorder.Calls())
        messages.push_back(call.message);
    return messages;
}

TEST(CFtpThread, ReportsItsEndTwiceThenWaitsForTheStopEvent) {
    ftpUpdateStruct request;
    NotifyRecorder recorder;
    request.work = FinishAtOnce;
    int owner = 0;
    request.owner = &owner;
    void* seenOwner = nullptr;
    request.notify = [&, record = recorder.Callback()](void* o, uint32_t m, uintptr_t f,
                                                       uintptr_t s) {
        seenOwner = o;
        record(o, m, f, s);
    };
    auto thread = std::make_unique<CFtpThread>(&request);
    request.thread = thread.get();
    ASSERT_TRUE(thread->CreateThread());
    ASSERT_TRUE(recorder.WaitForDone(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(Messages(recorder),
              (std::vector<uint32_t>{WM_TASK_STATE, WM_TASK_STATE, WM_TASK_DONE, WM_TASK_DONE}));
    EXPECT_EQ(seenOwner, &owner);
    CFtpThread::StopAndDelete(thread);
    EXPECT_EQ(thread, nullptr);
}

TEST(CFtpThread, ClearsACancelMadeBeforeTheWorkStarted) {
    ftpUpdateStruct request;
    request.work = RecordCancelFlag;
    request.cancelRequested = true;
    auto thread = std::make_unique<CFtpThread>(&request);
    request.thread = thread.get();
    ASSERT_TRUE(thread->CreateThread());
    CFtpThread::StopAndDelete(thread);
    EXPECT_EQ(request.result, kUpdateOk);
}

TEST(CFtpThread, WithoutWorkItWaitsForTheStopEventAndThenReportsOnce) {
    ftpUpdateStruct request;
    NotifyRecorder recorder;
    request.notify = recorder.Callback();
    auto thread = std::make_unique<CFtpThread>(&request);
    request.thread = thread.get();
    ASSERT_TRUE(thread->CreateThread());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(recorder.Calls().empty());
    CFtpThread::StopAndDelete(thread);
    EXPECT_EQ(Messages(recorder), std::vector<uint32_t>{WM_TASK_DONE});
}

TEST(CFtpThread, NotifyRunsInsideTheProcessWideLock) {
    ftpUpdateStruct request;
    std::promise<void> inside;
    std::promise<void> checked;
    request.work = [](ftpUpdateStruct* r) { ReportDone(r); };
    request.notify = [&, first = true](void*, uint32_t, uintptr_t, uintptr_t) mutable {
        if (!first)
            return;
        first = false;
        inside.set_value();
        checked.get_future().wait();
    };
    auto thread = std::make_unique<CFtpThread>(&request);
    request.thread = thread.get();
    ASSERT_TRUE(thread->CreateThread());
    inside.get_future().wait();
    EXPECT_FALSE(CFtpThread::NotificationLock().try_lock());
    checked.set_value();
    CFtpThread::StopAndDelete(thread);
    ASSERT_TRUE(CFtpThread::NotificationLock().try_lock());
    CFtpThread::NotificationLock().unlock();
}

// The dialog's side: what the view was told, with posted WM_TASK_DONE messages queued for the
// test's "user-interface thread".
class RecordingView : public FtpProgressView {
public:
    void SetStatusText(const std::string& text) override {
        {
            std::lock_guard lock(m_mutex);
            statuses.push_back(text);
        }
        m_changed.notify_all();
    }
    void SetProgress(int percent) override {
        std::lock_guard lock(m_mutex);
        percents.push_back(percent);
    }
    void PostTaskDone() override {
        {
            std::lock_guard lock(m_mutex);
            ++m_posted;
        }
        m_changed.notify_all();
    }
    void EndDialog(int code) override { endCode = code; }

    bool WaitForStatus(const std::string& text) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] {
            return std::find(statuses.begin(), statuses.end(), text) != statuses.end();
        });
    }

    bool TakeTaskDone() {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, std::chrono::seconds(20), [this] { return m_posted > 0; }))
            return false;
        --m_posted;
        return true;
    }

    std::vector<std::string> statuses;
    std::vector<int> percents;
    std::optional<int> endCode;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_posted = 0;
};

TEST(FtpUpdateProgress, StartsOnItsOwnTaskDoneShowsTheWorkerAndClosesAfterItsEnd) {
    ftpUpdateStruct request;
    request.url = "ftp://example.invalid/";
    RecordingView view;
    FtpUpdateProgress progress(view, &request, FinishAtOnce);
    progress.OnInitDialog();
    ASSERT_TRUE(view.TakeTaskDone());
    EXPECT_FALSE(progress.WorkerRunning());
    progress.OnTaskDone();
    EXPECT_TRUE(progress.WorkerRunning());
    EXPECT_EQ(request.owner, &progress);
    ASSERT_TRUE(view.TakeTaskDone());
    progress.OnTaskDone();

    EXPECT_EQ(view.endCode, 1);
    EXPECT_FALSE(progress.WorkerRunning());
    // The thread's own, second report of its end starts nothing new.
    progress.OnTaskDone();
    EXPECT_FALSE(progress.WorkerRunning());
    EXPECT_EQ(request.thread, nullptr);
    EXPECT_EQ(request.owner, nullptr);
    EXPECT_EQ(view.statuses, (std::vector<std::string>{"", "iodb.pp"}));
    // Start, clear, the name with 0 %, and 250 % limited to the bar's range.
    EXPECT_EQ(view.percents, (std::vector<int>{0, 0, 0, 100}));
}

TEST(FtpUpdateProgress, StornoOnlyAsksTheRunningWorkerToStop) {
    ftpUpdateStruct request;
    request.url = "ftp://example.invalid/";
    RecordingView view;
    FtpUpdateProgress progress(view, &request, WaitForCancel);
    progress.OnInitDialog();
    progress.OnCancel();
    ASSERT_TRUE(view.TakeTaskDone());
    progress.OnTaskDone();
    // The thread clears the cancel flag just before the work starts; Storno comes after that.
    ASSERT_TRUE(view.WaitForStatus("started"));
    progress.OnCancel();
    EXPECT_FALSE(view.endCode);
    ASSERT_TRUE(view.TakeTaskDone());
    progress.OnTaskDone();
    EXPECT_EQ(view.endCode, 1);
    EXPECT_EQ(request.result, kUpdateCancelled);
}

TEST(FtpUpdateProgress, WithoutARequestOrAnAddressItClosesAtOnceWith0) {
    RecordingView noRequest;
    FtpUpdateProgress(noRequest, nullptr, FinishAtOnce).OnInitDialog();
    EXPECT_EQ(noRequest.endCode, 0);

    ftpUpdateStruct request;
    RecordingView noAddress;
    FtpUpdateProgress progress(noAddress, &request, FinishAtOnce);
    progress.OnInitDialog();
    progress.OnCancel();
    EXPECT_EQ(noAddress.endCode, 0);
    EXPECT_EQ(request.result, kUpdateNotRun);
}

} // namespace
} // namespace pinsum
