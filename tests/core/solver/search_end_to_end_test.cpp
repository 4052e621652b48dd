#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/manual_reset_event.h"
#include "host/notification.h"
#include "host/program_texts.h"
#include "model/cio_solution.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"
#include "solver/cio_compile_thread.h"
#include "solver/compile_request.h"
#include "solver/configuration_source.h"
#include "solver/search_level.h"
#include "support/search_project.h"

namespace pinsum {
namespace {

using test::Points;
using test::SearchProject;
using Layout = std::vector<std::string>;

int Left(const CioSolution& solution, const CioType* kind) {
    for (const auto& item : solution.remaining)
        if (item->Kind() == kind)
            return item->count;
    return -1;
}

void ExpectResultMessage(const SearchProject& f, size_t n) {
    ASSERT_EQ(f.messenger.shown.size(), 1u);
    EXPECT_EQ(f.messenger.shown[0], SearchProject::ResultMessage(n));
    EXPECT_EQ(f.messenger.icons[0], MessageIcon::Information);
}

// Collects the progress texts the search sends to its worker.
class ProgressRecorder {
public:
    ProgressRecorder() : m_channel(&m_request) {
        m_request.userData = &texts;
        m_request.callback = [](void* user, uint32_t message, uintptr_t first, uintptr_t) {
            if (message == WM_TASK_STATE)
                static_cast<std::vector<std::string>*>(user)->push_back(
                    *reinterpret_cast<const std::string*>(first));
        };
    }
    void Search(SearchProject& f, int level) { f.Search(level, nullptr, &m_channel, &m_request); }
    // The texts made from the format of textId, in order.
    std::vector<std::string> Of(TextId textId) const {
        const std::string& format = ProgramText(textId);
        const std::string head = format.substr(0, format.find("%d"));
        std::vector<std::string> found;
        for (const auto& text : texts)
            if (text.compare(0, head.size(), head) == 0)
                found.push_back(text);
        return found;
    }
    static std::string Format(TextId textId, std::initializer_list<TextArg> values,
                              const std::string& tail = "") {
        return FormatText(textId, values) + tail;
    }
    std::vector<std::string> texts;

private:
    CompileRequest m_request;
    CioCompileThread m_channel;
};

// ---- Hand-worked catalogues -----------------------------------------------------------------

TEST(SearchByHand, ControllerAloneSuffices) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
    f.Device("C", 0, 1000, {&Vornet()}, {{ma}});
    f.Request(a, 5);
    ProgressRecorder progress;
    progress.Search(f, 0);
    ASSERT_EQ(f.Count(), 1u);
    CioSolution& s = f.Solution(0);
    EXPECT_EQ(f.Layout(0), (Layout{"C:MA"}));
    EXPECT_TRUE(progress.Of(TextId::SortingProgress).empty());
    EXPECT_TRUE(progress.Of(TextId::DeduplicationProgress).empty());
    EXPECT_EQ(s.IsComplete(), 1);
    EXPECT_EQ(s.GetPrice(), 1100.0);
    EXPECT_EQ(s.GetIoCount(true), 5);
    EXPECT_EQ(s.GetIoCount(false), 3);
    EXPECT_EQ(s.number, 1);
    ExpectResultMessage(f, 1);
}

TEST(SearchByHand, ControllerNeedsOnePeripheral) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
    f.Device("C", 0, 1000, {&Vornet(), &Kalbus()}, {{ma}});
    f.Device("P", 1, 500, {&Kalbus()}, {{ma}});
    f.Request(a, 12);
    f.Search(0);
    ASSERT_EQ(f.Count(), 1u);
    CioSolution& s = f.Solution(0);
    EXPECT_EQ(f.Layout(0), (Layout{"C:MA", "P:MA"}));
    EXPECT_EQ(s.IsComplete(), 1);
    EXPECT_EQ(s.GetPrice(), 1700.0);
    EXPECT_EQ(s.GetIoCount(true), 12);
    EXPECT_EQ(s.GetIoCount(false), 4);
    ExpectResultMessage(f, 1);
}

