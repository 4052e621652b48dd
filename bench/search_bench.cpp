// Time of whole searches and the rate of the configuration enumeration that dominates them.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "model/catalogue_json.h"
#include "model/cio_line.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_variant.h"
#include "solver/compile_request.h"
#include "solver/configuration_walk.h"
#include "solver/device_configurations.h"
#include "solver/search_request.h"

namespace pinsum::bench {
namespace {

std::string ReadText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::unique_ptr<CioProject> SampleProject() {
    auto project = std::make_unique<CioProject>();
    project->database = CatalogueFromJsonText(ReadText(PINSUM_SAMPLE_JSON));
    project->database->CountPoints();
    project->database->ComputeTotals();
    for (const auto& kind : project->database->ioKinds.children) {
        auto node = std::make_unique<CioNode>();
        node->kindRef.object = kind.get();
        project->requestList.Append(std::move(node));
    }
    for (const auto& series : project->database->seriesList.children)
        project->seriesSelection.entries.push_back(series.get());
    ApplySearchRequest(ParseSearchRequest(ReadText(PINSUM_SAMPLE_REQUEST)), *project);
    return project;
}

CioModul* AddModule(CioDb& db, int index, const std::vector<std::vector<CioType*>>& variants) {
    auto module = std::make_unique<CioModul>();
    module->name = "M" + std::to_string(index);
    module->marking = "-" + module->name;
    module->listPrice.scaled = (500 + 97 * (index % 23)) * 10000LL;
    for (const auto& points : variants) {
        auto variant = std::make_unique<CioVariant>();
        variant->entries = points;
        module->Append(std::move(variant));
    }
    auto* raw = module.get();
    db.modules.Append(std::move(module));
    return raw;
}

// 40 devices (every fourth a peripheral) with 2 to 8 positions, each position allowing two of 24
// modules with one or two variants over 8 kinds, later positions also the empty module.
std::unique_ptr<CioProject> GeneratedProject() {
    auto project = std::make_unique<CioProject>();
    project->database = std::make_unique<CioDb>();
    CioDb& db = *project->database;
    std::vector<CioType*> kinds;
    for (int k = 0; k < 8; ++k) {
        auto kind = std::make_unique<CioType>();
        kind->name = "K" + std::to_string(k);
        kinds.push_back(kind.get());
        db.ioKinds.Append(std::move(kind));
    }
    std::vector<CioModul*> modules;
    for (int m = 0; m < 24; ++m) {
        CioType* a = kinds[m % 8];
        CioType* b = kinds[(m * 3 + 1) % 8];
        const int size = 4 << (m % 3);
        std::vector<std::vector<CioType*>> variants{std::vector<CioType*>(size, a)};
        if (m % 2 == 0) {
            std::vector<CioType*> mixed(size / 2, a);
            mixed.insert(mixed.end(), size / 2, b);
            variants.push_back(mixed);
        }
        modules.push_back(AddModule(db, m, variants));
    }
    auto series = std::make_unique<CioLine>();
    series->name = "S";
    series->flags = FLAG_CHECKED;
    CioLine* line = series.get();
    db.seriesList.Append(std::move(series));
    for (int d = 0; d < 40; ++d) {
        auto device = std::make_unique<CioPlc>();
        device->name = "D" + std::to_string(d);
        device->deviceType = d % 4 == 3 ? 1 : 0;
        device->series.object = line;
        device->flags = FLAG_CHECKED;
        device->listPrice.scaled = (3000 + 211 * d) * 10000LL;
        device->lines.entries = {&Vornet(), &Kalbus()};
        const int positions = 2 + d % 7;
        for (int p = 0; p < positions; ++p) {
            auto position = std::make_unique<CioVariant>();
            position->entries = {modules[(d + p) % 24], modules[(d * 5 + p * 7 + 3) % 24]};
            if (p > 0)
                position->entries.push_back(&EmptyModule());
            device->Append(std::move(position));
        }
        db.devices.Append(std::move(device));
    }
    db.CountPoints();
    db.ComputeTotals();
    for (int k = 0; k < 8; ++k) {
        auto node = std::make_unique<CioNode>();
        node->kindRef.object = kinds[k];
        node->count = 6 + 5 * k;
        project->requestList.Append(std::move(node));
    }
    project->seriesSelection.entries = {line};
    return project;
}

void RunSearch(benchmark::State& state, CioProject& project) {
    CompileRequest request;
    request.project = &project;
    request.thoroughness = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        project.Compile(&request);
        benchmark::DoNotOptimize(project.Count());
    }
    state.counters["solutions"] = static_cast<double>(project.Count());
}

void BM_SearchSample(benchmark::State& state) {
    auto project = SampleProject();
    RunSearch(state, *project);
}
BENCHMARK(BM_SearchSample)->Arg(0)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond);

void BM_SearchGenerated(benchmark::State& state) {
    auto project = GeneratedProject();
    RunSearch(state, *project);
}
BENCHMARK(BM_SearchGenerated)->Arg(0)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond);

// Walks every configuration of every generated device and groups them, as a search does once
// per device.
void BM_WalkConfigurations(benchmark::State& state) {
    auto project = GeneratedProject();
    int64_t configurations = 0;
    for (const auto& child : project->database->devices.children)
        ConfigurationWalk(static_cast<CioPlc*>(child.get()))
            .Run([&](const uint32_t*, int64_t, const int32_t*) { return ++configurations > 0; });
    for (auto _ : state)
        for (const auto& child : project->database->devices.children)
            benchmark::DoNotOptimize(
                DeviceConfigurations(static_cast<CioPlc*>(child.get())).Bytes());
    state.counters["configurations/s"] = benchmark::Counter(
        static_cast<double>(configurations), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WalkConfigurations)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pinsum::bench
