#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/object_stream.h"
#include "solver/configuration_walk.h"
#include "support/reference_search.h"
#include "support/search_project.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

using test::AddDevice;
using test::AddKind;
using test::AddModule;
using test::Points;

class SelectorTest : public ::testing::Test {
protected:
    SelectorTest() {
        k = AddKind(db, "K");
        required = AddKind(db, "R", 0, true);
        terminal = AddKind(db, "T", 1);
    }

    CioPlc* Device(const std::vector<std::vector<CioType*>>& positions) {
        return AddDevice(db, "D", nullptr, 0, positions);
    }
    void Count() {
        db.CountPoints();
        db.ComputeTotals();
    }
    // The variants of every valid configuration of the device, one per position joined by "|",
    // in the order the walk visits them.
    static std::vector<std::string> Walk(CioPlc* device) {
        const ConfigurationWalk walk(device);
        std::vector<std::string> seen;
        walk.Run([&](const uint32_t* digits, int64_t, const int32_t*) {
            std::string text;
            for (size_t p = 0; p < walk.Positions(); ++p) {
                const PositionChoice& choice = walk.Choice(p, digits[p]);
                text +=
                    (p > 0 ? "|" : "") + (choice.empty ? std::string("--") : choice.variant->name);
            }
            seen.push_back(text);
            return seen.size() < 100;
        });
        return seen;
    }

    CioDb db;
    CioType* k = nullptr;
    CioType* required = nullptr;
    CioType* terminal = nullptr;
};

TEST_F(SelectorTest, NineConfigurationsComeInOdometerOrder) {
    CioModul* a = AddModule(db, "A", 10 * 10000, {{k}, {k, k}});
    CioModul* b = AddModule(db, "B", 20 * 10000, {{k, k, k}});
    a->Variant(0)->name = "a1";
    a->Variant(1)->name = "a2";
    b->Variant(0)->name = "b1";
    CioPlc* device = Device({{a, b}, {a, b}});
    Count();
    EXPECT_EQ(Walk(device), (std::vector<std::string>{"a1|a1", "a2|a1", "b1|a1", "a1|a2", "a2|a2",
                                                      "b1|a2", "a1|b1", "a2|b1", "b1|b1"}));
}

TEST_F(SelectorTest, ModuleWithoutVariantsFirstInAPositionDoesNotEndTheEnumeration) {
    CioModul* none = AddModule(db, "Z", 5 * 10000, {});
    CioModul* a = AddModule(db, "A", 10 * 10000, {{k}, {k, k}});
    CioModul* b = AddModule(db, "B", 20 * 10000, {{k, k, k}});
    a->Variant(0)->name = "a1";
    a->Variant(1)->name = "a2";
    b->Variant(0)->name = "b1";
    CioPlc* device = Device({{none, nullptr, a}, {a, b}});
    Count();
    EXPECT_EQ(Walk(device),
              (std::vector<std::string>{"a1|a1", "a2|a1", "a1|a2", "a2|a2", "a1|b1", "a2|b1"}));
}

TEST_F(SelectorTest, AttachNeedsPositionsWithAllowedModules) {
    CioModul* a = AddModule(db, "A", 10 * 10000, {{k}});
    EXPECT_FALSE(ConfigurationWalk(nullptr).Attachable());
    EXPECT_FALSE(ConfigurationWalk(Device({})).Attachable());

    CioPlc* gap = Device({{a}, {}, {a}});
    Count();
    EXPECT_TRUE(ConfigurationWalk(gap).Attachable());
    EXPECT_TRUE(Walk(gap).empty());
}

TEST_F(SelectorTest, EmptyPositionsMustCloseTheConfiguration) {
    CioModul* a = AddModule(db, "A", 10 * 10000, {{k}});
    a->Variant(0)->name = "a";
    CioPlc* device = Device({{&EmptyModule(), a}, {&EmptyModule(), a}});
    Count();
    EXPECT_EQ(Walk(device), (std::vector<std::string>{"--|--", "a|--", "a|a"}));
}

