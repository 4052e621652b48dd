// Time of whole searches and the rate of the configuration enumeration that dominates them.
#include <benchmark/benchmark.h>

#include "bench_projects.h"
#include "solver/compile_request.h"

namespace pinsum::bench {
namespace {

void RunSearch(benchmark::State& state, CioProject& project, int level) {
    CompileRequest request;
    request.project = &project;
    request.thoroughness = level;
    for (auto _ : state) {
        project.Compile(&request);
        benchmark::DoNotOptimize(project.Count());
    }
    state.counters["solutions"] = static_cast<double>(project.Count());
}

void BM_SearchSample(benchmark::State& state) {
    auto project = SampleProject();
    RunSearch(state, *project, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_SearchSample)->Arg(0)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond);

void BM_SearchGenerated(benchmark::State& state) {
    auto project = GeneratedProject();
    RunSearch(state, *project, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_SearchGenerated)->Arg(0)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond);

// How a fast search grows with the catalogue (devices, positions of each) and the request.
void BM_SearchGrowth(benchmark::State& state) {
    const Generated shape{static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                          static_cast<int>(state.range(2))};
    auto project = GeneratedProject(shape);
    RunSearch(state, *project, 0);
}
BENCHMARK(BM_SearchGrowth)
    ->ArgNames({"devices", "positions", "request"})
    ->ArgsProduct({{10, 20, 40, 80}, {2, 4, 8}, {1}})
    ->ArgsProduct({{40}, {4}, {2, 4, 8}})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pinsum::bench
