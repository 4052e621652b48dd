#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/program_texts.h"
#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_solution.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"
#include "solver/device_configurations.h"
#include "solver/search_level.h"
#include "support/search_project.h"

namespace pinsum {
namespace {

using test::MatchedEquipment;
using test::Points;
using test::SearchProject;

// ---- Request checks -------------------------------------------------------------------------

class SearchRequestCheck : public ::testing::Test {
protected:
    SearchRequestCheck() {
        a = f.Kind("A");
        CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
        controller = f.Device("C", 0, 1000, {&Vornet()}, {{ma}});
        peripheral = f.Device("P", 1, 500, {&Vornet()}, {{ma}});
        f.Request(a, 5);
    }
    void ExpectRefused(TextId textId) {
        ASSERT_EQ(f.messenger.shown.size(), 1u);
        EXPECT_EQ(f.messenger.shown[0], ProgramText(textId));
        EXPECT_EQ(f.messenger.icons[0], MessageIcon::Stop);
        EXPECT_EQ(f.Count(), 0u);
    }
    SearchProject f;
    CioType* a = nullptr;
    CioPlc* controller = nullptr;
    CioPlc* peripheral = nullptr;
};

TEST_F(SearchRequestCheck, AllCountsZeroRefusesAndDropsEarlierSolutions) {
    f.Search(0);
    ASSERT_EQ(f.Count(), 1u);
    f.Request(a, 0);
    f.Search(0);
    ExpectRefused(TextId::NoCountsRequested);
}

TEST_F(SearchRequestCheck, OnlyPeripheralsChecked) {
    controller->flags &= ~FLAG_CHECKED;
    f.Search(0);
    ExpectRefused(TextId::NoPlcSelected);
}

TEST_F(SearchRequestCheck, NothingChecked) {
    f.series->flags &= ~FLAG_CHECKED;
    f.Search(0);
    ExpectRefused(TextId::NoControllerSelected);
    f.series->flags |= FLAG_CHECKED;
    controller->flags &= ~FLAG_CHECKED;
    peripheral->flags &= ~FLAG_CHECKED;
    f.Search(0);
    ExpectRefused(TextId::NoControllerSelected);
}

// ---- Root controllers and candidate devices -------------------------------------------------

class SearchCandidates : public ::testing::Test {
protected:
    SearchCandidates() {
        a = f.Kind("A");
        t = f.Kind("T", 1);
        CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
        CioModul* mt = f.Module("MT", 50, {Points(t, 4)});
        offersTerminals = f.Device("CK", 0, 1000, {&Vornet(), &Kalbus()}, {{ma, mt}});
        kalbusOnly = f.Device("CN", 0, 1000, {&Vornet(), &Kalbus()}, {{ma}});
        vornetOnly = f.Device("CV", 0, 1000, {&Vornet()}, {{ma}});
        peripheral = f.Device("P", 1, 500, {&Kalbus()}, {{ma}});
        f.Request(a, 8);
    }
    using Devices = std::vector<CioPlc*>;
    SearchProject f;
    CioType* a = nullptr;
    CioType* t = nullptr;
    CioPlc* offersTerminals = nullptr;
    CioPlc* kalbusOnly = nullptr;
    CioPlc* vornetOnly = nullptr;
    CioPlc* peripheral = nullptr;
};

TEST_F(SearchCandidates, KalbusControllerIsACandidateOnlyForTwoOrMoreTerminals) {
    f.Request(t, 2);
    f.Search(0);
    EXPECT_EQ(f.project.rootControllers, (Devices{offersTerminals}));
    EXPECT_EQ(f.project.candidateDevices, (Devices{offersTerminals, vornetOnly, peripheral}));

    f.Request(t, 1);
    f.Search(0);
    EXPECT_EQ(f.project.rootControllers, (Devices{offersTerminals}));
    EXPECT_EQ(f.project.candidateDevices, (Devices{vornetOnly, peripheral}));

    // An enabled terminal kind without a count still decides who may start a solution.
    f.Request(t, 0);
    f.Search(0);
    EXPECT_EQ(f.project.rootControllers, (Devices{offersTerminals}));
    EXPECT_EQ(f.project.candidateDevices, (Devices{vornetOnly, peripheral}));
}

TEST_F(SearchCandidates, WithoutEnabledTerminalsEveryControllerStartsSolutions) {
    f.Item(t)->flags &= ~FLAG_CHECKED;
    f.Request(t, 2);
    f.Search(0);
    EXPECT_EQ(f.project.rootControllers, (Devices{offersTerminals, kalbusOnly, vornetOnly}));
    EXPECT_EQ(f.project.candidateDevices, (Devices{vornetOnly, peripheral}));
    // The unchecked terminal kind is still part of the request.
    EXPECT_EQ(f.project.effectiveRequest.size(), 2u);
    EXPECT_EQ(f.project.requestedTotal, 10);
}

TEST_F(SearchCandidates, RootControllersStandInWhenNothingElseIsACandidate) {
    kalbusOnly->flags &= ~FLAG_CHECKED;
    vornetOnly->flags &= ~FLAG_CHECKED;
    peripheral->flags &= ~FLAG_CHECKED;
    f.Request(t, 1);
    f.Search(0);
    EXPECT_EQ(f.project.candidateDevices, (Devices{offersTerminals}));
    EXPECT_GT(f.Count(), 0u);
}

TEST_F(SearchCandidates, NoRootControllerMeansNoSolutionAndTheMessageSaysZero) {
    offersTerminals->flags &= ~FLAG_CHECKED;
    f.Request(t, 2);
    f.Search(0);
    EXPECT_TRUE(f.project.rootControllers.empty());
    EXPECT_EQ(f.Count(), 0u);
    ASSERT_EQ(f.messenger.shown.size(), 1u);
    EXPECT_EQ(f.messenger.shown[0], SearchProject::ResultMessage(0));
    EXPECT_EQ(f.messenger.icons[0], MessageIcon::Information);
}

// ---- Equipment: lines, configuration, ranking -----------------------------------------------

class SearchEquip : public ::testing::Test {
protected:
    SearchEquip() {
        a = f.Kind("A");
        b = f.Kind("B");
        cheap = f.Module("M4", 50, {Points(a, 4)});
        big = f.Module("M8", 100, {Points(a, 8)});
    }
    void Totals() {
        f.Db().CountPoints();
        f.Db().ComputeTotals();
    }
    SearchProject f;
    CioType* a = nullptr;
    CioType* b = nullptr;
    CioModul* cheap = nullptr;
    CioModul* big = nullptr;
};

TEST_F(SearchEquip, DevicesNeedALineTheSolutionHas) {
    CioPlc* controller = f.Device("C", 0, 1000, {&Vornet()}, {{big}});
    CioPlc* onKalbus = f.Device("P", 1, 500, {&Kalbus()}, {{big}});
    CioPlc* noLines = f.Device("Q", 1, 500, {}, {{big}});
    f.Request(a, 4);
    Totals();
    CioNode* item = f.Item(a);
    auto solution = CioSolution::ForController(controller, {item});
    EXPECT_EQ(f.project.MakeEquipment(solution.get(), onKalbus), nullptr);
    EXPECT_EQ(f.project.MakeEquipment(solution.get(), noLines), nullptr);
    EXPECT_NE(f.project.MakeEquipment(solution.get(), controller), nullptr);
    solution->AddLines(onKalbus);
    auto equip = f.project.MakeEquipment(solution.get(), onKalbus);
    ASSERT_NE(equip, nullptr);
    EXPECT_EQ(equip->Device(), onKalbus);
    EXPECT_EQ(equip->ioCount, 4);

    auto empty = CioSolution::ForController(controller, {});
    EXPECT_EQ(f.project.MakeEquipment(empty.get(), controller), nullptr);
}

TEST_F(SearchEquip, NothingToPayOrNothingToOfferIsNeverConfigured) {
    CioModul* free = f.Module("MF", 0, {Points(a, 8)});
    CioPlc* gratis = f.Device("G", 1, 0, {&Kalbus()}, {{free}});
    CioPlc* hollow = f.Device("H", 1, 10, {&Kalbus()}, {{&EmptyModule()}});
    CioPlc* normal = f.Device("N", 1, 10, {&Kalbus()}, {{big}});
    Totals();
    KindCountMap remaining;
    remaining[a] = 4;
    CioEquip equip;
    EXPECT_EQ(equip.Configure(DeviceConfigurations(normal), remaining, 4, false), 1);
    EXPECT_EQ(equip.selectors.size(), 1u);
    EXPECT_EQ(equip.Configure(DeviceConfigurations(gratis), remaining, 4, false), 0);
    EXPECT_TRUE(equip.selectors.empty());
    EXPECT_EQ(equip.Device(), gratis);
    EXPECT_EQ(equip.Configure(DeviceConfigurations(hollow), remaining, 4, false), 0);
    EXPECT_EQ(equip.Configure(DeviceConfigurations(normal), remaining, 0, false), 0);
}

TEST_F(SearchEquip, BestScoreWinsAndSetsPriceAndCount) {
    CioPlc* device = f.Device("D", 0, 1000, {&Vornet()}, {{big, cheap}});
    Totals();
    ASSERT_EQ(device->price, 1100.0);
    ASSERT_EQ(device->ioCount, 8);
    KindCountMap remaining;
    remaining[a] = 4;
    CioEquip equip;
    ASSERT_EQ(equip.Configure(DeviceConfigurations(device), remaining, 4, false), 1);
    ASSERT_EQ(equip.selectors.size(), 1u);
    EXPECT_EQ(equip.Chosen()->modules[0], cheap);
    const double p = 50.0 / 1100.0;
    EXPECT_DOUBLE_EQ(equip.score, 1.0 + 3 * 0.25 + (1 - p) * (1 - p));
    EXPECT_EQ(equip.price, 1050.0);
    EXPECT_EQ(equip.ioCount, 4);
}

TEST_F(SearchEquip, UncoveredConfigurationsCountOnlyForTheFirstDevice) {
    CioPlc* device = f.Device("D", 0, 1000, {&Vornet()}, {{big, cheap}});
    Totals();
    KindCountMap remaining;
    remaining[b] = 3;
    CioEquip equip;
    EXPECT_EQ(equip.Configure(DeviceConfigurations(device), remaining, 3, false), 1);
    EXPECT_TRUE(equip.selectors.empty());
    EXPECT_EQ(equip.Configure(DeviceConfigurations(device), remaining, 3, true), 1);
    ASSERT_EQ(equip.selectors.size(), 1u);
    EXPECT_EQ(equip.Chosen()->modules[0], cheap);
    EXPECT_EQ(equip.ioCount, 0);
}

TEST_F(SearchEquip, EqualScoresAccumulateButSameModulesAppearOnce) {
    // A second variant keeps M8b from being a twin of M8, which would count as the same module.
    CioModul* twin = f.Module("M8b", 100, {Points(a, 8), Points(a, 1)});
    CioModul* twoWays = f.Module("M8v", 100, {Points(a, 8), Points(a, 8)});
    CioPlc* device = f.Device("D", 0, 1000, {&Vornet()}, {{big, twin, twoWays}});
    Totals();
    KindCountMap remaining;
    remaining[a] = 8;
    CioEquip equip;
    ASSERT_EQ(equip.Configure(DeviceConfigurations(device), remaining, 8, false), 1);
    ASSERT_EQ(equip.selectors.size(), 3u);
    EXPECT_EQ(equip.selectors[0]->modules[0], big);
    EXPECT_EQ(equip.selectors[1]->modules[0], twin);
    EXPECT_EQ(equip.selectors[2]->modules[0], twoWays);
    EXPECT_EQ(equip.selectors[2]->variants[0], static_cast<CioType*>(twoWays->Variant(0)));
}

// ---- Merging candidates into the working list -----------------------------------------------

class SearchMerge : public ::testing::Test {
protected:
    using Candidates = std::vector<std::unique_ptr<CioEquip>>;
    using Layout = std::vector<std::string>;

