#include <gtest/gtest.h>

#include "model/archive.h"
#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "model/object_stream.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

TEST(Containers, EmptyArrayBodyAndMapArrayWithRepeats) {
    CioArray modules(C_MODUL_IO);
    ArchiveWriter w;
    modules.Store(w);
    const auto& b = w.Bytes();
    ASSERT_EQ(b.size(), 32u);
    EXPECT_EQ(std::vector<uint8_t>(b.end() - 12, b.end()),
              (std::vector<uint8_t>{0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0}));

    CioType kind;
    kind.id = 4242;
    CioArray owner;
    auto points = std::make_unique<CioMapArray>();
    points->entries = {&kind, &kind, &kind, nullptr};
    owner.Append(std::move(points));
    ArchiveWriter w2;
    WriteObject(w2, &owner);
    ArchiveReader r(w2.Bytes());
    auto back = ReadObject(r);
    auto* read = dynamic_cast<CioMapArray*>(dynamic_cast<CioArray*>(back.get())->At(0));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->resolved, 0);
    EXPECT_EQ(read->storedIds, (std::vector<uint32_t>{4242, 4242, 4242}));
    read->ForgetRef(&kind);
    EXPECT_EQ(read->Count(), 0u);
}

TEST(Containers, ResolveDropsUnknownAndForgetComparesObjects) {
    CioType known;
    CioArray holder;
    holder.Append(std::make_unique<CioType>());
    CioMapArray list;
    list.entries = {holder.At(0), &known, holder.At(0)};
    ArchiveWriter w;
    list.Store(w);
    ArchiveWriter wh;
    WriteObject(wh, &holder);
    ArchiveReader rh(wh.Bytes());
    auto registered = ReadObject(rh);
    CioMapArray back;
    ArchiveReader r(w.Bytes());
    back.Load(r);
    back.ResolveRefs(rh.identities);
    CioType* kind = dynamic_cast<CioArray*>(registered.get())->At(0);
    EXPECT_EQ(back.entries, (std::vector<CioType*>{kind, kind}));
    back.ForgetRef(kind);
    EXPECT_TRUE(back.entries.empty());
}

TEST(Containers, CopyOfThreeIntoFiveLeavesThreeDeepCopies) {
    CioArray source(C_IO);
    for (int i = 0; i < 3; ++i) {
        auto kind = std::make_unique<CioType>();
        kind->name = "k" + std::to_string(i);
        source.Append(std::move(kind));
    }
    CioArray target;
    for (int i = 0; i < 5; ++i)
        target.Append(std::make_unique<CioType>());
    target.CopyFrom(&source);
    ASSERT_EQ(target.Count(), 3u);
    EXPECT_NE(target.At(0), source.At(0));
    EXPECT_EQ(target.At(2)->name, "k2");
    EXPECT_EQ(target.At(2)->id, source.At(2)->id);
    EXPECT_TRUE(target.IsEqual(&source));
    target.contentKind = 4;
    EXPECT_FALSE(target.IsEqual(&source));
}

TEST(Catalogue, VariantCountsAndModuleAndDeviceTotals) {
    auto c = test::BuildSmallCatalogue();
    const CioVariant& v1 = *c.m1->Variant(0);
    EXPECT_EQ(v1.kindCounts.Size(), 2u);
    EXPECT_EQ(*v1.kindCounts.Find(c.kindA), 3);
    EXPECT_EQ(*v1.kindCounts.Find(c.kindB), 1);
    EXPECT_EQ(v1.kindCounts.begin()->first, c.kindA);
    EXPECT_TRUE(c.m2->Variant(0)->ruleCounts.Contains(c.m1->Variant(1)));
    EXPECT_EQ(c.m1->ioCount, 8);
    EXPECT_DOUBLE_EQ(c.m1->price, 100.0);
    // 250.75 counts as 250: the whole-unit part only.
    EXPECT_DOUBLE_EQ(c.m2->price, 250.0);
    EXPECT_DOUBLE_EQ(c.d1->price, 1000.0 + 250.0 + 0.0);
    EXPECT_EQ(c.d1->ioCount, 8);
    EXPECT_EQ(c.d1->HasVornet(), 1);
    EXPECT_EQ(c.d2->HasVornet(), 0);
    EXPECT_EQ(c.d2->HasKalbus(), 1);
}