TEST(SearchByHand, UnsatisfiableRequestKeepsTheUnplacedPoints) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioType* b = f.Kind("B");
    CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
    f.Device("C", 0, 1000, {&Vornet()}, {{ma}});
    f.Request(a, 3);
    f.Request(b, 2);
    f.Search(0);
    ASSERT_EQ(f.Count(), 1u);
    CioSolution& s = f.Solution(0);
    EXPECT_EQ(f.Layout(0), (Layout{"C:MA"}));
    EXPECT_EQ(s.IsComplete(), 0);
    EXPECT_EQ(Left(s, a), 0);
    EXPECT_EQ(Left(s, b), 2);
    EXPECT_EQ(s.GetIoCount(true), 3);
    ExpectResultMessage(f, 1);
}

TEST(SearchByHand, DeviceWithoutASharedLineIsNeverAdded) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
    f.Device("C", 0, 1000, {&Vornet()}, {{ma}});
    f.Device("P", 1, 10, {&Kalbus()}, {{ma}});
    f.Request(a, 12);
    f.Search(3);
    ASSERT_EQ(f.Count(), 1u);
    EXPECT_EQ(f.Layout(0), (Layout{"C:MA", "C:MA"}));
    EXPECT_EQ(f.Solution(0).GetPrice(), 2200.0);
}

TEST(SearchByHand, FreeOrEmptyDevicesAreNeverUsed) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
    CioModul* mf = f.Module("MF", 0, {Points(a, 8)});
    f.Device("C", 0, 1000, {&Vornet(), &Kalbus()}, {{ma}});
    f.Device("Free", 1, 0, {&Kalbus()}, {{mf}});
    f.Device("Hollow", 1, 1, {&Kalbus()}, {{&EmptyModule()}});
    f.Device("Paid", 1, 500, {&Kalbus()}, {{ma}});
    f.Request(a, 12);
    f.Search(0);
    ASSERT_EQ(f.Count(), 1u);
    EXPECT_EQ(f.Layout(0), (Layout{"C:MA", "Paid:MA"}));

    // A free controller still starts a solution, which stays empty and incomplete.
    f.Device("FreeC", 0, 0, {&Vornet()}, {{mf}});
    f.Search(0);
    ASSERT_EQ(f.Count(), 2u);
    EXPECT_EQ(f.Layout(0), (Layout{"C:MA", "Paid:MA"}));
    EXPECT_EQ(f.Solution(1).Count(), 0u);
    EXPECT_EQ(f.Solution(1).IsComplete(), 0);
    EXPECT_EQ(Left(f.Solution(1), a), 12);
    ExpectResultMessage(f, 2);
}

// ---- Budget, siblings, sorting, duplicates --------------------------------------------------

// One controller whose single position takes any of eight equally good modules; a second variant
// of a different size sets each apart from the others, so that none is a twin of another.
class SearchBudget : public ::testing::Test {
protected:
    SearchBudget() {
        CioType* a = f.Kind("A");
        std::vector<CioType*> allowed;
        for (int i = 1; i <= 8; ++i)
            allowed.push_back(f.Module("M" + std::to_string(i), 100, {Points(a, 8), Points(a, i)}));
        f.Device("C", 0, 1000, {&Vornet()}, {allowed});
        f.Request(a, 8);
    }
    Layout Chosen() const {
        Layout chosen;
        for (size_t i = 0; i < f.Count(); ++i) {
            EXPECT_EQ(f.Layout(i).size(), 1u);
            chosen.push_back(f.Layout(i)[0]);
        }
        return chosen;
    }
    SearchProject f;
};

TEST_F(SearchBudget, FastLevelKeepsFiveSolutionsPerController) {
    f.Search(-3);
    EXPECT_EQ(SearchLevel(), 0);
    EXPECT_EQ(Chosen(), (Layout{"C:M1", "C:M8", "C:M7", "C:M6", "C:M5"}));
    ExpectResultMessage(f, 5);
}

