#include "model/catalogue_json.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "host/text_codec.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "model/object_stream.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

using Json = CatalogueJson;

// Every stored field of a catalogue with references written as list places, so that catalogues
// whose identities differ can be compared.
class Fingerprint {
public:
    explicit Fingerprint(const CioDb& db) {
        m_places = {{&EmptyModule(), "--"},
                    {&EmptyVariant(), "--/0"},
                    {&Vornet(), "VORNET"},
                    {&Kalbus(), "KALBUS"}};
        Place(db.ioKinds, "k");
        Place(db.modules, "m");
        Place(db.seriesList, "s");
        Place(db.devices, "d");
        m_places[&db] = "db";
        for (size_t i = 0; i < db.modules.Count(); ++i)
            Place(*static_cast<CioModul*>(db.modules.At(i)), "m" + std::to_string(i) + "/");
        for (size_t i = 0; i < db.devices.Count(); ++i)
            Place(*static_cast<CioModul*>(db.devices.At(i)), "d" + std::to_string(i) + "/");
        Root(db);
        for (const CioArray* list : {&db.ioKinds, &db.modules, &db.devices, &db.seriesList}) {
            Array(*list);
            for (size_t i = 0; i < list->Count(); ++i)
                Object(*list->At(i));
        }
    }

    std::string Text() const { return m_out.str(); }

private:
    void Place(const CioArray& list, const std::string& prefix) {
        for (size_t i = 0; i < list.Count(); ++i)
            m_places[list.At(i)] = prefix + std::to_string(i);
    }
    void Root(const CioType& o) {
        m_out << "\n" << o.kind << " '" << o.name << "' '" << o.help << "' " << o.flags;
    }
    void Array(const CioArray& a) {
        Root(a);
        m_out << " content " << a.contentKind;
    }
    void Refs(const CioMapArray& refs) {
        Root(refs);
        for (const CioType* entry : refs.entries)
            m_out << ' ' << (m_places.count(entry) ? m_places.at(entry) : "?");
    }
    void Object(const CioType& o) {
        if (const auto* variant = dynamic_cast<const CioVariant*>(&o)) {
            Refs(*variant);
            Refs(variant->rules);
        } else if (const auto* module = dynamic_cast<const CioModul*>(&o)) {
            Array(*module);
            m_out << " price " << module->listPrice.status << '/' << module->listPrice.scaled
                  << " '" << module->marking << "'";
            if (const auto* device = dynamic_cast<const CioPlc*>(module)) {
                m_out << " series "
                      << (device->series.object ? m_places[device->series.object] : "none");
                m_out << " " << device->ioSpeed << device->deviceType << device->control;
                Refs(device->lines);
            }
            for (size_t i = 0; i < module->Count(); ++i)
                Object(*module->At(i));
        } else {
            Root(o);
        }
    }

    std::map<const CioType*, std::string> m_places;
    std::ostringstream m_out;
};

std::string Dump(const CioDb& db) {
    return Fingerprint(db).Text();
}

std::unique_ptr<CioDb> ThroughFile(const CioDb& db) {
    ArchiveWriter writer;
    StoreDatabaseFile(writer, &db);
    ArchiveReader reader(writer.Bytes());
    std::unique_ptr<CioDb> loaded;
    LoadDatabaseFile(reader, loaded);
    return loaded;
}

