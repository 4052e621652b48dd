#include <gtest/gtest.h>

#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_equip.h"
#include "model/cio_module_node.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "model/object_stream.h"
#include "support/recorders.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

using Bytes = std::vector<uint8_t>;

// A project over the small catalogue with one request item per kind and a few solutions.
std::unique_ptr<CioProject> BuildProject(int solutions) {
    auto c = test::BuildSmallCatalogue();
    auto project = std::make_unique<CioProject>();
    project->database = std::move(c.db);
    for (const auto& kind : project->database->ioKinds.children) {
        auto node = std::make_unique<CioNode>();
        node->kindRef.object = kind.get();
        node->count = 5;
        node->flags = FLAG_CHECKED;
        project->requestList.Append(std::move(node));
    }
    for (const auto& series : project->database->seriesList.children)
        project->seriesSelection.entries.push_back(series.get());
    for (int s = 0; s < solutions; ++s) {
        auto solution = std::make_unique<CioSolution>();
        solution->controller.object = c.d1;
        solution->number = s + 1;
        solution->price = 1234.5 + s;
        solution->canExtend = 0;
        for (const auto& item : project->requestList.children) {
            auto copy = std::make_unique<CioNode>();
            copy->CopyFrom(item.get());
            solution->remaining.push_back(std::move(copy));
        }
        auto equip = std::make_unique<CioEquip>();
        equip->device.object = c.d1;
        auto selector = std::make_unique<CioModuleSelector>();
        selector->device = c.d1;
        selector->modules = {c.m2, &EmptyModule()};
        selector->variants = {c.m2->Variant(0), &EmptyVariant()};
        selector->moduleIndexes = {1, 0};
        selector->variantIndexes = {1, 1};
        selector->validStructure = 1;
        selector->coveredTotal = 2;
        selector->price.scaled = 2507500;
        selector->remaining[c.kindA] = 5;
        selector->positionMaps.push_back(std::make_unique<KindCountMap>());
        (*selector->positionMaps[0])[c.kindB] = 2;
        selector->positionMaps.push_back(nullptr);
        equip->selectors.push_back(std::move(selector));
        solution->Append(std::move(equip));
        project->Append(std::move(solution));
    }
    return project;
}

Bytes Store(CioProject* project) {
    ArchiveWriter w;
    StorePlannerFile(w, project);
    return w.TakeBytes();
}

std::unique_ptr<CioProject> Load(const Bytes& bytes, Messenger* messenger = nullptr) {
    ArchiveReader r(bytes, "plan.ppl");
    r.messenger = messenger;
    std::unique_ptr<CioProject> project;
    LoadPlannerFile(r, project);
    return project;
}

TEST(PlannerFile, WithoutProjectIs36Bytes) {
    const Bytes b = Store(nullptr);
    ASSERT_EQ(b.size(), 36u);
    EXPECT_EQ(b[0], 0x1B);
    EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 28), kPlannerMagic);
    EXPECT_EQ(Bytes(b.begin() + 28, b.end()), Bytes(8, 0));
    EXPECT_EQ(Load(b), nullptr);
}

TEST(PlannerFile, CatalogueFileReadAsPlannerGivesNoProject) {
    CioDb db;
    ArchiveWriter w;
    StoreDatabaseFile(w, &db);
    EXPECT_EQ(Load(w.Bytes()), nullptr);
}

// A configuration's stored price is the sum of some of its modules' prices; a larger or negative
// one used to load and showed as the solution's price.
TEST(PlannerFile, AConfigurationPriceBeyondItsModulesIsADamagedFile) {
    for (const int64_t scaled :
         {int64_t{0}, 2 * kMaxPriceScaled, 2 * kMaxPriceScaled + 1, INT64_MAX, int64_t{-1}}) {
        SCOPED_TRACE(scaled);
        auto project = BuildProject(1);
        auto& solution = dynamic_cast<CioSolution&>(*project->At(0));
        auto& equip = dynamic_cast<CioEquip&>(*solution.children.front());
        equip.selectors.front()->price.scaled = scaled;
        const Bytes bytes = Store(project.get());
        if (scaled >= 0 && scaled <= 2 * kMaxPriceScaled)
            EXPECT_NE(Load(bytes), nullptr);
        else
            EXPECT_THROW(Load(bytes), ArchiveError);
    }
}

TEST(PlannerFile, SeveralSolutionsLoadWithoutDuplicateIdentities) {
    auto project = BuildProject(3);
    test::RecordingMessenger messenger;
    auto loaded = Load(Store(project.get()), &messenger);
    EXPECT_TRUE(messenger.shown.empty());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->Count(), 3u);
    auto* solution = dynamic_cast<CioSolution*>(loaded->At(2));
    ASSERT_NE(solution, nullptr);
    EXPECT_EQ(solution->number, 3);
    EXPECT_DOUBLE_EQ(solution->price, 1236.5);
    EXPECT_EQ(solution->canExtend, 0);
    ASSERT_EQ(solution->remaining.size(), 3u);
    EXPECT_EQ(solution->remaining[0]->Kind(), loaded->database->ioKinds.At(0));
    EXPECT_EQ(solution->Controller(), loaded->database->devices.At(0));
}

