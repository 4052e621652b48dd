#include <benchmark/benchmark.h>

#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "support/catalogue_generator.h"

namespace pinsum::bench {

using namespace pinsum::test;
namespace {

void SetFileBytes(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

// The catalogue read from memory, as the calculator reads it: resolution, renewal and totals
// included; destroying the result is left out.
void BM_LoadDatabaseFile(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = TenMegabyteFile();
    for (auto _ : state) {
        std::unique_ptr<CioDb> db;
        ArchiveReader ar(bytes, "iodb.pp");
        LoadDatabaseFile(ar, db);
        benchmark::DoNotOptimize(db.get());
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
    SetFileBytes(state, bytes.size());
}
BENCHMARK(BM_LoadDatabaseFile)->Unit(benchmark::kMillisecond);

void BM_StoreDatabaseFile(benchmark::State& state) {
    const std::unique_ptr<CioDb> db = LoadCatalogue(TenMegabyteFile());
    size_t size = 0;
    for (auto _ : state) {
        ArchiveWriter ar;
        StoreDatabaseFile(ar, db.get());
        size = ar.Bytes().size();
        benchmark::DoNotOptimize(ar.Bytes().data());
    }
    SetFileBytes(state, size);
}
BENCHMARK(BM_StoreDatabaseFile)->Unit(benchmark::kMillisecond);

// The per-kind counts the project rebuilds after every catalogue load.
void BM_CountPoints(benchmark::State& state) {
    const std::unique_ptr<CioDb> db = LoadCatalogue(TenMegabyteFile());
    for (auto _ : state)
        db->CountPoints();
    SetFileBytes(state, TenMegabyteFile().size());
}
BENCHMARK(BM_CountPoints)->Unit(benchmark::kMillisecond);

void BM_ComputeTotals(benchmark::State& state) {
    const std::unique_ptr<CioDb> db = LoadCatalogue(TenMegabyteFile());
    for (auto _ : state)
        db->ComputeTotals();
    SetFileBytes(state, TenMegabyteFile().size());
}
BENCHMARK(BM_ComputeTotals)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pinsum::bench