TEST_F(SearchBudget, ThoroughLevelKeepsThemAll) {
    f.Search(9);
    EXPECT_EQ(SearchLevel(), 6);
    EXPECT_EQ(Chosen(), (Layout{"C:M1", "C:M8", "C:M7", "C:M6", "C:M5", "C:M4", "C:M3", "C:M2"}));
    for (size_t i = 0; i < f.Count(); ++i)
        EXPECT_EQ(f.Solution(i).number, static_cast<int>(i + 1));
}

TEST(SearchSiblings, EqualScoresForkUnlessTheModulesAreTheSame) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* m1 = f.Module("M1", 100, {Points(a, 8)});
    CioModul* m2 = f.Module("M2", 100, {Points(a, 8), Points(a, 1)});
    CioPlc* c = f.Device("C", 0, 1000, {&Vornet()}, {{m1, m2}});
    f.Request(a, 8);
    f.Search(0);
    ASSERT_EQ(f.Count(), 2u);
    EXPECT_EQ(f.Layout(0), (Layout{"C:M1"}));
    EXPECT_EQ(f.Layout(1), (Layout{"C:M2"}));

    CioModul* twoWays = f.Module("MV", 100, {Points(a, 8), Points(a, 8)});
    c->Position(0)->entries = {twoWays};
    f.Search(0);
    ASSERT_EQ(f.Count(), 1u);
    EXPECT_EQ(f.Layout(0), (Layout{"C:MV"}));
}

// Twins, modules alike in price and points and outside every rule, are one configuration in any
// positions, the first walked standing for the rest; a rule on one makes it a module of its own.
TEST(SearchSiblings, TwinModulesDoNotFork) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* t1 = f.Module("T1", 100, {Points(a, 4)});
    CioModul* t2 = f.Module("T2", 100, {Points(a, 4)});
    CioModul* t3 = f.Module("T3", 100, {Points(a, 4)});
    CioModul* other = f.Module("X", 100, {Points(a, 4)});
    f.Device("C", 0, 1000, {&Vornet()}, {{t2, t1, t3}, {t3, t1, t2}});
    f.Request(a, 8);
    f.Search(0);
    ASSERT_EQ(f.Count(), 1u);
    EXPECT_EQ(f.Layout(0), (Layout{"C:T2,T3"}));

    t3->Variant(0)->rules.entries.push_back(other->Variant(0));
    f.Search(0);
    ASSERT_EQ(f.Count(), 3u);
    EXPECT_EQ(f.Layout(0), (Layout{"C:T2,T3"}));
    EXPECT_EQ(f.Layout(1), (Layout{"C:T2,T1"}));
    EXPECT_EQ(f.Layout(2), (Layout{"C:T3,T3"}));
}

TEST(SearchSort, CompleteFirstByPriceThenIncompleteInArrivalOrder) {
    SearchProject f;
    CioType* a = f.Kind("A");
    auto controller = [&](const std::string& name, int64_t price, CioType* line, int points) {
        CioModul* m = f.Module("M" + name, 100, {Points(a, points)});
        f.Device(name, 0, price, {line}, {{m}});
    };
    // The bus-only controllers cannot reach any other device and stay incomplete.
    controller("I", 1, &Kalbus(), 4);
    controller("X", 400, &Vornet(), 8);
    controller("Y", 200, &Vornet(), 8);
    controller("I2", 50, &Kalbus(), 4);
    controller("Z", 200, &Vornet(), 8);
    f.Request(a, 8);
    ProgressRecorder progress;
    progress.Search(f, 0);
    ASSERT_EQ(f.Count(), 5u);
    Layout order;
    for (size_t i = 0; i < f.Count(); ++i)
        order.push_back(f.Layout(i)[0]);
    EXPECT_EQ(order, (Layout{"Y:MY", "Z:MZ", "X:MX", "I:MI", "I2:MI2"}));
    EXPECT_EQ(f.Solution(3).IsComplete(), 0);
    EXPECT_EQ(f.Solution(3).GetPrice(), 101.0);
    EXPECT_EQ(Left(f.Solution(3), a), 4);
    ExpectResultMessage(f, 5);

    using Texts = std::vector<std::string>;
    const auto sorting = [](int percent) {
        return ProgressRecorder::Format(TextId::SortingProgress, {percent}, "%");
    };
    const auto deduplicating = [](int percent) {
        return ProgressRecorder::Format(TextId::DeduplicationProgress, {percent}, "%");
    };
    EXPECT_EQ(progress.Of(TextId::SortingProgress),
              (Texts{sorting(40), sorting(60), sorting(80), sorting(100)}));
    EXPECT_EQ(progress.Of(TextId::DeduplicationProgress),
              (Texts{deduplicating(0), deduplicating(25), deduplicating(50), deduplicating(75),
                     deduplicating(100)}));
    const Texts searching = progress.Of(TextId::SearchProgress);
    ASSERT_FALSE(searching.empty());
    EXPECT_EQ(searching.front(), ProgressRecorder::Format(TextId::SearchProgress, {0, 0}));
    EXPECT_EQ(searching.back(), ProgressRecorder::Format(TextId::SearchProgress, {5, 0}));
}