// The small catalogue with everything that is easy to lose: odd numbers, tree-state flags,
// duplicate names, Czech texts, stored kinds and headers that differ from a new object's.
std::unique_ptr<CioDb> RichCatalogue() {
    test::SmallCatalogue c = test::BuildSmallCatalogue();
    CioDb& db = *c.db;
    db.name = Utf8ToCp1250("Zkušební katalog");
    db.help = "[1024]{\\rtf1 \\b x\\b0}\r\n";
    db.modules.flags = FLAG_EXPANDED;
    db.devices.contentKind = 9;
    c.kindA->flags |= FLAG_CHECKED | 0x4000'0000;
    c.terminal->SetCategory(7);
    test::AddKind(db, "A");
    c.m1->listPrice = {3, 12345};
    c.m1->contentKind = 3;
    c.m1->Variant(0)->rules.name = "pravidla";
    c.m1->Variant(1)->name = c.m1->Variant(0)->name;
    c.m2->Variant(0)->rules.entries.push_back(c.m1->Variant(0));
    c.m2->Variant(0)->rules.entries.push_back(&EmptyVariant());
    c.s2->help = Utf8ToCp1250("Řada s nápovědou");
    c.s3->flags |= FLAG_SELECTED;
    c.d1->ioSpeed = 1;
    c.d1->control = 7;
    c.d1->lines.flags = 0x100;
    c.d1->Position(0)->name = "slot 1";
    c.d1->Position(0)->rules.entries.push_back(c.m2->Variant(0));
    c.d2->deviceType = -3;
    c.d3->series.object = nullptr;
    // Kind fields that a damaged file holds apart from the class, which chooses the stored tag.
    db.kind = C_IO;
    c.kindA->kind = 255;
    c.m2->kind = C_PLC_IO;
    c.m1->Variant(1)->kind = -1;
    c.s2->kind = C_IO;
    c.d2->kind = 255;
    c.d1->Position(1)->kind = C_MODUL_IO;
    // References to objects outside the list that their place refers to.
    c.m2->Variant(0)->entries.push_back(c.d1);
    c.m2->Variant(0)->entries.push_back(&Vornet());
    c.d1->Position(1)->rules.entries.push_back(c.d2->Position(0));
    c.d2->Position(0)->entries.push_back(c.d3);
    c.d2->Position(0)->entries.push_back(&db);
    c.d3->lines.entries.push_back(c.s1);
    c.s2->name.clear();
    return std::move(c.db);
}

TEST(CatalogueJsonTest, CatalogueSurvivesJsonRoundTrip) {
    const std::unique_ptr<CioDb> original = RichCatalogue();
    const Json json = CatalogueToJson(*original);
    const std::unique_ptr<CioDb> imported = CatalogueFromJson(json);
    EXPECT_EQ(Dump(*original), Dump(*imported));
    EXPECT_EQ(json, CatalogueToJson(*imported));
    EXPECT_EQ(json, CatalogueToJson(*ThroughFile(*imported)));
}

