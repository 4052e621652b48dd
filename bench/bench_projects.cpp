#include "bench_projects.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/catalogue_json.h"
#include "model/cio_line.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "solver/search_request.h"

namespace pinsum::bench {
namespace {

std::string ReadText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
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

} // namespace

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

std::unique_ptr<CioProject> GeneratedProject(const Generated& shape) {
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
    for (int d = 0; d < shape.devices; ++d) {
        auto device = std::make_unique<CioPlc>();
        device->name = "D" + std::to_string(d);
        device->deviceType = d % 4 == 3 ? 1 : 0;
        device->series.object = line;
        device->flags = FLAG_CHECKED;
        device->listPrice.scaled = (3000 + 211 * d) * 10000LL;
        device->lines.entries = {&Vornet(), &Kalbus()};
        const int positions = shape.positions > 0 ? shape.positions : 2 + d % 7;
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
        node->count = (6 + 5 * k) * shape.requestScale;
        project->requestList.Append(std::move(node));
    }
    project->seriesSelection.entries = {line};
    return project;
}

} // namespace pinsum::bench