TEST(PlannerFile, EquipmentRefersToTheEmbeddedDatabase) {
    auto project = BuildProject(1);
    auto loaded = Load(Store(project.get()));
    auto* equip = dynamic_cast<CioEquip*>(dynamic_cast<CioSolution*>(loaded->At(0))->At(0));
    ASSERT_NE(equip, nullptr);
    const CioDb& db = *loaded->database;
    EXPECT_EQ(equip->Device(), db.devices.At(0));
    const CioModuleSelector& chosen = *equip->Chosen();
    EXPECT_EQ(chosen.device, db.devices.At(0));
    EXPECT_EQ(chosen.modules[0], db.modules.At(1));
    EXPECT_EQ(chosen.modules[1], &EmptyModule());
    EXPECT_EQ(chosen.variants[1], &EmptyVariant());
    EXPECT_EQ(chosen.moduleIndexes, (std::vector<uint16_t>{1, 0}));
    EXPECT_EQ(chosen.validStructure, 1);
    EXPECT_EQ(chosen.coveredTotal, 2);
    EXPECT_EQ(chosen.price.scaled, 2507500);
    EXPECT_EQ(*chosen.remaining.Find(db.ioKinds.At(0)), 5);
    ASSERT_EQ(chosen.positionMaps.size(), 2u);
    EXPECT_EQ(*chosen.positionMaps[0]->Find(db.ioKinds.At(1)), 2);
    // A missing map is stored as an empty one.
    ASSERT_NE(chosen.positionMaps[1], nullptr);
    EXPECT_TRUE(chosen.positionMaps[1]->Empty());
    EXPECT_EQ(equip->GetText(), "D1-M2");
    // The embedded database is self-contained: totals are not computed by this load.
    EXPECT_EQ(db.devices.At(0)->ioCount, 0);
}

TEST(PlannerFile, UnresolvableVariantStaysInItsPosition) {
    auto project = BuildProject(1);
    auto* equip = dynamic_cast<CioEquip*>(dynamic_cast<CioSolution*>(project->At(0))->At(0));
    CioVariant stray;
    CioModuleSelector& chosen = *equip->selectors[0];
    chosen.variants = {nullptr, &stray, chosen.variants[0]};
    chosen.modules = {nullptr, chosen.modules[0], chosen.modules[1]};
    auto loaded = Load(Store(project.get()));
    auto* back = dynamic_cast<CioEquip*>(dynamic_cast<CioSolution*>(loaded->At(0))->At(0));
    const CioModuleSelector& relinked = *back->Chosen();
    ASSERT_EQ(relinked.variants.size(), 3u);
    EXPECT_EQ(relinked.variants[0], nullptr);
    EXPECT_EQ(relinked.variants[1], nullptr);
    EXPECT_NE(relinked.variants[2], nullptr);
    ASSERT_EQ(relinked.modules.size(), 3u);
    EXPECT_EQ(relinked.modules[0], nullptr);
    EXPECT_EQ(relinked.modules[2], &EmptyModule());
}

TEST(PlannerFile, StoringTwiceChangesOnlyIdentities) {
    auto project = BuildProject(2);
    const Bytes first = Store(project.get());
    const Bytes second = Store(project.get());
    EXPECT_EQ(first.size(), second.size());
    EXPECT_NE(first, second);
    // Identities renewed between the two stores, so the readers agree on everything else.
    auto a = Load(first);
    auto b = Load(second);
    EXPECT_EQ(Store(a.get()).size(), Store(b.get()).size());
}

TEST(PlannerFile, ProjectWithoutDatabaseDropsRequestKinds) {
    auto project = BuildProject(0);
    // Kept alive so that the request items still point at real kinds while storing.
    auto detached = std::move(project->database);
    auto loaded = Load(Store(project.get()));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->database, nullptr);
    auto* back = dynamic_cast<CioNode*>(loaded->requestList.At(0));
    EXPECT_EQ(back->Kind(), nullptr);
    EXPECT_EQ(back->GetText(), "????");
}

TEST(PlannerFile, ModuleNodeRoundTrip) {
    auto c = test::BuildSmallCatalogue();
    CioArray list;
    auto node = std::make_unique<CioModuleNode>();
    EXPECT_EQ(node->index, -1);
    EXPECT_EQ(node->GetText(), "????");
    node->first.object = &EmptyModule();
    node->index = 7;
    node->entries = {&Kalbus()};
    list.Append(std::move(node));
    ArchiveWriter w;
    WriteObject(w, &list);
    ArchiveReader r(w.Bytes());
    auto back = ReadObject(r);
    back->ResolveRefs(r.identities);
    auto* read = dynamic_cast<CioModuleNode*>(dynamic_cast<CioArray*>(back.get())->At(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetText(), "--");
    EXPECT_EQ(read->index, 7);
    EXPECT_EQ(read->entries, (std::vector<CioType*>{&Kalbus()}));
}

} // namespace
} // namespace pinsum
