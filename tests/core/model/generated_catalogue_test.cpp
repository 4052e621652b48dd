#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/catalogue_json.h"
#include "model/cio_array.h"
#include "model/cio_db.h"
#include "model/cio_map_array.h"
#include "support/catalogue_generator.h"

namespace pinsum {
namespace {

size_t CountPositionEntries(const CioDb& db) {
    size_t total = 0;
    for (const auto& device : db.devices.children)
        for (const auto& position : static_cast<const CioArray&>(*device).children)
            total += static_cast<const CioMapArray&>(*position).Count();
    return total;
}

// The benchmarks and fuzz seeds rely on generated catalogues whose references all point into the
// catalogue: one that did not would be dropped on reading and change totals and sizes.
TEST(GeneratedCatalogue, ReadsBackWholeAndStoresTheSameBytes) {
    struct Case {
        const char* label;
        test::CatalogueShape shape;
        size_t minBytes;
        size_t maxBytes;
    };
    for (const Case& c : {Case{"tiny", test::TinyShape(), 1000, 20000},
                          Case{"10 MB", test::TenMegabyteShape(), 8'000'000, 12'000'000}}) {
        SCOPED_TRACE(c.label);
        const std::unique_ptr<CioDb> generated = test::GenerateCatalogue(c.shape);
        ArchiveWriter first;
        StoreDatabaseFile(first, generated.get());
        RestartIdentitiesForTesting();
        const std::unique_ptr<CioDb> loaded = test::LoadCatalogue(first.Bytes());
        ArchiveWriter second;
        StoreDatabaseFile(second, loaded.get());
        RestartIdentitiesForTesting();
        ArchiveWriter third;
        StoreDatabaseFile(third, test::LoadCatalogue(second.Bytes()).get());

        EXPECT_GE(first.Bytes().size(), c.minBytes);
        EXPECT_LE(first.Bytes().size(), c.maxBytes);
        EXPECT_EQ(second.Bytes().size(), first.Bytes().size());
        EXPECT_TRUE(third.Bytes() == second.Bytes()) << "a reload changed the file";
        ASSERT_EQ(loaded->devices.Count(), static_cast<size_t>(c.shape.devices));
        EXPECT_EQ(CountPositionEntries(*loaded), CountPositionEntries(*generated));
        for (size_t i = 0; i < generated->devices.Count(); ++i) {
            EXPECT_EQ(loaded->devices.At(i)->price, generated->devices.At(i)->price);
            EXPECT_EQ(loaded->devices.At(i)->ioCount, generated->devices.At(i)->ioCount);
        }
    }
}

// Loads used to resolve references through one process-wide registry, so two documents loaded at
// once (calculator and planner windows) could take each other's objects.
TEST(GeneratedCatalogue, TwoLoadsOnTwoThreadsNeverMeet) {
    // Both files use the same identities, so a shared registry would mix them up.
    std::vector<std::vector<uint8_t>> files;
    std::vector<std::string> expected;
    for (const uint32_t seed : {1u, 2u}) {
        test::CatalogueShape shape = test::TinyShape();
        shape.seed = seed;
        RestartIdentitiesForTesting();
        const std::unique_ptr<CioDb> db = test::GenerateCatalogue(shape);
        ArchiveWriter w;
        StoreDatabaseFile(w, db.get());
        files.push_back(w.TakeBytes());
        expected.push_back(CatalogueToJsonText(*db));
    }
    ASSERT_NE(expected[0], expected[1]);
    int mismatches[2] = {0, 0};
    auto loadRepeatedly = [&](int which) {
        for (int i = 0; i < 200; ++i)
            if (CatalogueToJsonText(*test::LoadCatalogue(files[which])) != expected[which])
                ++mismatches[which];
    };
    std::thread first(loadRepeatedly, 0);
    std::thread second(loadRepeatedly, 1);
    first.join();
    second.join();
    EXPECT_EQ(mismatches[0], 0);
    EXPECT_EQ(mismatches[1], 0);
}

} // namespace
} // namespace pinsum
