#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace pinsum {

class CioDb;

namespace test {

// How big and how connected a generated catalogue is. Counts are exact; sizes of names, help
// texts and lists vary around the given averages, reproducibly for one seed.
struct CatalogueShape {
    int ioKinds = 40;
    int modules = 3000;
    int maxVariantsPerModule = 3;
    int pointsPerVariant = 16;
    int rulesPerVariant = 2;
    int series = 8;
    int devices = 1000;
    int positionsPerDevice = 6;
    int modulesPerPosition = 100;
    // Average help text of a module or device, in bytes of rich text; 0 leaves them empty.
    size_t helpBytes = 1700;
    uint32_t seed = 1;
};

// About 10 MB once stored.
CatalogueShape TenMegabyteShape();
// A few of everything: every feature of the catalogue, small enough to read in a hex dump.
CatalogueShape TinyShape();

// A catalogue with every reference pointing into itself or to the built-in objects, totals and
// point counts computed.
std::unique_ptr<CioDb> GenerateCatalogue(const CatalogueShape& shape);
// The catalogue file of GenerateCatalogue.
std::vector<uint8_t> GenerateCatalogueFile(const CatalogueShape& shape);

// The file of TenMegabyteShape, generated once per process.
const std::vector<uint8_t>& TenMegabyteFile();
// Reads a catalogue file from memory; damaged contents throw ArchiveError.
std::unique_ptr<CioDb> LoadCatalogue(const std::vector<uint8_t>& bytes);

} // namespace test
} // namespace pinsum
