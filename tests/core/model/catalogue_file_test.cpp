#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/file_io.h"
#include "host/program_folders.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "model/object_stream.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

Bytes Store(const CioDb* db) {
    ArchiveWriter w;
    StoreDatabaseFile(w, db);
    return w.TakeBytes();
}

std::unique_ptr<CioDb> Load(const Bytes& bytes) {
    ArchiveReader r(bytes, "test.pp");
    std::unique_ptr<CioDb> db;
    LoadDatabaseFile(r, db);
    return db;
}

uint32_t U32At(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(CatalogueFile, WithoutDatabaseIs37Bytes) {
    const Bytes b = Store(nullptr);
    ASSERT_EQ(b.size(), 37u);
    EXPECT_EQ(b[0], 0x1C);
    EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 29), kDatabaseMagic);
    EXPECT_EQ(U32At(b, 29), 0u);
    EXPECT_EQ(U32At(b, 33), 0u);
    EXPECT_EQ(Load(b), nullptr);
}

TEST(CatalogueFile, EmptyDatabaseIs197BytesInFileOrder) {
    CioDb db;
    const Bytes b = Store(&db);
    ASSERT_EQ(b.size(), 197u);
    EXPECT_EQ(U32At(b, 29), 1u);
    EXPECT_EQ(std::string(b.begin() + 33, b.begin() + 41), std::string("\x07") + "C_DB_IO");
    EXPECT_EQ(U32At(b, 41), 6u);
    EXPECT_EQ(U32At(b, 45), db.id);
    EXPECT_EQ(std::string(b.begin() + 49, b.begin() + 52), "\x02<>");
    const CioArray* lists[] = {&db.ioKinds, &db.modules, &db.devices, &db.seriesList};
    const uint32_t contentKinds[] = {0, 4, 5, 7};
    for (size_t i = 0; i < 4; ++i) {
        const size_t at = 61 + 32 * i;
        EXPECT_EQ(U32At(b, at), 1u);
        EXPECT_EQ(U32At(b, at + 4), lists[i]->id);
        EXPECT_EQ(std::string(b.begin() + static_cast<long>(at) + 8,
                              b.begin() + static_cast<long>(at) + 11),
                  "\x02IO");
        EXPECT_EQ(U32At(b, at + 20), 0u);
        EXPECT_EQ(U32At(b, at + 24), contentKinds[i]);
    }
    EXPECT_EQ(U32At(b, 189), 0u);
    EXPECT_EQ(U32At(b, 193), 0u);
    auto loaded = Load(b);
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(loaded->id, db.id);
}

TEST(CatalogueFile, WrongMagicGivesNoDatabaseAndNoError) {
    Bytes b = Store(nullptr);
    b[0] = 0x1B;
    b.erase(b.begin() + 28);
    EXPECT_EQ(Load(b), nullptr);
    CioProject project;
    ArchiveWriter w;
    StorePlannerFile(w, &project);
    EXPECT_EQ(Load(w.Bytes()), nullptr);
}

