// The search over generated catalogues and requests must answer the same whether each device is
// enumerated again for every request (the reference), kept in the configuration cache or walked
// again because the cache ran out of room: the same report, messages, progress texts and planner
// file, byte for byte. PINSUM_DIFFERENTIAL_CASES sets the number of cases (default 40).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/manual_reset_event.h"
#include "host/notification.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "model/cio_line.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"
#include "solver/cio_compile_thread.h"
#include "solver/compile_request.h"
#include "solver/configuration_source.h"
#include "support/catalogue_generator.h"
#include "support/recorders.h"
#include "support/reference_search.h"
#include "support/seeded_random.h"

namespace pinsum {
namespace {

using Random = test::SeededRandom;

CioVariant* AnyPosition(CioDb& db, Random& random) {
    auto* device =
        static_cast<CioPlc*>(db.devices.At(random.Below(static_cast<int>(db.devices.Count()))));
    return device->Count() > 0 ? device->Position(random.Below(static_cast<int>(device->Count())))
                               : nullptr;
}

// A module like the given one under another name, allowed wherever that one is, so that
// configurations tie and fork.
void AddTwin(CioDb& db, CioModul& module) {
    auto twin = std::make_unique<CioModul>();
    twin->CopyFrom(&module);
    twin->name += "'";
    for (const auto& device : db.devices.children)
        for (const auto& position : static_cast<CioPlc*>(device.get())->children) {
            auto& allowed = static_cast<CioVariant*>(position.get())->entries;
            if (std::find(allowed.begin(), allowed.end(), &module) != allowed.end())
                allowed.push_back(twin.get());
        }
    db.modules.Append(std::move(twin));
}

// What generated catalogues do not have by themselves: twin modules, holes and modules without
// variants in the allowed lists, an empty module first, a module allowed twice, free modules,
// and a rule against the empty variant.
void AddOddities(CioDb& db, Random& random) {
    for (int twins = random.Below(3); twins > 0; --twins)
        AddTwin(db, *static_cast<CioModul*>(
                        db.modules.At(random.Below(static_cast<int>(db.modules.Count())))));
    if (random.OneIn(3))
        if (CioVariant* position = AnyPosition(db, random))
            position->entries.insert(position->entries.begin(), nullptr);
    if (random.OneIn(3)) {
        auto hollow = std::make_unique<CioModul>();
        hollow->listPrice.scaled = 990000;
        if (CioVariant* position = AnyPosition(db, random))
            position->entries.push_back(hollow.get());
        db.modules.Append(std::move(hollow));
    }
    if (random.OneIn(4))
        if (CioVariant* position = AnyPosition(db, random))
            position->entries.insert(position->entries.begin(), &EmptyModule());
    if (random.OneIn(4))
        if (CioVariant* position = AnyPosition(db, random))
            position->entries.push_back(position->entries.back());
    if (random.OneIn(4))
        static_cast<CioModul*>(db.modules.At(0))->listPrice.scaled = 0;
    if (random.OneIn(5))
        static_cast<CioModul*>(db.modules.At(0))
            ->Variant(0)
            ->rules.entries.push_back(&EmptyVariant());
}

// A small generated catalogue, checked as a user would check it, and a request over it.
std::unique_ptr<CioProject> CaseProject(uint32_t seed, int& level) {
    Random random(seed);
    test::CatalogueShape shape;
    shape.ioKinds = 2 + random.Below(7);
    shape.modules = 2 + random.Below(9);
    shape.maxVariantsPerModule = 1 + random.Below(3);
    shape.pointsPerVariant = 1 + random.Below(8);
    shape.rulesPerVariant = random.Below(3);
    shape.series = 1 + random.Below(3);
    shape.devices = 1 + random.Below(8);
    shape.positionsPerDevice = 1 + random.Below(3);
    shape.modulesPerPosition = 1 + random.Below(3);
    shape.helpBytes = 0;
    shape.seed = seed;
    auto project = std::make_unique<CioProject>();
    project->database = test::GenerateCatalogue(shape);
    CioDb& db = *project->database;
    AddOddities(db, random);
    db.CountPoints();
    db.ComputeTotals();
    for (const auto& device : db.devices.children)
        if (!random.OneIn(6))
            device->flags |= FLAG_CHECKED;
    for (const auto& series : db.seriesList.children) {
        if (!random.OneIn(4))
            series->flags |= FLAG_CHECKED;
        project->seriesSelection.entries.push_back(series.get());
    }
    for (const auto& kind : db.ioKinds.children) {
        auto item = std::make_unique<CioNode>();
        item->kindRef.object = kind.get();
        item->count = random.OneIn(3) ? 0 : random.Below(1 + random.Below(40));
        if (!random.OneIn(3))
            item->flags |= FLAG_CHECKED;
        project->requestList.Append(std::move(item));
    }
    level = random.Below(7);
    return project;
}

// Passes configuring on to another source and cancels the search after a number of devices, so
// that a case whose equally good configurations keep forking ends at the same point whichever
// source configures.
class LimitedSource : public ConfigurationSource {
public:
    LimitedSource(ConfigurationSource& inner, ManualResetEvent& stop)
        : m_inner(inner), m_stop(stop) {}
    int Configure(CioEquip& equipment, CioPlc* device, const KindCountMap& remaining,
                  int32_t remainingTotal, bool first) override {
        const int configured =
            m_inner.Configure(equipment, device, remaining, remainingTotal, first);
        if (++m_calls == kMaxCalls)
            m_stop.Set();
        return configured;
    }

private:
    static constexpr int kMaxCalls = 300;
    ConfigurationSource& m_inner;
    ManualResetEvent& m_stop;
    int m_calls = 0;
};

struct Outcome {
    std::string report;
    std::vector<std::string> messages;
    std::vector<std::string> progress;
    std::vector<uint8_t> planner;
};

// One search of the case as the command line runs it: identities from the start, the search,
// the report and the planner file. Without a source the search configures with its own cache.
Outcome Search(uint32_t seed, ConfigurationSource* source) {
    RestartIdentitiesForTesting();
    int level = 0;
    std::unique_ptr<CioProject> project = CaseProject(seed, level);
    ManualResetEvent stop;
    ConfigurationCache cache(&stop);
    LimitedSource limited(source != nullptr ? *source : cache, stop);
    Outcome outcome;
    test::RecordingMessenger messenger;
    CompileRequest request;
    CioCompileThread channel(&request);
    request.project = project.get();
    request.thoroughness = level;
    request.messenger = &messenger;
    request.configurations = &limited;
    request.stopEvent = &stop;
    request.thread = &channel;
    request.userData = &outcome.progress;
    request.callback = [](void* user, uint32_t message, uintptr_t first, uintptr_t) {
        if (message == WM_TASK_STATE)
            static_cast<std::vector<std::string>*>(user)->push_back(
                *reinterpret_cast<const std::string*>(first));
    };
    project->Compile(&request);
    project->Describe(outcome.report, "");
    outcome.messages = messenger.shown;
    ArchiveWriter ar;
    StorePlannerFile(ar, project.get());
    outcome.planner = ar.TakeBytes();
    return outcome;
}

void ExpectSame(const Outcome& expected, const Outcome& actual) {
    EXPECT_EQ(actual.report, expected.report);
    EXPECT_EQ(actual.messages, expected.messages);
    EXPECT_EQ(actual.progress, expected.progress);
    const auto differ = std::mismatch(actual.planner.begin(), actual.planner.end(),
                                      expected.planner.begin(), expected.planner.end());
    EXPECT_TRUE(actual.planner == expected.planner)
        << "the planner files differ from byte " << (differ.first - actual.planner.begin())
        << " of " << actual.planner.size() << " and " << expected.planner.size();
}

uint32_t CaseCount() {
    const char* text = std::getenv("PINSUM_DIFFERENTIAL_CASES");
    return text != nullptr ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : 40;
}

TEST(DifferentialSearch, KeptAndWalkedConfigurationsAnswerAsTheReference) {
    // The built-in objects take identities when first used, as a catalogue load does first.
    IsBuiltIn(nullptr);
    const uint32_t cases = CaseCount();
    uint32_t found = 0;
    for (uint32_t seed = 1; seed <= cases && !HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        test::ReferenceConfigurations reference;
        const Outcome expected = Search(seed, &reference);
        ExpectSame(expected, Search(seed, nullptr));
        // A small budget keeps the first devices and walks the others for every request.
        ManualResetEvent never;
        ConfigurationCache walked(&never, seed % 2 == 0 ? 0 : 4096);
        ExpectSame(expected, Search(seed, &walked));
        found += expected.report.empty() ? 0 : 1;
    }
    // The cases are no use unless most of them find something.
    EXPECT_GT(found, cases / 2);
}

} // namespace
} // namespace pinsum