TEST(Catalogue, DeviceCopyKeepsControlAndComparesEqual) {
    auto c = test::BuildSmallCatalogue();
    c.d1->control = 1;
    CioPlc copy;
    copy.CopyFrom(c.d1);
    EXPECT_EQ(copy.control, 1);
    EXPECT_EQ(copy.Count(), 2u);
    EXPECT_TRUE(copy.IsEqual(c.d1));
    // Series compare by kind only: another series is still equal, no series is not.
    copy.series.object = c.s2;
    EXPECT_TRUE(copy.IsEqual(c.d1));
    copy.series.object = nullptr;
    EXPECT_FALSE(copy.IsEqual(c.d1));
}

TEST(Catalogue, RequestItemTextAndImage) {
    auto c = test::BuildSmallCatalogue();
    CioNode node;
    node.kindRef.object = c.kindA;
    node.count = 12;
    EXPECT_EQ(node.GetText(), "12 x A");
    EXPECT_EQ(node.GetImage(), 4);
    node.kindRef.object = c.terminal;
    EXPECT_EQ(node.GetImage(), 8);
    c.db->ForgetRef(c.terminal);
    node.ForgetRef(c.terminal);
    EXPECT_EQ(node.GetText(), "????");
    CioType odd;
    odd.SetCategory(7);
    EXPECT_EQ(odd.GetImage(), 8);
}

TEST(Catalogue, EquipmentTextAndHelp) {
    auto c = test::BuildSmallCatalogue();
    c.d1->name = "A";
    c.m1->marking = "X1";
    c.m2->marking = "X2";
    CioEquip equip;
    EXPECT_EQ(equip.GetText(), "?????");
    equip.device.object = c.d1;
    auto selector = std::make_unique<CioModuleSelector>();
    selector->modules = {c.m1, nullptr, c.m2};
    equip.selectors.push_back(std::move(selector));
    EXPECT_EQ(equip.GetText(), "AX1X2");

    equip.selectors[0]->modules = {c.m1, c.m1};
    c.m1->help = "<mi>M1";
    std::string markup;
    ASSERT_TRUE(equip.HasHelp());
    equip.GetHelpMarkup(markup);
    EXPECT_EQ(markup, "<mi>M1");
    c.d1->help = "<mi>D";
    equip.GetHelpMarkup(markup);
    EXPECT_EQ(markup, "<mi>D<br>" + std::string(134, '.') + "<br><mi>M1");
}

TEST(Catalogue, DatabaseCopyIsSelfContained) {
    auto c = test::BuildSmallCatalogue();
    CioDb copy;
    copy.CopyFrom(c.db.get());
    auto* d1 = dynamic_cast<CioPlc*>(copy.devices.At(0));
    auto* m1 = dynamic_cast<CioModul*>(copy.modules.At(0));
    auto* m2 = dynamic_cast<CioModul*>(copy.modules.At(1));
    EXPECT_EQ(d1->Position(0)->entries, (std::vector<CioType*>{m1, m2}));
    EXPECT_EQ(d1->Position(1)->entries[0], &EmptyModule());
    EXPECT_EQ(d1->series.object, copy.seriesList.At(0));
    EXPECT_EQ(d1->lines.entries[0], &Vornet());
    EXPECT_EQ(m1->Variant(0)->entries[0], copy.ioKinds.At(0));
    EXPECT_EQ(m2->Variant(0)->rules.entries[0], m1->Variant(1));

    // The copy survives its source and a store and load.
    c.db.reset();
    copy.RenewIds();
    ArchiveWriter w;
    WriteObject(w, &copy);
    ArchiveReader r(w.Bytes());
    auto back = ReadObject(r);
    back->ResolveRefs(r.identities);
    auto* db = dynamic_cast<CioDb*>(back.get());
    EXPECT_EQ(dynamic_cast<CioPlc*>(db->devices.At(0))->Position(0)->entries.size(), 2u);
    EXPECT_NE(dynamic_cast<CioPlc*>(db->devices.At(0))->series.object, nullptr);
}

TEST(Catalogue, ProjectCopyRefersToItsOwnDatabase) {
    auto c = test::BuildSmallCatalogue();
    CioProject source;
    source.database = std::move(c.db);
    auto node = std::make_unique<CioNode>();
    node->kindRef.object = c.kindA;
    source.requestList.Append(std::move(node));
    source.seriesSelection.entries = {c.s1};
    CioProject copy;
    copy.CopyFrom(&source);
    ASSERT_NE(copy.database, nullptr);
    EXPECT_EQ(dynamic_cast<CioNode*>(copy.requestList.At(0))->Kind(), copy.database->ioKinds.At(0));
    EXPECT_EQ(copy.seriesSelection.entries[0], copy.database->seriesList.At(0));
}

} // namespace
} // namespace pinsum