TEST(CatalogueFile, RoundTripKeepsEverythingAndResolvesReferences) {
    auto c = test::BuildSmallCatalogue();
    c.d1->ioSpeed = 1;
    c.d1->control = 1;
    c.m1->help = "{\\rtf1 n\\'e1pov\\'ecda}";
    c.m1->listPrice.status = 2;
    const Bytes first = Store(c.db.get());
    auto loaded = Load(first);
    ASSERT_NE(loaded, nullptr);
    loaded->CountPoints();
    // Same bytes once the identities are the same again.
    ASSERT_EQ(loaded->devices.Count(), 3u);
    auto* d1 = dynamic_cast<CioPlc*>(loaded->devices.At(0));
    auto* m1 = dynamic_cast<CioModul*>(loaded->modules.At(0));
    auto* m2 = dynamic_cast<CioModul*>(loaded->modules.At(1));
    ASSERT_TRUE(d1 && m1 && m2);
    EXPECT_EQ(d1->series.object, loaded->seriesList.At(0));
    EXPECT_EQ(d1->Position(0)->entries, (std::vector<CioType*>{m1, m2}));
    EXPECT_EQ(d1->Position(1)->entries[0], &EmptyModule());
    EXPECT_EQ(d1->lines.entries, (std::vector<CioType*>{&Vornet(), &Kalbus()}));
    EXPECT_EQ(m2->Variant(0)->rules.entries[0], m1->Variant(1));
    EXPECT_EQ(m1->Variant(0)->kindCounts.Size(), 2u);
    EXPECT_EQ(*m1->Variant(0)->kindCounts.Find(loaded->ioKinds.At(0)), 3);
    EXPECT_EQ(m1->help, c.m1->help);
    EXPECT_EQ(m1->listPrice, c.m1->listPrice);
    EXPECT_EQ(d1->ioSpeed, 1);
    EXPECT_EQ(d1->control, 1);
    EXPECT_EQ(loaded->ioKinds.At(1)->flags & FLAG_REQUIRED, FLAG_REQUIRED);
    EXPECT_EQ(loaded->ioKinds.At(2)->Category(), 1);
    EXPECT_EQ(loaded->seriesList.At(1)->flags, FLAG_EXCLUSIVE);
    // Totals: own 1000 + max(100, 250) + empty 0; IO count max(4, 8) + 0.
    EXPECT_DOUBLE_EQ(d1->price, 1250.0);
    EXPECT_EQ(d1->ioCount, 8);
    EXPECT_EQ(Store(loaded.get()).size(), first.size());
}

TEST(CatalogueFile, UnknownReferencesAreDroppedOrCleared) {
    auto c = test::BuildSmallCatalogue();
    // A series and a module that are not part of the stored catalogue.
    CioLine strayLine;
    CioModul strayModule;
    c.d2->series.object = &strayLine;
    c.d2->Position(0)->entries.push_back(&strayModule);
    auto loaded = Load(Store(c.db.get()));
    auto* d2 = dynamic_cast<CioPlc*>(loaded->devices.At(1));
    EXPECT_EQ(d2->series.object, nullptr);
    EXPECT_EQ(d2->Position(0)->entries.size(), 1u);
}

TEST(CatalogueFile, ReferenceOfTheWrongClassIsNotTrusted) {
    auto c = test::BuildSmallCatalogue();
    // The device's series names a kind's identity: it must not become a series pointer.
    c.d1->series.object = nullptr;
    c.d1->series.storedId = c.kindA->id;
    auto loaded = Load(Store(c.db.get()));
    EXPECT_EQ(dynamic_cast<CioPlc*>(loaded->devices.At(0))->series.object, nullptr);
}

TEST(CatalogueFile, DamagedFilesFailWithArchiveErrors) {
    auto c = test::BuildSmallCatalogue();
    const Bytes good = Store(c.db.get());
    for (size_t cut = 30; cut < good.size(); cut += 7) {
        const Bytes truncated(good.begin(), good.begin() + static_cast<long>(cut));
        EXPECT_THROW(Load(truncated), ArchiveError) << cut;
    }
    Bytes badTag = good;
    badTag[36] = 'X';
    EXPECT_THROW(Load(badTag), ArchiveError);
}

// Any 64-bit price used to load, and the search's sums then wrapped: every solution showed the
// same price and the ranking went wrong. Negative prices made solutions free.
TEST(CatalogueFile, APriceOutsideTheRangeIsADamagedFileThatNamesTheObject) {
    const struct {
        int64_t scaled;
        bool device;
    } cases[] = {
        {0, false},  {kMaxPriceScaled, true}, {kMaxPriceScaled + 1, false}, {INT64_MAX, true},
        {-1, false}, {INT64_MIN, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scaled);
        auto catalogue = test::BuildSmallCatalogue();
        CioModul& priced = c.device ? *catalogue.d3 : *catalogue.m2;
        priced.listPrice.scaled = c.scaled;
        const bool inRange = c.scaled >= 0 && c.scaled <= kMaxPriceScaled;
        try {
            EXPECT_NE(Load(Store(catalogue.db.get())), nullptr);
            EXPECT_TRUE(inRange);
        } catch (const ArchiveError& e) {
            EXPECT_FALSE(inRange);
            EXPECT_EQ(e.Cause(), ArchiveCause::BadIndex);
            EXPECT_NE(std::string(e.what()).find(" objektu '" + priced.name +
                                                 "' není v rozsahu 0 až 999999999.9999"),
                      std::string::npos)
                << e.what();
        }
    }
}

