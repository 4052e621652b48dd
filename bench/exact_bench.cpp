// The exact mode alone: its time on the sample and the generated catalogues, how many
// configurations the dominance filter leaves to the integer program, and how soon a stop ends it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "bench_projects.h"
#include "exact/exact_solver.h"
#include "host/manual_reset_event.h"
#include "solver/compile_request.h"

namespace pinsum::bench {
namespace {

void RunExact(benchmark::State& state, CioProject& project) {
    CbcExactStep exact;
    CompileRequest request;
    request.project = &project;
    request.exact = &exact;
    request.exactOnly = true;
    for (auto _ : state) {
        project.Compile(&request);
        benchmark::DoNotOptimize(project.Count());
    }
    state.counters["walked"] = static_cast<double>(exact.Walked());
    state.counters["columns"] = static_cast<double>(exact.Columns());
    state.counters["proven"] = project.exactOutcome == ExactOutcome::Proven ? 1 : 0;
}

void BM_ExactSample(benchmark::State& state) {
    auto project = SampleProject();
    RunExact(state, *project);
}
BENCHMARK(BM_ExactSample)->Unit(benchmark::kMillisecond);

// The search benchmarks' generated catalogue and request.
void BM_ExactGenerated(benchmark::State& state) {
    auto project = GeneratedProject();
    RunExact(state, *project);
}
BENCHMARK(BM_ExactGenerated)->Unit(benchmark::kMillisecond);

// The time from the stop event to the end of Compile, with the stop set that many milliseconds
// into an exact solve of the generated catalogue, which CBC takes up after a few milliseconds.
// "stopped" is the share that the stop caught before the solve ended by itself.
void BM_ExactStopLatency(benchmark::State& state) {
    const auto delay = std::chrono::milliseconds(state.range(0));
    int stopped = 0;
    for (auto _ : state) {
        auto project = GeneratedProject();
        CbcExactStep exact;
        ManualResetEvent stop;
        CompileRequest request;
        request.project = project.get();
        request.exact = &exact;
        request.exactOnly = true;
        request.stopEvent = &stop;
        std::thread worker([&] { project->Compile(&request); });
        std::this_thread::sleep_for(delay);
        const auto set = std::chrono::steady_clock::now();
        stop.Set();
        worker.join();
        const std::chrono::duration<double> latency = std::chrono::steady_clock::now() - set;
        state.SetIterationTime(latency.count());
        stopped += project->exactOutcome == ExactOutcome::Stopped ? 1 : 0;
    }
    state.counters["stopped"] =
        static_cast<double>(stopped) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ExactStopLatency)
    ->Arg(5)
    ->Arg(50)
    ->Arg(150)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pinsum::bench