TEST_F(SelectorTest, ExclusionLooksOnlyAtLaterPositions) {
    CioModul* x = AddModule(db, "X", 10 * 10000, {{k}});
    CioModul* y = AddModule(db, "Y", 10 * 10000, {{k}});
    CioModul* z = AddModule(db, "Z", 10 * 10000, {{k}});
    x->Variant(0)->name = "x";
    y->Variant(0)->name = "y";
    z->Variant(0)->name = "z";
    x->Variant(0)->rules.entries = {y->Variant(0)};
    CioPlc* device = Device({{x, y}, {x, y}});
    Count();
    EXPECT_EQ(Walk(device), (std::vector<std::string>{"x|x", "y|x", "y|y"}));

    y->Variant(0)->rules.entries = {x->Variant(0)};
    Count();
    EXPECT_TRUE(Walk(Device({{x}, {z}, {y}})).empty());
    EXPECT_TRUE(Walk(Device({{y}, {z}, {x}})).empty());
    EXPECT_TRUE(Walk(Device({{z}, {y}, {x}})).empty());
    EXPECT_EQ(Walk(Device({{x}, {z}, {z}})), (std::vector<std::string>{"x|z|z"}));
}

class SelectorMatch : public SelectorTest {
protected:
    // Two positions of four points of K each, at 40 and 60.
    void SetUp() override {
        four = AddModule(db, "M4", 40 * 10000, {Points(k, 4)});
        other = AddModule(db, "M4b", 60 * 10000, {Points(k, 4)});
        device = Device({{four}, {other}});
        Count();
        test::AttachFirstValid(s, device);
    }
    CioModul* four = nullptr;
    CioModul* other = nullptr;
    CioPlc* device = nullptr;
    CioModuleSelector s;
};

TEST_F(SelectorMatch, FivePointsOverFourAndFour) {
    KindCountMap request;
    request[k] = 5;
    EXPECT_EQ(s.Match(request), 5);
    EXPECT_EQ(s.coveredTotal, 5);
    EXPECT_EQ(*s.positionMaps[0]->Find(k), 4);
    EXPECT_EQ(*s.positionMaps[1]->Find(k), 1);
    EXPECT_EQ(*s.remaining.Find(k), 0);
    EXPECT_EQ(s.CoversAll(), 1);
    EXPECT_EQ(s.usedPositions, 2);
    EXPECT_EQ(s.price.Numeric(), 100.0);

    request[k] = 10;
    EXPECT_EQ(s.Match(request), 8);
    EXPECT_EQ(*s.remaining.Find(k), 2);
    EXPECT_EQ(s.CoversAll(), 0);

    // A repeated match starts again from the request, not from what was placed before.
    request[k] = 3;
    EXPECT_EQ(s.Match(request), 3);
    EXPECT_EQ(*s.positionMaps[0]->Find(k), 3);
    EXPECT_TRUE(s.positionMaps[1]->Empty());
}

TEST_F(SelectorTest, RequiredKindNeedsToBeRequested) {
    CioModul* mixed = AddModule(db, "MR", 10 * 10000, {{k, k, required}});
    CioPlc* device = Device({{mixed}, {mixed}});
    Count();
    CioModuleSelector s;
    test::AttachFirstValid(s, device);
    KindCountMap request;
    request[k] = 2;
    EXPECT_EQ(s.Match(request), -1);
    request[required] = 0;
    EXPECT_EQ(s.Match(request), -1);
    // The second position still offers R after the first took the only requested point.
    request[required] = 1;
    EXPECT_EQ(s.Match(request), 3);
    EXPECT_EQ(*s.positionMaps[0]->Find(required), 1);
    EXPECT_EQ(s.positionMaps[1]->Find(required), nullptr);
}