TEST(SearchDuplicates, TwoIdenticalSolutionsAreBothKept) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
    f.Device("R1", 0, 100, {&Vornet()}, {{ma}});
    f.Device("R2", 0, 200, {&Vornet()}, {{ma}});
    f.Request(a, 8);
    f.Search(0);
    ASSERT_EQ(f.Count(), 2u);
    EXPECT_EQ(f.Layout(0), (Layout{"R1:MA"}));
    EXPECT_EQ(f.Layout(1), (Layout{"R2:MA"}));

    f.Device("R3", 0, 300, {&Vornet()}, {{ma}});
    f.Search(0);
    ASSERT_EQ(f.Count(), 1u);
    EXPECT_EQ(f.Layout(0), (Layout{"R1:MA"}));
    ExpectResultMessage(f, 1);
}

TEST(SearchDuplicates, LaterSolutionUsingTheSameModulesPlusOneIsRemoved) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
    CioModul* mb = f.Module("MB", 100, {Points(a, 8)});
    CioModul* mc = f.Module("MC", 10, {Points(a, 4)});
    f.Device("RA", 0, 100, {&Vornet()}, {{ma}});
    f.Device("RB", 0, 200, {&Vornet()}, {{mb}});
    f.Device("RC", 0, 300, {&Vornet()}, {{ma}, {mc}});
    f.Request(a, 8);
    f.Search(0);
    ASSERT_EQ(f.Count(), 2u);
    EXPECT_EQ(f.Layout(0), (Layout{"RA:MA"}));
    EXPECT_EQ(f.Layout(1), (Layout{"RB:MB"}));
}

// ---- Cancellation ---------------------------------------------------------------------------

// Sets the stop event from its own thread once the search has finished a solution. The search
// waits in its progress report until the event is set, so the stop lands between two steps.
class StopAfterFirstFinished {
public:
    explicit StopAfterFirstFinished(SearchProject& f) : m_f(f), m_channel(&m_request) {
        m_request.userData = this;
        m_request.callback = [](void* user, uint32_t message, uintptr_t, uintptr_t) {
            static_cast<StopAfterFirstFinished*>(user)->OnProgress(message);
        };
    }
    void Search(int level) {
        std::thread stopper([this] {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_finished; });
            m_stop.Set();
        });
        m_f.Search(level, &m_stop, &m_channel, &m_request);
        Release();
        stopper.join();
    }

private:
    void OnProgress(uint32_t message) {
        if (message != WM_TASK_STATE || m_f.project.finished.empty() || m_stop.IsSet())
            return;
        Release();
        m_stop.Wait();
    }
    void Release() {
        std::lock_guard lock(m_mutex);
        m_finished = true;
        m_changed.notify_all();
    }

    SearchProject& m_f;
    CompileRequest m_request;
    CioCompileThread m_channel;
    ManualResetEvent m_stop;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_finished = false;
};

