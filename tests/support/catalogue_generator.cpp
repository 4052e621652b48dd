#include "support/catalogue_generator.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "model/cio_line.h"
#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"

namespace pinsum::test {
namespace {

// splitmix64: the same catalogue for the same seed with every compiler and library.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}

    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [low, high].
    int Between(int low, int high) {
        if (high <= low)
            return low;
        return low + static_cast<int>(Next() % static_cast<uint64_t>(high - low + 1));
    }
    // Around the average: from half to one and a half times it.
    int Around(int average) { return Between(std::max(1, average / 2), average + average / 2); }
    bool OneIn(int n) { return n <= 1 || Next() % static_cast<uint64_t>(n) == 0; }

private:
    uint64_t m_state;
};

// Kind names in Windows-1250, as the catalogue keeps its texts.
constexpr std::array<const char*, 10> kKindNames = {
    "DI 24 V DC", "DO rel\xe9", "DO tranzistor",  "AI 0-10 V", "AI 4-20 mA",
    "AO 0-10 V",  "Pt100",      "\xc8\xedta\xe8", "RS-485",    "Tla\xe8\xedtko",
};

// Words of the help texts; Czech letters as the rich-text escapes the help editor writes.
constexpr std::array<const char*, 24> kWords = {
    "modul",
    "vstup",
    "v\\'fdstup",
    "nap\\'e1jen\\'ed",
    "galvanicky",
    "odd\\'ecl",
    "sb\\'ecrnice",
    "kan\\'e1l",
    "rozsah",
    "p\\'f8esnost",
    "teplota",
    "sign\\'e1l",
    "\\'e8\\'edta\\'e8",
    "frekvence",
    "obnova",
    "dioda",
    "svorkovnice",
    "za\\'f8\\'edzen\\'ed",
    "konfigurace",
    "adresa",
    "24 V",
    "10 ms",
    "IP20",
    "pozice",
};

std::string Format(const char* pattern, int value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// A rich-text help of about the given size: a heading, paragraphs of words, now and then a
// coloured or bold word.
std::string HelpText(Random& random, const std::string& title, size_t bytes) {
    std::string text = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 "
                       "Arial;}}{\\colortbl ;\\red192\\green0\\blue0;}\\viewkind4\\uc1\\pard"
                       "\\f0\\fs20 {\\b " +
                       title + "}\\par ";
    while (text.size() + 8 < bytes) {
        const char* word = kWords[random.Next() % kWords.size()];
        if (random.OneIn(40))
            text += std::string("\\cf1 ") + word + "\\cf0 ";
        else if (random.OneIn(30))
            text += std::string("{\\b ") + word + "} ";
        else
            text += std::string(word) + ' ';
        if (random.OneIn(25))
            text += "\\par ";
    }
    return text + "\\par }";
}

size_t HelpSize(Random& random, size_t average) {
    if (average == 0 || random.OneIn(6))
        return 0;
    return static_cast<size_t>(random.Around(static_cast<int>(average)));
}

void AddKinds(CioDb& db, const CatalogueShape& shape) {
    for (int i = 0; i < shape.ioKinds; ++i) {
        auto kind = std::make_unique<CioType>();
        kind->name = kKindNames[i % kKindNames.size()];
        if (i >= static_cast<int>(kKindNames.size()))
            kind->name += Format(" /%d", i);
        kind->SetCategory(i % 8 == 7 ? 1 : 0);
        if (i % 5 == 4)
            kind->flags |= FLAG_REQUIRED;
        if (i % 3 == 0)
            kind->help = "<mi>" + kind->name + "<br>Bod IO";
        db.ioKinds.Append(std::move(kind));
    }
}

// Rules point back at variants of modules created before, so every rule target exists.
void AddModules(CioDb& db, const CatalogueShape& shape, Random& random,
                std::vector<CioVariant*>& variants) {
    const int kinds = static_cast<int>(db.ioKinds.Count());
    for (int m = 0; m < shape.modules; ++m) {
        auto module = std::make_unique<CioModul>();
        module->name = Format("XM-%04d", m);
        module->marking = Format("-%03d", m % 1000) + static_cast<char>('A' + m % 26);
        // Whole crowns, every fourth module with halers.
        module->listPrice.scaled =
            int64_t{random.Between(150, 25000)} * 10000 + (m % 4 == 0 ? 5000 : 0);
        module->help = HelpText(random, module->name, HelpSize(random, shape.helpBytes));
        const int variantCount = random.Between(1, shape.maxVariantsPerModule);
        for (int v = 0; v < variantCount && kinds > 0; ++v) {
            auto variant = std::make_unique<CioVariant>();
            variant->name = Format("varianta %d", v + 1);
            const int points = random.Around(shape.pointsPerVariant);
            const int first = random.Between(0, kinds - 1);
            const int spread = random.Between(1, 3);
            for (int p = 0; p < points; ++p)
                variant->entries.push_back(db.ioKinds.At((first + p % spread) % kinds));
            for (int r = 0; r < shape.rulesPerVariant && !variants.empty(); ++r)
                variant->rules.entries.push_back(variants[random.Next() % variants.size()]);
            variants.push_back(variant.get());
            module->Append(std::move(variant));
        }
        db.modules.Append(std::move(module));
    }
}

void AddSeries(CioDb& db, const CatalogueShape& shape) {
    for (int s = 0; s < shape.series; ++s) {
        auto series = std::make_unique<CioLine>();
        series->name = Format("\xd8"
                              "ada %d",
                              s + 1);
        if (s == 0)
            series->flags |= FLAG_DEFAULT;
        if (s == 1 || s == 2)
            series->flags |= FLAG_EXCLUSIVE;
        db.seriesList.Append(std::move(series));
    }
}

void AddDevices(CioDb& db, const CatalogueShape& shape, Random& random) {
    const int modules = static_cast<int>(db.modules.Count());
    const int series = static_cast<int>(db.seriesList.Count());
    for (int d = 0; d < shape.devices; ++d) {
        auto device = std::make_unique<CioPlc>();
        const bool controller = d % 4 == 0;
        device->name = Format(controller ? "PLC-%03d" : "PER-%03d", d);
        device->marking = Format("/%02d", d % 100);
        device->deviceType = controller ? 0 : 1;
        device->ioSpeed = d % 3 == 0 ? 1 : 0;
        device->control = d % 7 == 0 ? 1 : 0;
        device->listPrice.scaled = int64_t{random.Between(2000, 90000)} * 10000;
        if (series > 0)
            device->series.object =
                static_cast<CioLine*>(db.seriesList.At(static_cast<size_t>(d % series)));
        if (controller)
            device->lines.entries.push_back(&Vornet());
        device->lines.entries.push_back(&Kalbus());
        device->help = HelpText(random, device->name, HelpSize(random, shape.helpBytes));
        const int positions = random.Around(shape.positionsPerDevice);
        for (int p = 0; p < positions; ++p) {
            auto position = std::make_unique<CioVariant>();
            position->name = Format("pozice %d", p + 1);
            if (p > 0)
                position->entries.push_back(&EmptyModule());
            const int allowed = std::min(modules, random.Around(shape.modulesPerPosition));
            const int first = modules > 0 ? random.Between(0, modules - 1) : 0;
            const int step = random.Between(1, 7);
            for (int a = 0; a < allowed; ++a)
                position->entries.push_back(
                    db.modules.At(static_cast<size_t>((first + a * step) % modules)));
            device->Append(std::move(position));
        }
        db.devices.Append(std::move(device));
    }
}

} // namespace

CatalogueShape TenMegabyteShape() {
    return CatalogueShape{};
}

CatalogueShape TinyShape() {
    CatalogueShape shape;
    shape.ioKinds = 8;
    shape.modules = 4;
    shape.maxVariantsPerModule = 3;
    shape.pointsPerVariant = 4;
    shape.rulesPerVariant = 1;
    shape.series = 3;
    shape.devices = 3;
    shape.positionsPerDevice = 2;
    shape.modulesPerPosition = 2;
    shape.helpBytes = 80;
    return shape;
}

std::unique_ptr<CioDb> GenerateCatalogue(const CatalogueShape& shape) {
    Random random(shape.seed);
    auto db = std::make_unique<CioDb>();
    std::vector<CioVariant*> variants;
    AddKinds(*db, shape);
    AddModules(*db, shape, random, variants);
    AddSeries(*db, shape);
    AddDevices(*db, shape, random);
    db->CountPoints();
    db->ComputeTotals();
    return db;
}

std::vector<uint8_t> GenerateCatalogueFile(const CatalogueShape& shape) {
    const std::unique_ptr<CioDb> db = GenerateCatalogue(shape);
    ArchiveWriter ar;
    StoreDatabaseFile(ar, db.get());
    return ar.TakeBytes();
}

const std::vector<uint8_t>& TenMegabyteFile() {
    static const std::vector<uint8_t> bytes = GenerateCatalogueFile(TenMegabyteShape());
    return bytes;
}

std::unique_ptr<CioDb> LoadCatalogue(const std::vector<uint8_t>& bytes) {
    std::unique_ptr<CioDb> db;
    ArchiveReader ar(bytes, "iodb.pp");
    LoadDatabaseFile(ar, db);
    return db;
}

} // namespace pinsum::test