    SearchMerge() {
        a = f.Kind("A");
        CioModul* m16 = f.Module("M16", 200, {Points(a, 16)});
        CioModul* m8 = f.Module("M8", 100, {Points(a, 8)});
        CioModul* m4 = f.Module("M4", 50, {Points(a, 4)});
        CioModul* m4b = f.Module("M4b", 60, {Points(a, 4)});
        // Second variants set M4c and M4d apart from M4 and from each other: twins would not fork.
        CioModul* m4c = f.Module("M4c", 50, {Points(a, 4), Points(a, 1)});
        CioModul* m4d = f.Module("M4d", 50, {Points(a, 4), Points(a, 2)});
        controller = f.Device("C", 0, 1000, {&Vornet(), &Kalbus()}, {{m8}});
        cheap = f.Device("P1", 1, 100, {&Kalbus()}, {{m4}});
        dear = f.Device("P2", 1, 100, {&Kalbus()}, {{m4b}});
        whole = f.Device("W1", 1, 300, {&Kalbus()}, {{m16}});
        otherWhole = f.Device("W2", 1, 400, {&Kalbus()}, {{m16}});
        triple = f.Device("T", 1, 100, {&Kalbus()}, {{m4, m4c, m4d}});
        f.Request(a, 16);
        f.Db().CountPoints();
        f.Db().ComputeTotals();
        f.project.requestedTotal = 16;
        solution = AddWorking();
    }
    CioSolution* AddWorking() {
        f.project.children.push_back(CioSolution::ForController(controller, {f.Item(a)}));
        return f.project.Solution(f.project.Count() - 1);
    }
    Candidates Make(std::initializer_list<CioPlc*> devices) {
        Candidates list;
        for (CioPlc* device : devices)
            list.push_back(f.project.MakeEquipment(solution, device));
        return list;
    }
    void Merge(int level, Candidates list) {
        SetSearchLevel(level);
        EXPECT_EQ(f.project.MergeCandidates(list, solution), 1);
    }
    SearchProject f;
    CioType* a = nullptr;
    CioPlc* controller = nullptr;
    CioPlc* cheap = nullptr;
    CioPlc* dear = nullptr;
    CioPlc* whole = nullptr;
    CioPlc* otherWhole = nullptr;
    CioPlc* triple = nullptr;
    CioSolution* solution = nullptr;
};

TEST_F(SearchMerge, FastLevelTakesOnlyTheBestPartialCandidate) {
    Merge(0, Make({dear, cheap}));
    ASSERT_EQ(f.project.Count(), 1u);
    EXPECT_EQ(f.Layout(0), (Layout{"P1:M4"}));
    EXPECT_EQ(solution->remaining[0]->count, 12);
}

TEST_F(SearchMerge, EachLevelAddsAnAlternativeOnACopy) {
    Merge(1, Make({dear, cheap}));
    ASSERT_EQ(f.project.Count(), 2u);
    EXPECT_EQ(f.Layout(0), (Layout{"P1:M4"}));
    EXPECT_EQ(f.Layout(1), (Layout{"P2:M4b"}));
}

TEST_F(SearchMerge, UnfinishedSolutionsUseUpTheAlternatives) {
    AddWorking();
    AddWorking();
    Merge(1, Make({dear, cheap}));
    ASSERT_EQ(f.project.Count(), 3u);
    EXPECT_EQ(f.Layout(0), (Layout{"P1:M4"}));
}

TEST_F(SearchMerge, CompletingCandidatesAreAlwaysTakenFirst) {
    Merge(0, Make({cheap, whole, otherWhole}));
    ASSERT_EQ(f.project.Count(), 2u);
    EXPECT_EQ(f.Layout(0), (Layout{"W1:M16"}));
    EXPECT_EQ(f.Layout(1), (Layout{"W2:M16"}));
    EXPECT_EQ(f.project.Solution(1)->IsComplete(), 1);
}

// Guards the slot count: a completing candidate taken after the first must not use up a slot.
TEST_F(SearchMerge, LaterCompletingCandidatesLeaveTheAlternativeSlotFree) {
    Merge(1, Make({cheap, whole, otherWhole}));
    ASSERT_EQ(f.project.Count(), 3u);
    EXPECT_EQ(f.Layout(0), (Layout{"W1:M16"}));
    EXPECT_EQ(f.Layout(1), (Layout{"W2:M16"}));
    EXPECT_EQ(f.Layout(2), (Layout{"P1:M4"}));
}

TEST_F(SearchMerge, NoCandidateStopsTheSolution) {
    Candidates none;
    none.push_back(nullptr);
    Merge(3, std::move(none));
    EXPECT_EQ(solution->canExtend, 0);
    EXPECT_EQ(solution->IsFinished(), 1);
    EXPECT_EQ(f.project.Count(), 1u);
}

TEST_F(SearchMerge, EqualConfigurationsBecomeNumberedSiblings) {
    auto equip = f.project.MakeEquipment(solution, triple);
    ASSERT_NE(equip, nullptr);
    ASSERT_EQ(equip->selectors.size(), 3u);
    ASSERT_EQ(f.project.AttachEquipment(equip, solution), 1);
    ASSERT_EQ(f.project.Count(), 3u);
    EXPECT_EQ(f.Layout(0), (Layout{"T:M4"}));
    EXPECT_EQ(f.Layout(1), (Layout{"T:M4d"}));
    EXPECT_EQ(f.Layout(2), (Layout{"T:M4c"}));
    EXPECT_EQ(f.project.Solution(1)->number, 1);
    EXPECT_EQ(f.project.Solution(2)->number, 2);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(f.project.Solution(i)->remaining[0]->count, 12);
    EXPECT_NE(f.project.Solution(1)->id, solution->id);
    EXPECT_NE(f.project.Solution(1)->Equipment(0), solution->Equipment(0));

    std::unique_ptr<CioEquip> empty = std::make_unique<CioEquip>();
    EXPECT_EQ(f.project.AttachEquipment(empty, solution), 0);
}

TEST_F(SearchMerge, RerankOrdersByAscendingScoreAndAppendsTheUnscored) {
    f.project.children.clear();
    f.project.requestedTotal = 12;
    auto with = [&](CioPlc* device, int points) {
        CioSolution* s = AddWorking();
        KindCountMap request;
        request[a] = static_cast<uint16_t>(points);
        if (device != nullptr)
            s->Append(MatchedEquipment(device, request));
        return s;
    };
    CioSolution* cheapest = with(whole, 8);       // 500, 8 used
    CioSolution* empty = with(nullptr, 0);        // no price
    CioSolution* dearest = with(controller, 8);   // 1100, 8 used
    CioSolution* overfull = with(otherWhole, 16); // more used than requested
    f.project.RerankWorking();
    ASSERT_EQ(f.project.Count(), 4u);
    EXPECT_EQ(f.project.Solution(0), dearest);
    EXPECT_EQ(f.project.Solution(1), cheapest);
    EXPECT_EQ(f.project.Solution(2), empty);
    EXPECT_EQ(f.project.Solution(3), overfull);
    const double fill = (8.0 / 12.0) * (8.0 / 12.0) + 0.25;
    EXPECT_DOUBLE_EQ(dearest->rankScore, fill);
    EXPECT_DOUBLE_EQ(cheapest->rankScore, fill + (1 - 500.0 / 1100.0) * (1 - 500.0 / 1100.0));
    EXPECT_EQ(overfull->rankScore, 0.0);
}

// ---- Solution limits and compaction ---------------------------------------------------------

TEST(SearchLimits, ThirtyOnTheNetworkAndSixtyFourOnTheBusPerController) {
    SearchProject f;
    CioType* a = f.Kind("A");
    CioModul* ma = f.Module("MA", 100, {Points(a, 8)});
    CioPlc* netController = f.Device("C", 0, 1000, {&Vornet()}, {{ma}});
    CioPlc* busController = f.Device("K", 0, 1000, {&Vornet(), &Kalbus()}, {{ma}});
    CioPlc* busPeripheral = f.Device("P", 1, 100, {&Kalbus()}, {{ma}});
    auto place = [](CioSolution& s, CioPlc* device, int n) {
        for (int i = 0; i < n; ++i) {
            auto equip = std::make_unique<CioEquip>();
            equip->device.object = device;
            s.Append(std::move(equip));
        }
    };

    CioSolution network;
    place(network, netController, 29);
    EXPECT_EQ(network.CanAccept(netController), 1);
    place(network, netController, 1);
    EXPECT_EQ(network.CanAccept(netController), 0);
    EXPECT_EQ(network.CanAccept(busPeripheral), 0);
    EXPECT_EQ(network.CanAccept(nullptr), 0);
    EXPECT_EQ(network.IsFinished(), 1);

    CioSolution bus;
    place(bus, busController, 1);
    place(bus, busPeripheral, 63);
    EXPECT_EQ(bus.CanAccept(busPeripheral), 1);
    EXPECT_EQ(bus.CanAccept(netController), 1);
    place(bus, busPeripheral, 1);
    EXPECT_EQ(bus.CanAccept(busPeripheral), 0);
    EXPECT_EQ(bus.CanAccept(netController), 1);
    EXPECT_EQ(bus.CanAccept(nullptr), 1);
}

class SearchCompact : public ::testing::Test {
protected:
    SearchCompact() {
        a = f.Kind("A");
        m4 = f.Module("M4", 40, {Points(a, 4)});
        m8 = f.Module("M8", 80, {Points(a, 8)});
        controller = f.Device("C", 0, 1000, {&Vornet(), &Kalbus()}, {{m4}});
        small = f.Device("P1", 1, 200, {&Kalbus()}, {{m4}});
        large = f.Device("P2", 1, 300, {&Kalbus()}, {{m8}});
        f.Db().CountPoints();
        f.Db().ComputeTotals();
    }
    void Place(CioPlc* device, int points) {
        KindCountMap request;
        request[a] = static_cast<uint16_t>(points);
        solution.Append(MatchedEquipment(device, request));
    }
    std::vector<CioPlc*> Devices() const {
        std::vector<CioPlc*> devices;
        for (size_t i = 0; i < solution.Count(); ++i)
            devices.push_back(solution.Equipment(i)->Device());
        return devices;
    }
    int Placed(size_t index) const {
        const uint16_t* n = solution.Equipment(index)->Chosen()->positionMaps[0]->Find(a);
        return n != nullptr ? *n : 0;
    }
    SearchProject f;
    CioType* a = nullptr;
    CioModul* m4 = nullptr;
    CioModul* m8 = nullptr;
    CioPlc* controller = nullptr;
    CioPlc* small = nullptr;
    CioPlc* large = nullptr;
    CioSolution solution;
};

TEST_F(SearchCompact, PeripheralWhoseLoadFitsElsewhereIsRemoved) {
    Place(controller, 4);
    Place(small, 2);
    Place(large, 3);
    solution.Compact();
    EXPECT_EQ(Devices(), (std::vector<CioPlc*>{controller, large}));
    EXPECT_EQ(Placed(1), 5);
    EXPECT_EQ(solution.Equipment(1)->Chosen()->coveredTotal, 5);
    EXPECT_EQ(solution.GetIoCount(true), 9);
    EXPECT_EQ(*solution.moduleCounts.Find(m4), 1);
    EXPECT_EQ(*solution.moduleCounts.Find(m8), 1);
    EXPECT_EQ(solution.Equipment(1)->price, 380.0);
}

// The only device on both lines stays even when its points fit elsewhere: without it the
// KALBUS-only peripheral would hang on a VORNET-only controller with no line between them.
TEST_F(SearchCompact, BridgeBetweenTheLinesIsNeverRemoved) {
    CioPlc* vornetOnly = f.Device("CV", 0, 1000, {&Vornet()}, {{m4}});
    CioPlc* bridge = f.Device("PB", 1, 200, {&Vornet(), &Kalbus()}, {{m4}});
    f.Db().CountPoints();
    f.Db().ComputeTotals();
    Place(vornetOnly, 4);
    Place(bridge, 2);
    Place(large, 3);
    solution.Compact();
    EXPECT_EQ(Devices(), (std::vector<CioPlc*>{vornetOnly, bridge, large}));
}

TEST_F(SearchCompact, ControllerTakesPointsFirstButIsNeverRemoved) {
    Place(controller, 2);
    Place(small, 2);
    Place(large, 3);
    solution.Compact();
    EXPECT_EQ(Devices(), (std::vector<CioPlc*>{controller, large}));
    EXPECT_EQ(Placed(0), 4);
    EXPECT_EQ(Placed(1), 3);
}

TEST_F(SearchCompact, LoadThatDoesNotFitStays) {
    Place(controller, 4);
    Place(small, 4);
    Place(large, 6);
    solution.Compact();
    EXPECT_EQ(Devices(), (std::vector<CioPlc*>{controller, small, large}));
    EXPECT_EQ(Placed(2), 6);
    EXPECT_EQ(*solution.moduleCounts.Find(m4), 2);
}

TEST_F(SearchCompact, DuplicatesCompareModuleCountsOfTheEarlierSolution) {
    CioSolution earlier;
    earlier.moduleCounts[m4] = 1;
    CioSolution later;
    later.Append(MatchedEquipment(large, {}));
    later.moduleCounts[m4] = 1;
    later.moduleCounts[m8] = 1;
    EXPECT_EQ(later.IsSameAs(&earlier), 1);
    EXPECT_EQ(earlier.IsSameAs(&later), 1); // no equipment: the same as anything
    earlier.moduleCounts[m4] = 2;
    EXPECT_EQ(later.IsSameAs(&earlier), 0);
    // Solutions that were never compacted have no counts: any later one is a duplicate.
    CioSolution plain;
    EXPECT_EQ(later.IsSameAs(&plain), 1);
    CioEquip notASolution;
    EXPECT_EQ(later.IsSameAs(&notASolution), 0);
}

} // namespace
} // namespace pinsum
