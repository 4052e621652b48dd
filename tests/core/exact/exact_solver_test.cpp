// The exact mode against a brute force over tiny catalogues, against the search over generated
// ones, on hand-made catalogues for the line rule and for requests nothing can meet, and under
// cancellation.
#include "exact/exact_solver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <limits>
#include <thread>

#include "host/manual_reset_event.h"
#include "host/program_texts.h"
#include "model/cio_db.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"
#include "solver/compile_request.h"
#include "support/catalogue_generator.h"
#include "support/reference_search.h"
#include "support/search_project.h"
#include "support/seeded_random.h"

namespace pinsum {
namespace {

using Random = test::SeededRandom;

// A generated catalogue with every device and series checked but some, and a request over it.
std::unique_ptr<CioProject> GeneratedProject(uint32_t seed, int devices, int positions,
                                             int modulesPerPosition, int variants) {
    Random random(seed);
    test::CatalogueShape shape;
    shape.ioKinds = 2 + random.Below(4);
    shape.modules = 2 + random.Below(8);
    shape.maxVariantsPerModule = variants;
    shape.pointsPerVariant = 1 + random.Below(8);
    shape.rulesPerVariant = random.Below(2);
    shape.series = 1 + random.Below(2);
    shape.devices = devices;
    shape.positionsPerDevice = positions;
    shape.modulesPerPosition = modulesPerPosition;
    shape.helpBytes = 0;
    shape.seed = seed;
    auto project = std::make_unique<CioProject>();
    project->database = test::GenerateCatalogue(shape);
    CioDb& db = *project->database;
    db.CountPoints();
    db.ComputeTotals();
    for (const auto& device : db.devices.children)
        if (random.Below(6) != 0)
            device->flags |= FLAG_CHECKED;
    for (const auto& series : db.seriesList.children) {
        series->flags |= FLAG_CHECKED;
        project->seriesSelection.entries.push_back(series.get());
    }
    for (const auto& kind : db.ioKinds.children) {
        auto item = std::make_unique<CioNode>();
        item->kindRef.object = kind.get();
        item->count = random.Below(3) == 0 ? 0 : random.Below(1 + random.Below(30));
        item->flags |= FLAG_CHECKED;
        project->requestList.Append(std::move(item));
    }
    return project;
}

struct Exact {
    explicit Exact(size_t firstColumns = CbcExactStep::kFirstColumns)
        : step(CbcExactStep::kDefaultSeconds, firstColumns) {}
    test::RecordingMessenger messenger;
    CbcExactStep step;
};

void Compile(CioProject& project, Exact& run, bool exactOnly, int level = 0,
             ManualResetEvent* stop = nullptr) {
    CompileRequest request;
    request.project = &project;
    request.thoroughness = level;
    request.messenger = &run.messenger;
    request.exact = &run.step;
    request.exactOnly = exactOnly;
    request.stopEvent = stop;
    project.Compile(&request);
}

// One configuration of a device as the reference odometer enumerates it: its price with the
// device's, its points of each requested kind and its lines.
struct Choice {
    int64_t price;
    std::vector<int32_t> points;
    bool vornet;
    bool kalbus;
    bool controller;
};

std::vector<Choice> Enumerate(CioPlc* device, const KindCountMap& request, bool root) {
    std::vector<Choice> choices;
    CioModuleSelector selector;
    if (device == nullptr || device->ioCount <= 0 || device->price <= 0 ||
        device->lines.entries.empty() || !test::ReferenceAttach(selector, device) ||
        !test::ReferenceFirst(selector, 0))
        return choices;
    do {
        if (!test::ReferenceIsValid(selector) || selector.Match(request) < 0)
            continue;
        Choice choice{selector.price.scaled + device->listPrice.scaled,
                      {},
                      device->HasVornet() != 0,
                      device->HasKalbus() != 0,
                      device->deviceType == 0};
        bool any = false;
        for (const auto& [kind, wanted] : request) {
            int32_t offered = 0;
            for (CioType* v : selector.variants)
                if (v != nullptr && v != &EmptyModule())
                    if (const uint16_t* n = static_cast<CioVariant*>(v)->kindCounts.Find(kind))
                        offered += *n;
            choice.points.push_back(std::min<int32_t>(offered, wanted));
            any = any || choice.points.back() > 0;
        }
        if (any || root)
            choices.push_back(std::move(choice));
    } while (test::ReferenceNext(selector, 0));
    return choices;
}

// The cheapest root configuration plus at most `most` further ones that place the request and
// can be wired; max when there is none.
int64_t BruteForce(const CioProject& project, int most) {
    KindCountMap request;
    for (const CioNode* item : project.effectiveRequest)
        request[item->Kind()] = static_cast<uint16_t>(item->count);
    std::vector<Choice> further;
    for (CioPlc* device : project.candidateDevices)
        for (Choice& c : Enumerate(device, request, false))
            further.push_back(std::move(c));
    int64_t best = std::numeric_limits<int64_t>::max();
    std::vector<const Choice*> chosen;
    const std::function<void(size_t)> extend = [&](size_t from) {
        std::vector<int32_t> placed(request.Size(), 0);
        int64_t price = 0;
        bool vornet = false;
        bool kalbus = false;
        for (const Choice* c : chosen) {
            price += c->price;
            for (size_t k = 0; k < placed.size(); ++k)
                placed[k] += c->points[k];
        }
        // Lines reachable from the root, device by device, in any order.
        std::vector<bool> wired(chosen.size(), false);
        wired[0] = true;
        vornet = chosen[0]->vornet;
        kalbus = chosen[0]->kalbus;
        for (bool grew = true; grew;) {
            grew = false;
            for (size_t i = 1; i < chosen.size(); ++i)
                if (!wired[i] && ((vornet && chosen[i]->vornet) || (kalbus && chosen[i]->kalbus))) {
                    wired[i] = grew = true;
                    vornet = vornet || chosen[i]->vornet;
                    kalbus = kalbus || chosen[i]->kalbus;
                }
        }
        size_t k = 0;
        bool complete = true;
        for (const auto& [kind, wanted] : request)
            complete = complete && placed[k++] >= wanted;
        if (complete && std::all_of(wired.begin(), wired.end(), [](bool w) { return w; }))
            best = std::min(best, price);
        if (chosen.size() > static_cast<size_t>(most) || price >= best)
            return;
        for (size_t i = from; i < further.size(); ++i) {
            chosen.push_back(&further[i]);
            extend(i);
            chosen.pop_back();
        }
    };
    for (CioPlc* root : project.rootControllers) {
        if (root->deviceType != 0)
            continue;
        for (const Choice& c : Enumerate(root, request, true)) {
            chosen = {&c};
            extend(0);
        }
    }
    return best;
}

TEST(ExactMode, AgreesWithBruteForceOnTinyCatalogues) {
    IsBuiltIn(nullptr);
    constexpr int kMost = 3;
    int compared = 0;
    int infeasible = 0;
    for (uint32_t seed = 1; seed <= 60 && !HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Random shape(seed);
        const int devices = 2 + shape.Below(2);
        const int modules = 1 + shape.Below(2);
        const int variants = 1 + shape.Below(2);
        auto project = GeneratedProject(seed, devices, 2, modules, variants);
        Exact run;
        Compile(*project, run, true);
        if (project->effectiveRequest.empty() || project->rootControllers.empty())
            continue;
        const int64_t brute = BruteForce(*project, kMost);
        if (project->exactOutcome == ExactOutcome::Infeasible) {
            // With no bound on the devices nothing is complete; within the bound neither.
            EXPECT_EQ(brute, std::numeric_limits<int64_t>::max());
            ++infeasible;
            continue;
        }
        ASSERT_EQ(project->exactOutcome, ExactOutcome::Proven);
        ASSERT_EQ(project->Count(), 1u);
        const CioSolution& exact = *project->Solution(0);
        EXPECT_TRUE(exact.IsComplete());
        const int64_t price = ScaledPrice(exact);
        EXPECT_LE(price, brute);
        if (exact.Count() <= kMost + 1) {
            EXPECT_EQ(price, brute);
            ++compared;
        }
    }
    EXPECT_GT(compared, 20);
    EXPECT_GT(infeasible, 0);
}

TEST(ExactMode, NeverDearerThanAnyCompleteSearchSolution) {
    IsBuiltIn(nullptr);
    int proven = 0;
    for (uint32_t seed = 100; seed < 140 && !HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Random shape(seed);
        const int devices = 2 + shape.Below(6);
        const int positions = 1 + shape.Below(3);
        const int modules = 1 + shape.Below(3);
        const int variants = 1 + shape.Below(3);
        const auto make = [&] {
            return GeneratedProject(seed, devices, positions, modules, variants);
        };
        auto project = make();
        Exact run;
        Compile(*project, run, false, shape.Below(7));
        if (project->exactOutcome != ExactOutcome::Proven) {
            for (size_t i = 0; i < project->Count(); ++i)
                EXPECT_FALSE(project->Solution(i)->IsComplete());
            continue;
        }
        ++proven;
        const CioSolution& exact = *project->Solution(0);
        EXPECT_TRUE(exact.provenCheapest);
        EXPECT_EQ(exact.number, 1);
        const int64_t price = ScaledPrice(exact);
        for (size_t i = 1; i < project->Count(); ++i) {
            const CioSolution& found = *project->Solution(i);
            EXPECT_FALSE(found.provenCheapest);
            if (found.IsComplete()) {
                EXPECT_LE(price, ScaledPrice(found)) << "solution " << i + 1;
            }
        }
        EXPECT_EQ(run.messenger.shown.back(), test::SearchProject::ResultMessage(project->Count()));
        // Starting from the three columns the relaxation rates best and widening must end at
        // the same price.
        auto again = make();
        Exact widening(3);
        Compile(*again, widening, true);
        ASSERT_EQ(again->exactOutcome, ExactOutcome::Proven);
        EXPECT_EQ(ScaledPrice(*again->Solution(0)), price);
    }
    EXPECT_GT(proven, 15);
}

// A KALBUS-only peripheral reaches a VORNET-only controller only through a device on both
// lines, which the cheapest configuration must then pay for; a request no device can place is
// said to have no complete solution.
TEST(ExactMode, PaysForTheBridgeAndRecognisesTheImpossible) {
    test::SearchProject f;
    CioType* a = f.Kind("A");
    CioType* b = f.Kind("B");
    CioType* c = f.Kind("C");
    CioModul* ma = f.Module("MA", 10, {test::Points(a, 4)});
    CioModul* mb = f.Module("MB", 10, {test::Points(b, 4)});
    f.Device("V", 0, 100, {&Vornet()}, {{ma}});
    f.Device("K", 1, 5, {&Kalbus()}, {{mb}});
    f.Device("VK", 1, 40, {&Vornet(), &Kalbus()}, {{ma}});
    f.Device("KB", 1, 500, {&Vornet()}, {{mb}});
    f.Request(a, 4);
    f.Request(b, 4);
    Exact run;
    f.Db().CountPoints();
    f.Db().ComputeTotals();
    Compile(f.project, run, false);
    ASSERT_EQ(f.project.exactOutcome, ExactOutcome::Proven);
    // V+MA, VK+MA, K+MB: 110 + 50 + 15; without the bridge only KB+MB, at 510.
    EXPECT_EQ(ScaledPrice(*f.project.Solution(0)), 175 * 10000);
    std::string report;
    f.project.Solution(0)->Describe(report, "");
    EXPECT_NE(report.find(ProgramText(TextId::ProvenCheapest)), std::string::npos);

    // A controller with a position that can take no module has no configuration at all.
    CioModul* cheap = f.Module("MC", 1, {test::Points(a, 4), test::Points(b, 4)});
    f.Device("R", 0, 1, {&Vornet(), &Kalbus()}, {{cheap}, {a}});
    f.Db().CountPoints();
    f.Db().ComputeTotals();
    Exact unconfigurable;
    Compile(f.project, unconfigurable, true);
    ASSERT_EQ(f.project.exactOutcome, ExactOutcome::Proven);
    EXPECT_EQ(ScaledPrice(*f.project.Solution(0)), 175 * 10000);

    f.Request(c, 1);
    Exact impossible;
    Compile(f.project, impossible, true);
    EXPECT_EQ(f.project.exactOutcome, ExactOutcome::Infeasible);
    EXPECT_EQ(f.project.Count(), 0u);
    EXPECT_EQ(impossible.messenger.shown.front(), ProgramText(TextId::NoCompleteSolution));
}

// A configuration the search found as well is listed once, first, as the proven cheapest.
TEST(ExactMode, ListsTheSearchesEqualSolutionOnce) {
    test::SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* ma = f.Module("MA", 10, {test::Points(a, 4)});
    f.Device("C", 0, 100, {&Vornet()}, {{ma}, {ma, &EmptyModule()}});
    f.Request(a, 3);
    f.Db().CountPoints();
    f.Db().ComputeTotals();
    Exact run;
    Compile(f.project, run, false);
    ASSERT_EQ(f.project.exactOutcome, ExactOutcome::Proven);
    ASSERT_EQ(f.project.Count(), 1u);
    EXPECT_TRUE(f.project.Solution(0)->provenCheapest);
    EXPECT_EQ(run.messenger.shown.back(), test::SearchProject::ResultMessage(1));
}

// The stop event ends the exact mode at once, whether it is walking configurations or inside
// CBC. The bench measures the real figure; this bound only catches a stop that is not seen.
TEST(ExactMode, StopEndsTheSolveWithinATenthOfASecond) {
    IsBuiltIn(nullptr);
    int stopped = 0;
    for (const int delayMs : {5, 40, 150}) {
        SCOPED_TRACE("stop after " + std::to_string(delayMs) + " ms");
        auto project = GeneratedProject(7, 60, 6, 6, 3);
        for (const auto& item : project->requestList.children)
            static_cast<CioNode*>(item.get())->count = 40;
        ManualResetEvent stop;
        Exact run;
        std::chrono::steady_clock::time_point set;
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            set = std::chrono::steady_clock::now();
            stop.Set();
        });
        Compile(*project, run, true, 0, &stop);
        const auto ended = std::chrono::steady_clock::now();
        canceller.join();
        if (project->exactOutcome != ExactOutcome::Stopped)
            continue;
        ++stopped;
        EXPECT_LT(ended - set, std::chrono::milliseconds(100));
        EXPECT_EQ(project->Count(), 0u);
    }
    EXPECT_GT(stopped, 0);
}

} // namespace
} // namespace pinsum