// C1 answers the request at once. C2 sits on the bus alone with ten small peripherals and
// would keep growing its solutions for a long time.
class SearchCancel : public ::testing::Test {
protected:
    SearchCancel() {
        a = f.Kind("A");
        CioModul* big = f.Module("MBIG", 100, {Points(a, 2000)});
        CioModul* m8 = f.Module("M8", 10, {Points(a, 8)});
        f.Device("C1", 0, 1000, {&Vornet()}, {{big}});
        f.Device("C2", 0, 1000, {&Kalbus()}, {{m8}});
        for (int i = 0; i < 10; ++i)
            f.Device("P" + std::to_string(i), 1, 100, {&Kalbus()}, {{m8}});
        f.Request(a, 2000);
    }
    SearchProject f;
    CioType* a = nullptr;
};

TEST_F(SearchCancel, StopSetBeforeTheStartEndsSilently) {
    ManualResetEvent stop;
    stop.Set();
    f.Search(6, &stop);
    EXPECT_EQ(f.Count(), 0u);
    EXPECT_TRUE(f.messenger.shown.empty());
    EXPECT_TRUE(f.project.effectiveRequest.empty());
    EXPECT_TRUE(f.project.candidateDevices.empty());
    EXPECT_EQ(f.project.stopEvent, nullptr);
}

TEST_F(SearchCancel, StopFromAnotherThreadKeepsTheSolutionsOfDoneControllers) {
    StopAfterFirstFinished(f).Search(6);
    ASSERT_EQ(f.Count(), 1u);
    EXPECT_EQ(f.Layout(0), (Layout{"C1:MBIG"}));
    EXPECT_EQ(f.Solution(0).IsComplete(), 1);
    EXPECT_EQ(f.Solution(0).number, 1);
    ExpectResultMessage(f, 1);
}

// A cancel while the first controller is still being configured: nothing was finished, so
// nothing is listed, not even the controller's solution without any device.
class StopWhileConfiguring : public ConfigurationSource {
public:
    explicit StopWhileConfiguring(ManualResetEvent& stop) : m_stop(stop) {}
    int Configure(CioEquip&, CioPlc*, const KindCountMap&, int32_t, bool) override {
        m_stop.Set();
        return 0;
    }

private:
    ManualResetEvent& m_stop;
};

TEST_F(SearchCancel, StopBeforeAnythingWasFinishedListsNothing) {
    ManualResetEvent stop;
    StopWhileConfiguring source(stop);
    CompileRequest request;
    request.configurations = &source;
    f.Search(0, &stop, nullptr, &request);
    EXPECT_EQ(f.Count(), 0u);
    EXPECT_TRUE(f.messenger.shown.empty());
}

TEST(SearchCancelMidController, FinishedSolutionsStayAndUnfinishedSiblingsGo) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* ma = f.Module("Ma", 100, {Points(a, 8)});
    CioModul* mb = f.Module("Mb", 100, {Points(a, 8), Points(a, 1)});
    CioModul* m8 = f.Module("M8", 100, {Points(a, 8)});
    f.Device("C", 0, 1000, {&Vornet(), &Kalbus()}, {{ma, mb}});
    f.Device("P", 1, 500, {&Kalbus()}, {{m8}});
    f.Request(a, 16);
    f.Search(0);
    ASSERT_EQ(f.Count(), 2u);

    StopAfterFirstFinished(f).Search(0);
    ASSERT_EQ(f.Count(), 1u);
    EXPECT_EQ(f.Layout(0), (Layout{"C:Mb", "P:M8"}));
    ExpectResultMessage(f, 1);
}

// ---- Runaway catalogues ---------------------------------------------------------------------