TEST_F(SelectorTest, SameModulesInAnyPositions) {
    CioModul* a = AddModule(db, "A", 10 * 10000, {{k}});
    CioModul* b = AddModule(db, "B", 10 * 10000, {{k}});
    CioModul* c = AddModule(db, "C", 10 * 10000, {{k}});
    CioModul* e = &EmptyModule();
    auto with = [](std::vector<CioModul*> modules) {
        auto s = std::make_unique<CioModuleSelector>();
        s->modules = std::move(modules);
        return s;
    };
    EXPECT_EQ(with({a, b, e})->IsSameAs(with({b, a, e}).get()), 1);
    EXPECT_EQ(with({a, e, e})->IsSameAs(with({b, e, e}).get()), 1);
    EXPECT_EQ(with({a, b, e})->IsSameAs(with({a, c, e}).get()), 0);
    EXPECT_EQ(with({a, a, e})->IsSameAs(with({a, b, e}).get()), 0);
    EXPECT_EQ(with({a, b})->IsSameAs(with({a, b, e}).get()), 0);
    EXPECT_EQ(with({a, b})->IsSameAs(nullptr), 0);

    std::vector<std::unique_ptr<CioModuleSelector>> list;
    list.push_back(with({a, c}));
    EXPECT_EQ(with({b, a})->IsSameAsAny(list), 0);
    list.push_back(with({b, a}));
    EXPECT_EQ(with({a, b})->IsSameAsAny(list), 1);
}

class SelectorCapacity : public SelectorTest {
protected:
    // Positions: 8 points of K on M8, 4 of K and 2 terminals on MT, and an empty slot.
    void SetUp() override {
        eight = AddModule(db, "M8", 80 * 10000, {Points(k, 8)});
        mixed = AddModule(db, "MT", 30 * 10000, {{k, k, k, k, terminal, terminal}});
        device = Device({{eight}, {mixed}, {&EmptyModule()}});
        Count();
        test::AttachFirstValid(s, device);
        KindCountMap request;
        request[k] = 10;
        request[terminal] = 1;
        ASSERT_EQ(s.Match(request), 11);
    }
    CioModul* eight = nullptr;
    CioModul* mixed = nullptr;
    CioPlc* device = nullptr;
    CioModuleSelector s;
};

TEST_F(SelectorCapacity, FreeCapacityAndLoadPerKind) {
    PointMap free;
    free[k] = 1;
    s.AddCapacity(free, true);
    EXPECT_EQ(*free.Find(k), 1 + 0 + 2);
    EXPECT_EQ(*free.Find(terminal), 1);
    PointMap load;
    s.AddCapacity(load, false);
    EXPECT_EQ(*load.Find(k), 10);
    EXPECT_EQ(*load.Find(terminal), 1);
    EXPECT_EQ(load.Size(), 2u);
}

TEST_F(SelectorCapacity, AbsorbFillsFreeRoomAndKeepsTheRest) {
    PointMap load;
    load[terminal] = 3;
    load[k] = 1;
    s.Absorb(load);
    EXPECT_EQ(s.coveredTotal, 11 + 1 + 1);
    EXPECT_EQ(*s.positionMaps[1]->Find(k), 3);
    EXPECT_EQ(*s.positionMaps[1]->Find(terminal), 2);
    EXPECT_EQ(load.Find(k), nullptr);
    EXPECT_EQ(*load.Find(terminal), 2);
    EXPECT_EQ(*s.positionMaps[0]->Find(k), 8);
}