TEST(CatalogueFile, ReferenceCycleDoesNotHang) {
    auto c = test::BuildSmallCatalogue();
    c.d1->Position(1)->entries.push_back(c.d1);
    auto loaded = Load(Store(c.db.get()));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->devices.At(0)->kind, C_PLC_IO);
}

class LoadDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() / ("pinsum-ld-" + std::to_string(::getpid()));
        fs::create_directories(m_root / "PROJECT");
        InitGlobalsFromExecutable((m_root / "pinsum").string());
    }
    void TearDown() override {
        ResetProgramFolders();
        fs::remove_all(m_root);
    }
    void Write(const fs::path& path, const Bytes& bytes) { WriteFileAtomic(path.string(), bytes); }
    fs::path m_root;
};

TEST_F(LoadDatabaseTest, MovesHelpToRequestItemsAndTakesProjectFolderFirst) {
    auto c = test::BuildSmallCatalogue();
    Write(m_root / "PROJECT" / "iodb.pp", Store(c.db.get()));
    Write(m_root / "iodb.pp", Store(nullptr));
    CioProject project;
    ASSERT_EQ(project.LoadDatabase(nullptr), 1);
    ASSERT_NE(project.database, nullptr);
    ASSERT_EQ(project.requestList.Count(), 3u);
    auto* first = dynamic_cast<CioNode*>(project.requestList.At(0));
    EXPECT_EQ(first->Kind(), project.database->ioKinds.At(0));
    EXPECT_EQ(first->help, "help of A");
    EXPECT_EQ(first->count, 0);
    EXPECT_TRUE(project.database->ioKinds.At(0)->help.empty());
    EXPECT_EQ(project.seriesSelection.entries.size(), 3u);
    EXPECT_FALSE(
        dynamic_cast<CioVariant*>(dynamic_cast<CioModul*>(project.database->modules.At(0))->At(0))
            ->kindCounts.Empty());
}

TEST_F(LoadDatabaseTest, FailuresKeepTheProjectAndEmptyFileReplacesIt) {
    auto c = test::BuildSmallCatalogue();
    const Bytes good = Store(c.db.get());
    Write(m_root / "iodb.pp", good);
    CioProject project;
    ASSERT_EQ(project.LoadDatabase(nullptr), 1);
    const CioDb* before = project.database.get();

    Write(m_root / "iodb.pp", Bytes(good.begin(), good.begin() + 100));
    std::string error;
    EXPECT_EQ(project.LoadDatabase(nullptr, nullptr, nullptr, &error), 0);
    EXPECT_NE(error.find("iodb.pp"), std::string::npos);
    EXPECT_EQ(project.database.get(), before);
    EXPECT_EQ(project.requestList.Count(), 3u);

    const std::string missing = "nowhere.pp";
    EXPECT_EQ(project.LoadDatabase(&missing), 0);
    EXPECT_EQ(project.database.get(), before);

    Write(m_root / "iodb.pp", {});
    EXPECT_EQ(project.LoadDatabase(nullptr), 1);
    EXPECT_EQ(project.database, nullptr);
    EXPECT_EQ(project.requestList.Count(), 0u);
}

TEST_F(LoadDatabaseTest, FullPathIsFoundFirst) {
    auto c = test::BuildSmallCatalogue();
    fs::create_directories(m_root / "other");
    Write(m_root / "other" / "iodb.pp", Store(c.db.get()));
    Write(m_root / "iodb.pp", Store(nullptr));
    CioProject project;
    const std::string path = (m_root / "other" / "iodb.pp").string();
    ASSERT_EQ(project.LoadDatabase(&path), 1);
    EXPECT_NE(project.database, nullptr);
}

} // namespace
} // namespace pinsum