// C1 answers the request at once. C2's peripheral takes either of two equally good modules (the
// second variant keeps them from being twins), so every solution it joins forks, and the request
// is far beyond its reach: C2's working list would grow for as long as the machine has memory.
class SearchRunaway : public ::testing::Test {
protected:
    SearchRunaway() {
        a = f.Kind("A");
        CioModul* big = f.Module("MBIG", 100, {Points(a, 5000)});
        CioModul* twin = f.Module("T", 10, {Points(a, 1)});
        CioModul* other = f.Module("T'", 10, {Points(a, 1), Points(a, 1)});
        f.Device("C1", 0, 1000, {&Vornet()}, {{big}});
        f.Device("C2", 0, 1000, {&Kalbus()}, {{twin}});
        f.Device("P", 1, 100, {&Kalbus()}, {{twin, other}});
        f.Request(a, 5000);
    }
    SearchProject f;
    CioType* a = nullptr;
};

TEST_F(SearchRunaway, OutgrowingItsRoomEndsTheSearchAsCancelled) {
    f.project.maxWorkingBytes = 256 << 10;
    f.Search(6);
    EXPECT_TRUE(f.project.RanOutOfMemory());
    ASSERT_EQ(f.Count(), 1u);
    EXPECT_EQ(f.Layout(0), (Layout{"C1:MBIG"}));
    ExpectResultMessage(f, 1);
}

TEST(SearchCancelPromptly, EvenWhileADeviceIsStillBeingEnumerated) {
    SearchProject f;
    CioType* a = f.Kind("A");
    std::vector<CioType*> modules;
    for (int m = 0; m < 10; ++m)
        modules.push_back(f.Module("M" + std::to_string(m), 10 + m, {Points(a, 1 + m)}));
    // Ten choices in each of twelve positions: 10^12 configurations.
    f.Device("C", 0, 1000, {&Vornet()}, std::vector<std::vector<CioType*>>(12, modules));
    f.Request(a, 50);
    ManualResetEvent stop;
    std::chrono::steady_clock::time_point stopped;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stopped = std::chrono::steady_clock::now();
        stop.Set();
    });
    f.Search(0, &stop);
    const auto returned = std::chrono::steady_clock::now();
    canceller.join();
    EXPECT_LT(returned - stopped, std::chrono::seconds(1));
}

// ---- Determinism ----------------------------------------------------------------------------

void BuildMixedCatalogue(SearchProject& f) {
    CioType* a = f.Kind("A");
    CioType* b = f.Kind("B");
    CioType* t = f.Kind("T", 1);
    CioModul* a8 = f.Module("A8", 100, {Points(a, 8)});
    CioModul* a4 = f.Module("A4", 60, {Points(a, 4)});
    CioModul* b4 = f.Module("B4", 70, {Points(b, 4)});
    CioModul* ab = f.Module("AB", 120, {{a, a, a, a, b, b, b, b}, {a, a, a, a, a, a, b, b}});
    CioModul* t2 = f.Module("T2", 50, {Points(t, 2)});
    CioModul* e = &EmptyModule();
    f.Device("C1", 0, 900, {&Vornet(), &Kalbus()}, {{a8, ab, t2}, {a8, ab, e}, {a4, b4, e}});
    f.Device("C2", 0, 700, {&Vornet()}, {{a4, b4}, {a4, b4, e}});
    f.Device("P1", 1, 300, {&Kalbus()}, {{a8, b4, ab}, {a8, b4, ab, e}});
    f.Device("P2", 1, 200, {&Kalbus()}, {{t2, a4}, {a4, b4, e}});
    f.Device("P3", 1, 250, {&Vornet()}, {{a4, b4}, {a4, b4}});
    f.Request(a, 20);
    f.Request(b, 6);
    f.Request(t, 2);
}

TEST(SearchDeterminism, SameCatalogueAndRequestGiveTheSameReport) {
    SearchProject first;
    BuildMixedCatalogue(first);
    first.Search(3);
    const std::string report = first.Report();
    ASSERT_GE(first.Count(), 3u);
    first.Search(3);
    EXPECT_EQ(first.Report(), report);

    SearchProject second;
    BuildMixedCatalogue(second);
    second.Search(3);
    EXPECT_EQ(second.Report(), report);
    EXPECT_EQ(second.messenger.shown, first.messenger.shown);
}

} // namespace
} // namespace pinsum
