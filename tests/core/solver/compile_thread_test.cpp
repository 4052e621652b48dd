#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "host/notification.h"
#include "host/program_texts.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "solver/cio_compile_thread.h"
#include "solver/compile_progress.h"
#include "solver/compile_request.h"
#include "solver/configuration_source.h"
#include "solver/exact_step.h"
#include "support/recorders.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

// The dialog side: posted WM_TASK_DONE messages queue up for the test's "UI thread".
class QueueView : public CompileProgressView {
public:
    void SetStatusText(const std::string& text) override {
        std::lock_guard lock(m_mutex);
        statuses.push_back(text);
    }
    void PostTaskDone() override {
        std::lock_guard lock(m_mutex);
        ++m_posted;
        m_changed.notify_all();
    }
    void EndDialog(bool ok) override {
        ended = true;
        endedOk = ok;
    }
    // Waits for one posted WM_TASK_DONE.
    bool TakeTaskDone() {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, std::chrono::seconds(20), [this] { return m_posted > 0; }))
            return false;
        --m_posted;
        return true;
    }
    std::vector<std::string> statuses;
    bool ended = false;
    bool endedOk = false;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_posted = 0;
};

// A project over the small catalogue asking for 5 points of A.
std::unique_ptr<CioProject> SearchableProject(test::SmallCatalogue& c) {
    auto project = std::make_unique<CioProject>();
    project->database = std::move(c.db);
    for (CioType* kind : {c.kindA, c.kindB}) {
        auto node = std::make_unique<CioNode>();
        node->kindRef.object = kind;
        node->count = kind == c.kindA ? 5 : 0;
        project->requestList.Append(std::move(node));
    }
    c.s1->flags |= FLAG_CHECKED;
    c.d1->flags |= FLAG_CHECKED;
    project->seriesSelection.entries = {c.s1};
    return project;
}

TEST(CompileProgress, RunsTheSearchThenClosesAfterTheWorkerReported) {
    auto c = test::BuildSmallCatalogue();
    auto project = SearchableProject(c);
    QueueView view;
    test::RecordingMessenger messenger;
    CompileProgress progress(view, project.get(), 3, &messenger);
    progress.OnInitDialog();
    ASSERT_TRUE(view.TakeTaskDone());
    progress.OnTaskDone();
    EXPECT_TRUE(progress.WorkerRunning());
    ASSERT_TRUE(view.TakeTaskDone());
    EXPECT_FALSE(view.ended);
    progress.OnTaskDone();
    EXPECT_TRUE(view.ended);
    EXPECT_TRUE(view.endedOk);
    EXPECT_FALSE(progress.WorkerRunning());
    ASSERT_EQ(messenger.shown.size(), 1u);
    EXPECT_EQ(messenger.icons[0], MessageIcon::Information);
    EXPECT_GT(project->Count(), 0u);
    EXPECT_FALSE(view.statuses.empty());
}

TEST(CompileProgress, WithoutProjectNothingStarts) {
    QueueView view;
    CompileProgress progress(view, nullptr, 0);
    progress.OnInitDialog();
    progress.OnCancel();
    EXPECT_FALSE(progress.WorkerRunning());
    EXPECT_FALSE(view.ended);
}

TEST(CompileProgress, CancelOnlyRequestsTheStop) {
    auto c = test::BuildSmallCatalogue();
    auto project = SearchableProject(c);
    QueueView view;
    CompileProgress progress(view, project.get(), 6);
    progress.OnInitDialog();
    ASSERT_TRUE(view.TakeTaskDone());
    progress.OnTaskDone();
    progress.OnCancel();
    EXPECT_FALSE(view.ended);
    ASSERT_TRUE(view.TakeTaskDone());
    progress.OnTaskDone();
    EXPECT_TRUE(view.ended);
}

TEST(CompileThread, ReportsDoneThenWaitsForTheStop) {
    std::atomic<int> done{0};
    CompileRequest request;
    request.userData = &done;
    request.callback = [](void* user, uint32_t message, uintptr_t, uintptr_t) {
        if (message == WM_TASK_DONE)
            ++*static_cast<std::atomic<int>*>(user);
    };
    auto worker = std::make_unique<CioCompileThread>(&request);
    ASSERT_TRUE(worker->Start());
    for (int i = 0; i < 2000 && done == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(done, 1);
    CioCompileThread::StopAndDelete(worker);
    EXPECT_EQ(worker, nullptr);
    EXPECT_EQ(done, 1);
}

// Memory running out in the middle of a search, as a catalogue too large for the machine makes
// it: in the configuring of a device, or in the exact mode.
class ExhaustedSource : public ConfigurationSource {
public:
    int Configure(CioEquip&, CioPlc*, const KindCountMap&, int32_t, bool) override {
        throw std::bad_alloc();
    }
};
class ExhaustedExact : public ExactStep {
public:
    ExactResult Solve(const CioProject&, const ManualResetEvent*) override {
        throw std::bad_alloc();
    }
};

// Runs the project's search on a worker until it reports that it is done.
bool SearchOnWorker(CompileRequest& request) {
    std::atomic<int> done{0};
    request.userData = &done;
    request.callback = [](void* user, uint32_t message, uintptr_t, uintptr_t) {
        if (message == WM_TASK_DONE)
            ++*static_cast<std::atomic<int>*>(user);
    };
    auto worker = std::make_unique<CioCompileThread>(&request);
    if (!worker->Start())
        return false;
    for (int i = 0; i < 2000 && done == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    CioCompileThread::StopAndDelete(worker);
    return done == 1;
}

TEST(CompileThread, AFailingSearchEndsWithItsMessageAndTheWorkerStillReports) {
    auto c = test::BuildSmallCatalogue();
    auto project = SearchableProject(c);
    test::RecordingMessenger messenger;
    ExhaustedSource exhausted;
    CompileRequest request;
    request.project = project.get();
    request.messenger = &messenger;
    request.configurations = &exhausted;
    ASSERT_TRUE(SearchOnWorker(request));
    EXPECT_EQ(messenger.shown, std::vector<std::string>{ProgramText(TextId::SearchFailed)});
    EXPECT_EQ(messenger.icons, std::vector<MessageIcon>{MessageIcon::Stop});
    EXPECT_EQ(project->Count(), 0u);

    // A failing exact mode costs only its own answer.
    messenger.shown.clear();
    ExhaustedExact exact;
    request.configurations = nullptr;
    request.exact = &exact;
    ASSERT_TRUE(SearchOnWorker(request));
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(messenger.shown[0], ProgramText(TextId::ExactFailed));
    EXPECT_GT(project->Count(), 0u);
}

} // namespace
} // namespace pinsum