TEST(CatalogueJsonTest, ReferencesFallBackToIndexesWhereNamesDoNotFindTheObject) {
    const Json json = CatalogueToJson(*RichCatalogue());
    EXPECT_EQ(json["modules"][0]["variants"][0]["points"],
              Json::parse(R"([{"kind": "#0", "count": 3}, {"kind": "B", "count": 1}])"));
    EXPECT_EQ(json["modules"][1]["variants"][0]["rules"],
              Json::parse(R"(["M1/#1", "M1/#0", "--/IO"])"));
    EXPECT_EQ(json["devices"][0]["positions"][0]["rules"], Json::parse(R"(["M2/M2/v1"])"));
    EXPECT_EQ(json["devices"][0]["positions"][1]["modules"], Json::parse(R"(["--"])"));
    EXPECT_EQ(json["devices"][0]["lines"], Json::parse(R"(["VORNET", "KALBUS"])"));
    EXPECT_EQ(json["devices"][0]["control"], 7);
    EXPECT_EQ(json["devices"][1]["type"], -3);
    EXPECT_FALSE(json["devices"][2].contains("series"));
    EXPECT_EQ(json["modules"][0]["price"], "1.2345");
}

// Only a damaged file refers across lists, but it loads, so its references name the list.
TEST(CatalogueJsonTest, ReferencesToObjectsOfAnotherListNameTheList) {
    const Json json = CatalogueToJson(*RichCatalogue());
    EXPECT_EQ(json["modules"][1]["variants"][0]["points"],
              Json::parse(R"([{"kind": "B", "count": 2}, {"kind": {"devices": "D1"}, "count": 1},
                              {"kind": {"lines": "VORNET"}, "count": 1}])"));
    EXPECT_EQ(json["devices"][0]["positions"][1]["rules"],
              Json::parse(R"([{"positions": "D2/IO"}])"));
    EXPECT_EQ(json["devices"][1]["positions"][0]["modules"],
              Json::parse(R"(["M1", {"devices": "D3"}, {"database": true}])"));
    EXPECT_EQ(json["devices"][2]["lines"], Json::parse(R"([{"series": "S1"}])"));
    // An empty name would read as no reference at all.
    EXPECT_EQ(json["devices"][1]["series"], "#1");
}

// Names that look like references of another kind, and a module name with a '/'.
constexpr const char* kCanonicalJson = R"({
  "format": "pinsum-catalogue",
  "version": 1,
  "database": {"name": "Katalog", "help": "Nápověda", "flags": 1},
  "lists": {
    "io_kinds": {"name": "IO", "flags": 3},
    "modules": {"name": "Moduly", "help": "h", "content_kind": 9},
    "devices": {"name": "IO"},
    "series": {"name": "IO", "kind": 4}
  },
  "io_kinds": [
    {"name": "DI", "category": "io", "required": true, "help": "{\\rtf1 x}\r\n", "flags": 8},
    {"name": "AI", "category": "io", "required": false, "kind": 255},
    {"name": "AI", "category": "terminal", "required": false},
    {"name": "#1", "category": 7, "required": false},
    {"name": "Žluťoučký kůň", "category": "io", "required": false}
  ],
  "modules": [
    {"name": "A", "marking": "-A", "price": "1250.50", "variants": [
      {"name": "C", "points": [{"kind": "DI", "count": 3}, {"kind": "#3", "count": 1},
                               {"kind": "DI", "count": 1}]},
      {"name": "C", "points": [{"kind": "#2", "count": 2}], "rules": ["A/B/C", "#2/X"]}
    ]},
    {"name": "A/B", "marking": "", "price": "0.0001", "price_status": 2, "help": "x",
     "flags": 16, "content_kind": 3, "variants": [
      {"name": "C", "points": [], "rules": ["A/#0"], "rules_list": {"name": "R", "kind": 0}}
    ]},
    {"name": "--", "marking": "x", "price": "999999999.999", "variants": [
      {"name": "X", "points": [{"kind": "Žluťoučký kůň", "count": 65535}]}
    ]}
  ],
  "series": [
    {"name": "Řada", "default": true, "exclusive": true, "flags": 10},
    {"name": "Jiná", "default": false, "exclusive": false}
  ],
  "devices": [
    {"name": "D", "marking": "d", "price": "8900", "series": "Řada", "type": "peripheral",
     "io_speed": "low", "control": "terminal", "lines": ["KALBUS", "VORNET", "KALBUS"],
     "help": "h", "lines_list": {"flags": 2}, "positions": [
      {"modules": ["A", "--", "#2", "A/B"]},
      {"name": "druhá", "modules": [], "rules": ["--/IO", "A/#1"], "flags": 1, "kind": 4}
    ]},
    {"name": "E", "marking": "", "price": "0", "type": 2, "io_speed": 5, "control": -1,
     "lines": [], "positions": []}
  ]
})";

TEST(CatalogueJsonTest, CanonicalJsonSurvivesCatalogueRoundTrip) {
    const Json json = Json::parse(kCanonicalJson);
    const std::unique_ptr<CioDb> db = CatalogueFromJson(json);
    EXPECT_EQ(json, CatalogueToJson(*db));
    EXPECT_EQ(json, CatalogueToJson(*ThroughFile(*db)));
    // Totals are computed: own price plus the dearest allowed module, capacity from the largest
    // variants.
    const CioType* device = db->devices.At(0);
    EXPECT_EQ(device->price, 8900 + 999999999);
    EXPECT_EQ(device->ioCount, 65535);
}

nlohmann::json ReadSample() {
    std::ifstream in(PINSUM_SAMPLE_JSON);
    return nlohmann::json::parse(in);
}

TEST(CatalogueJsonTest, SampleCatalogueIsCanonical) {
    if (!std::filesystem::exists(PINSUM_SAMPLE_JSON))
        GTEST_SKIP() << "no sample catalogue";
    const nlohmann::json sample = ReadSample();
    const std::unique_ptr<CioDb> db = CatalogueFromJson(Json(sample));
    // Compared without key order, which people may choose freely; a failure lists the changes.
    const nlohmann::json changes =
        nlohmann::json::diff(sample, nlohmann::json::parse(CatalogueToJsonText(*db)));
    EXPECT_TRUE(changes.empty()) << "export changes the sample: " << changes.dump();
    EXPECT_EQ(Dump(*db), Dump(*CatalogueFromJson(CatalogueToJson(*ThroughFile(*db)))));
}

struct BadJson {
    std::function<void(Json&)> change;
    std::string message;
};

TEST(CatalogueJsonTest, ImportErrorsNameThePath) {
    const BadJson cases[] = {
        {[](Json& j) { j["devices"][0]["positions"][0]["modules"][1] = "X"; },
         "devices[0].positions[0]: unknown module 'X'"},
        {[](Json& j) { j["devices"][0]["positions"][0]["modules"][0] = "#3"; },
         "devices[0].positions[0]: unknown module '#3'"},
        {[](Json& j) { j["modules"][0]["variants"][1]["points"][0]["kind"] = "AI"; },
         "modules[0].variants[1]: IO kind 'AI' is not unique; use '#1' or '#2'"},
        {[](Json& j) { j["modules"][0]["variants"][0]["points"][0]["kind"] = "DO"; },
         "modules[0].variants[0]: unknown IO kind 'DO'"},
        {[](Json& j) { j["modules"][1]["variants"][0]["rules"][0] = "A/C"; },
         "modules[1].variants[0]: variant 'A/C' is not unique; use 'A/#0' or 'A/#1'"},
        {[](Json& j) { j["modules"][1]["variants"][0]["rules"][0] = "A/D"; },
         "modules[1].variants[0]: unknown variant 'A/D'"},
        {[](Json& j) { j["modules"][0]["variants"][1]["rules"][0] = "A"; },
         "modules[0].variants[1]: unknown variant 'A'"},
        {[](Json& j) { j["devices"][0]["series"] = "Řada X"; },
         "devices[0]: unknown series 'Řada X'"},
        {[](Json& j) { j["devices"][0]["lines"][1] = "ETHERNET"; },
         "devices[0]: unknown line 'ETHERNET'"},
        {[](Json& j) {
             j["devices"][0]["positions"][0]["modules"][0] = {{"devices", "X"}};
         },
         "devices[0].positions[0]: unknown entry of devices 'X'"},
        {[](Json& j) {
             j["modules"][0]["variants"][0]["points"][0]["kind"] = {{"wheels", "D"}};
         },
         "modules[0].variants[0].points[0].kind: unknown list 'wheels'"},
        {[](Json& j) { j["devices"][0]["type"] = "robot"; },
         "devices[0].type: unknown value 'robot' (expected 'controller', 'peripheral' or a "
         "number)"},
        {[](Json& j) { j["io_kinds"][1]["category"] = 256; },
         "io_kinds[1].category: expected an integer from 0 to 255"},
        {[](Json& j) { j["io_kinds"][1]["required"] = 1; },
         "io_kinds[1].required: expected true or false"},
        {[](Json& j) { j["io_kinds"][1]["flags"] = 0x10; },
         "io_kinds[1].flags: holds bits that the named fields set"},
        {[](Json& j) { j["series"][1]["flags"] = -1; },
         "series[1].flags: expected an integer from 0 to 4294967295"},
        {[](Json& j) { j["io_kinds"][1]["name"] = 5; }, "io_kinds[1].name: expected a string"},
        {[](Json& j) { j["io_kinds"][1]["name"] = "日本"; },
         "io_kinds[1].name: '日本' has characters outside Windows-1250"},
        {[](Json& j) { j["io_kinds"][1]["colour"] = "red"; },
         "io_kinds[1]: unknown field 'colour'"},
        {[](Json& j) { j["modules"][0]["variants"][0]["points"][0]["count"] = 0; },
         "modules[0].variants[0].points[0].count: expected an integer from 1 to 65535"},
        {[](Json& j) {
             j["modules"][2]["variants"][0]["points"][1] = {{"kind", "DI"}};
         },
         "modules[2].variants[0]: more than 65535 points"},
        {[](Json& j) { j["modules"][0]["variants"][0]["points"][0].erase("kind"); },
         "modules[0].variants[0].points[0]: missing field 'kind'"},
        {[](Json& j) { j["modules"][0]["variants"] = {}; },
         "modules[0].variants: expected an array"},
        {[](Json& j) { j["devices"][1] = "E"; }, "devices[1]: expected an object"},
        {[](Json& j) { j["version"] = 2; }, "version: expected 1"},
        {[](Json& j) { j.erase("format"); }, "format: expected \"pinsum-catalogue\""},
        {[](Json& j) { j["lists"]["kinds"] = Json::object(); }, "lists: unknown field 'kinds'"},
        // A name or key of any length is quoted as a short prefix on one line.
        {[](Json& j) { j["devices"][0]["series"] = std::string(1'000'000, 'S'); },
         "devices[0]: unknown series '" + std::string(60, 'S') + "...'"},
        {[](Json& j) { j["io_kinds"][1]["\n" + std::string(1'000'000, 'k')] = 1; },
         "io_kinds[1]: unknown field '\\n" + std::string(59, 'k') + "...'"},
        {[](Json& j) { j["series"][0]["kind"] = 1LL << 31; },
         "series[0].kind: expected an integer from -2147483648 to 2147483647"},
    };
    for (const BadJson& c : cases) {
        Json json = Json::parse(kCanonicalJson);
        c.change(json);
        try {
            CatalogueFromJson(json);
            ADD_FAILURE() << "accepted; expected: " << c.message;
        } catch (const JsonError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

TEST(CatalogueJsonTest, PricesAreDecimalStringsWithAtMostFourPlaces) {
    const std::pair<const char*, int64_t> good[] = {
        {"0", 0},
        {"8900", 89000000},
        {"1250.5", 12505000},
        {"1250.50", 12505000},
        {"0.0001", 1},
        {"-3", -30000},
        {"007", 70000},
        {"922337203685477.5807", INT64_MAX},
        {"-922337203685477.5808", INT64_MIN},
        // Beyond 64 bits, so that the caller can say the number is too large.
        {"922337203685477.5808", INT64_MAX},
        {"99999999999999999999", INT64_MAX},
        {"-99999999999999999999", INT64_MIN},
    };
    for (const auto& [text, scaled] : good)
        EXPECT_EQ(ParsePrice(text), scaled) << text;
    for (const char* text :
         {"", "-", ".5", "5.", "1.23456", "1,5", "+5", " 5", "5 ", "1e3", "0x10", "1.2.3"})
        EXPECT_EQ(ParsePrice(text), std::nullopt) << text;

    EXPECT_EQ(FormatPrice({0, 89000000}), "8900");
    EXPECT_EQ(FormatPrice({0, 12505000}), "1250.50");
    EXPECT_EQ(FormatPrice({0, 12500001}), "1250.0001");
    EXPECT_EQ(FormatPrice({0, 12500010}), "1250.001");
    EXPECT_EQ(FormatPrice({0, INT64_MIN}), "-922337203685477.5808");
}

// Prices up to the largest a file can hold used to be taken, and the search's sums wrapped; a
// price too large was called a number with too many decimal places.
TEST(CatalogueJsonTest, ImportTakesPricesFrom0To999999999_9999AndSaysWhatIsWrongWithOthers) {
    const std::string format =
        " is not a price (a decimal number with at most four decimal places)";
    const std::string larger = " is larger than 999999999.9999, the largest price";
    const std::pair<Json, std::string> cases[] = {
        {"999999999.9999", ""},
        {"0", ""},
        {"12.34567", "'12.34567'" + format},
        {"1 250", "'1 250'" + format},
        {1250, "expected a decimal number as a string"},
        {"1189000000000000", "'1189000000000000'" + larger},
        {"1000000000", "'1000000000'" + larger},
        {"99999999999999999999", "'99999999999999999999'" + larger},
        {"-3", "'-3' is negative; a price is 0 to 999999999.9999"},
    };
    for (const auto& [price, message] : cases) {
        SCOPED_TRACE(price.dump());
        Json json = Json::parse(kCanonicalJson);
        json["devices"][0]["price"] = price;
        try {
            CatalogueFromJson(json);
            EXPECT_EQ(message, "");
        } catch (const JsonError& e) {
            EXPECT_EQ(e.what(), "devices[0].price: " + message);
        }
    }
}

TEST(CatalogueJsonTest, BadJsonTextIsAJsonError) {
    try {
        CatalogueFromJsonText("{\"format\": ");
        FAIL() << "accepted";
    } catch (const JsonError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("invalid JSON: parse error at line 1", 0), 0u)
            << e.what();
    }
    EXPECT_THROW(CatalogueFromJsonText("[]"), JsonError);
    try {
        CatalogueFromJsonText(R"({"io_kinds": [{"name": "A", "name": "B"}]})");
        FAIL() << "accepted";
    } catch (const JsonError& e) {
        EXPECT_STREQ(e.what(), "io_kinds[0]: duplicate key 'name'");
    }
}

TEST(CatalogueJsonTest, ExportRefusesObjectsOutsideTheLists) {
    test::SmallCatalogue c = test::BuildSmallCatalogue();
    CioType stray;
    c.m1->Variant(0)->entries.push_back(&stray);
    try {
        CatalogueToJson(*c.db);
        FAIL() << "exported";
    } catch (const JsonError& e) {
        EXPECT_STREQ(e.what(), "modules[0].variants[0]: a point refers to an object outside the "
                               "catalogue's lists");
    }
    c.m1->Variant(0)->entries.pop_back();
    c.db->ioKinds.Append(std::make_unique<CioLine>());
    try {
        CatalogueToJson(*c.db);
        FAIL() << "exported";
    } catch (const JsonError& e) {
        EXPECT_STREQ(e.what(), "io_kinds[3]: unexpected object of kind C_LINE_TYPE_IO");
    }
}

} // namespace
} // namespace pinsum