TEST_F(SelectorTest, MarkIdlePositionsKeepsModulesAndStopsAtAPositionThatMustBeFilled) {
    CioModul* m = AddModule(db, "M", 100 * 10000, {Points(k, 4)});
    CioModul* n = AddModule(db, "N", 7 * 10000, {Points(k, 4)});
    CioPlc* device = Device({{m}, {n, &EmptyModule()}, {m, &EmptyModule()}});
    Count();
    CioModuleSelector s;
    test::AttachFirstValid(s, device);
    KindCountMap request;
    request[k] = 3;
    ASSERT_EQ(s.Match(request), 3);
    ASSERT_EQ(s.price.Numeric(), 207.0);
    double price = -1;
    EXPECT_EQ(s.MarkIdlePositions(price), 1);
    EXPECT_EQ(s.variants[0], m->Variant(0));
    EXPECT_EQ(s.variants[1], &EmptyModule());
    EXPECT_EQ(s.variants[2], &EmptyModule());
    EXPECT_EQ(s.modules, (std::vector<CioModul*>{m, n, m}));
    // Idle positions keep their modules and so their prices.
    EXPECT_EQ(price, 207.0);
    OrderedMap<CioModul*, uint16_t> counts;
    s.CountModules(counts);
    EXPECT_EQ(*counts.Find(m), 2);
    EXPECT_EQ(*counts.Find(n), 1);

    // Position 1 cannot be left empty: position 2 is marked, position 1 and below are not.
    CioPlc* strict = Device({{m}, {n}, {m, &EmptyModule()}});
    Count();
    test::AttachFirstValid(s, strict);
    ASSERT_EQ(s.Match(request), 3);
    s.positionMaps[0]->Clear();
    price = -1;
    EXPECT_EQ(s.MarkIdlePositions(price), 0);
    EXPECT_EQ(price, -1);
    EXPECT_EQ(s.variants[2], &EmptyModule());
    EXPECT_EQ(s.variants[1], n->Variant(0));
    EXPECT_EQ(s.variants[0], m->Variant(0));
}

TEST_F(SelectorTest, IdlePositionsNoLongerCountAsUnusedPoints) {
    CioModul* m = AddModule(db, "M", 100 * 10000, {Points(k, 4)});
    CioPlc* device = Device({{m}, {m, &EmptyModule()}});
    Count();
    KindCountMap request;
    request[k] = 3;
    auto equip = test::MatchedEquipment(device, request);
    EXPECT_EQ(equip->GetIoCount(false), 8 - 3);
    double price = 0;
    ASSERT_EQ(equip->Chosen()->MarkIdlePositions(price), 1);
    EXPECT_EQ(equip->GetIoCount(false), 4 - 3);
    EXPECT_EQ(equip->GetIoCount(true), 3);
}

TEST_F(SelectorTest, UnusedPointsCountOnlyOrdinaryPointsOnBothSides) {
    CioModul* mixed = AddModule(db, "MT", 30 * 10000, {{k, k, k, k, terminal, terminal}});
    CioPlc* device = Device({{mixed}});
    Count();
    KindCountMap request;
    request[k] = 2;
    request[terminal] = 2;
    auto equip = test::MatchedEquipment(device, request);
    ASSERT_EQ(equip->GetIoCount(true), 4);
    // Four ordinary points offered, two of them placed; the placed terminals do not count.
    EXPECT_EQ(equip->GetIoCount(false), 2);
}

TEST_F(SelectorCapacity, CloneIsDeep) {
    s.positionMaps[2].reset();
    auto copy = s.Clone();
    EXPECT_EQ(copy->variants, s.variants);
    EXPECT_EQ(copy->remaining, s.remaining);
    EXPECT_EQ(copy->coveredTotal, 11);
    ASSERT_EQ(copy->positionMaps.size(), 3u);
    EXPECT_EQ(copy->positionMaps[2], nullptr);
    (*copy->positionMaps[0])[k] = 1;
    EXPECT_EQ(*s.positionMaps[0]->Find(k), 8);
    // The copy stands on the same digits, as a planner file stores them.
    EXPECT_EQ(copy->moduleIndexes, s.moduleIndexes);
    EXPECT_EQ(copy->variantIndexes, s.variantIndexes);
}

} // namespace
} // namespace pinsum
