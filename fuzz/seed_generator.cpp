// Writes the seed corpus of the reader fuzzers, valid catalogue and planner files and hand-made
// hostile ones, into OUT/catalogue and OUT/planner.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "model/cio_equip.h"
#include "model/cio_line.h"
#include "model/cio_modul.h"
#include "model/cio_module_node.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"
#include "support/catalogue_generator.h"

namespace pinsum::fuzz {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr int32_t kTwoBillion = 2'000'000'000;

void Save(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// A seed meant to be valid must read back whole; a mistake here would only shrink the corpus.
void SaveValid(const fs::path& path, const Bytes& bytes) {
    ArchiveReader ar(bytes, path.string());
    bool read = false;
    if (path.parent_path().filename() == "planner") {
        std::unique_ptr<CioProject> project;
        LoadPlannerFile(ar, project);
        read = project != nullptr;
    } else {
        std::unique_ptr<CioDb> db;
        LoadDatabaseFile(ar, db);
        read = db != nullptr;
    }
    if (!read || ar.Remaining() != 0)
        throw std::runtime_error(path.string() + " does not read back whole");
    Save(path, bytes);
}

Bytes CatalogueFile(const CioDb* db) {
    ArchiveWriter ar;
    StoreDatabaseFile(ar, db);
    return ar.TakeBytes();
}

Bytes PlannerFile(CioProject* project) {
    ArchiveWriter ar;
    StorePlannerFile(ar, project);
    return ar.TakeBytes();
}

// Without renewing identities first, so that identities set by hand stay as they are.
Bytes PlannerFileAsIs(const CioProject& project) {
    ArchiveWriter ar;
    ar.WriteText(kPlannerMagic);
    ar.WriteInt32(1);
    WriteObject(ar, &project);
    ar.WriteInt32(0);
    return ar.TakeBytes();
}

// --- Raw streams, for what the model cannot write ---------------------------------------------

void Header(ArchiveWriter& ar, int32_t kind, uint32_t id, std::string_view name = "IO") {
    ar.WriteInt32(kind);
    ar.WriteUInt32(id);
    ar.WriteText(name);
    ar.WriteText("");
    ar.WriteUInt32(0);
    ar.WriteInt32(0);
}

void EmptyList(ArchiveWriter& ar, uint32_t id, int32_t contentKind) {
    Header(ar, C_ARRAY_IO, id);
    ar.WriteInt32(0);
    ar.WriteInt32(contentKind);
    ar.WriteInt32(0);
}

void EmptyRefList(ArchiveWriter& ar, uint32_t id) {
    Header(ar, C_MAPARRAY_IO, id);
    ar.WriteInt32(0);
    ar.WriteInt32(0);
}

// A catalogue file whose IO point kinds list is written by kinds; the other lists are empty.
Bytes RawCatalogue(const std::function<void(ArchiveWriter&)>& kinds) {
    ArchiveWriter ar;
    ar.WriteText(kDatabaseMagic);
    ar.WriteInt32(1);
    ar.WriteText("C_DB_IO");
    Header(ar, C_DB_IO, 100, "<>");
    kinds(ar);
    EmptyList(ar, 102, C_MODUL_IO);
    EmptyList(ar, 103, C_PLC_IO);
    EmptyList(ar, 104, C_LINE_TYPE_IO);
    ar.WriteInt32(0);
    ar.WriteInt32(0);
    return ar.TakeBytes();
}

// The kinds list holding the given raw children.
Bytes CatalogueWithKinds(int32_t count, const std::function<void(ArchiveWriter&)>& children) {
    return RawCatalogue([&](ArchiveWriter& ar) {
        Header(ar, C_ARRAY_IO, 101);
        ar.WriteInt32(count);
        children(ar);
        ar.WriteInt32(C_IO);
        ar.WriteInt32(0);
    });
}

// Lists nested levels deep under the kinds list, each the only child of the one above.
Bytes NestedCatalogue(int levels, const char* tag, int32_t kind) {
    return CatalogueWithKinds(1, [&](ArchiveWriter& ar) {
        for (int i = 0; i < levels; ++i) {
            ar.WriteText(tag);
            Header(ar, kind, 1000 + static_cast<uint32_t>(i));
            ar.WriteInt32(i + 1 < levels ? 1 : 0);
        }
        for (int i = 0; i < levels; ++i) {
            ar.WriteInt32(C_IO);
            ar.WriteInt32(0);
        }
    });
}

// A project file with one solution holding one equipment; equipment writes the equipment body
// after its root header.
Bytes RawPlanner(int32_t solutions, const std::function<void(ArchiveWriter&)>& equipment) {
    ArchiveWriter ar;
    ar.WriteText(kPlannerMagic);
    ar.WriteInt32(1);
    ar.WriteText("C_IO_PROJECT");
    Header(ar, C_IO_PROJECT, 200);
    ar.WriteInt32(solutions);
    ar.WriteText("C_IO_SOLUTION_NODE");
    Header(ar, C_IO_SOLUTION_NODE, 201);
    ar.WriteInt32(1);
    ar.WriteText("C_IO_EQUIP");
    Header(ar, C_IO_EQUIP, 202);
    equipment(ar);
    ar.WriteInt32(C_IO_EQUIP); // contentKind of the solution
    ar.WriteInt32(0);
    ar.WriteUInt32(0); // controller
    ar.WriteInt32(0);  // remaining request
    ar.WriteInt32(1);
    ar.WriteInt32(1);
    ar.WriteDouble(0.0);
    ar.WriteInt32(0);
    ar.WriteInt32(C_IO_SOLUTION_NODE);
    ar.WriteInt32(0);
    ar.WriteInt32(0); // no database
    EmptyList(ar, 203, C_IO);
    EmptyRefList(ar, 204);
    ar.WriteInt32(0); // budget
    ar.WriteInt32(0);
    ar.WriteInt32(0);
    return ar.TakeBytes();
}

// Which count of a configuration announces two billion entries.
enum class HugeCount { None, Remaining, Variants, Indexes, PositionMaps, MapEntries };

void RawSelector(ArchiveWriter& ar, HugeCount huge) {
    auto count = [&](HugeCount which, int32_t normal) {
        ar.WriteInt32(huge == which ? kTwoBillion : normal);
    };
    count(HugeCount::Remaining, 0);
    count(HugeCount::Variants, 1);
    ar.WriteUInt32(kEmptyVariantId);
    ar.WriteInt32(1);
    ar.WriteUInt32(kEmptyModuleId);
    count(HugeCount::Indexes, 1);
    ar.WriteUInt16(0);
    ar.WriteInt32(1);
    ar.WriteUInt16(0);
    ar.WriteInt32(0);  // start position
    ar.WriteUInt32(0); // device
    ar.WriteInt32(1);
    ar.WriteInt32(1);
    ar.WriteInt32(0);
    ar.WriteInt32(0); // price: status, high, low
    ar.WriteInt32(0);
    ar.WriteUInt32(0);
    count(HugeCount::PositionMaps, 1);
    count(HugeCount::MapEntries, 0);
    ar.WriteInt32(0);
}

void EquipmentWithSelector(ArchiveWriter& ar, HugeCount huge) {
    ar.WriteUInt32(0); // device
    ar.WriteInt32(0);  // spare
    ar.WriteInt32(1);
    ar.WriteInt32(1);
    RawSelector(ar, huge);
    ar.WriteInt32(0);
}

// Writes a text in the wide form: FF FFFE, the length in UTF-16 units, little-endian units.
void WideText(ArchiveWriter& ar, std::u16string_view text) {
    const uint8_t prefix[] = {0xFF, 0xFE, 0xFF, static_cast<uint8_t>(text.size())};
    ar.WriteBytes(prefix, sizeof prefix);
    for (const char16_t unit : text)
        ar.WriteUInt16(static_cast<uint16_t>(unit));
}

// --- Catalogues and projects built with the model ---------------------------------------------

std::unique_ptr<CioDb> Tiny() {
    return test::GenerateCatalogue(test::TinyShape());
}

CioPlc* Device(CioDb& db, size_t index) {
    return static_cast<CioPlc*>(db.devices.At(index));
}
CioModul* Module(CioDb& db, size_t index) {
    return static_cast<CioModul*>(db.modules.At(index));
}

// A project as the calculator stores it after a search: request, series selection and one
// solution with two pieces of equipment.
std::unique_ptr<CioProject> SolvedProject() {
    auto project = std::make_unique<CioProject>();
    test::CatalogueShape shape = test::TinyShape();
    shape.helpBytes = 0;
    project->database = test::GenerateCatalogue(shape);
    CioDb& db = *project->database;
    for (const auto& kind : db.ioKinds.children) {
        auto node = std::make_unique<CioNode>();
        node->kindRef.object = kind.get();
        node->count = static_cast<int32_t>(project->requestList.Count() * 3);
        node->flags = FLAG_CHECKED;
        project->requestList.Append(std::move(node));
    }
    for (const auto& series : db.seriesList.children)
        project->seriesSelection.entries.push_back(series.get());
    project->budget = 15;

    auto solution = std::make_unique<CioSolution>();
    solution->controller.object = Device(db, 0);
    solution->number = 1;
    solution->price = 12345.5;
    for (size_t d = 0; d < 2; ++d) {
        CioPlc* device = Device(db, d);
        auto equip = std::make_unique<CioEquip>();
        equip->device.object = device;
        auto selector = std::make_unique<CioModuleSelector>();
        selector->device = device;
        selector->validStructure = 1;
        for (size_t p = 0; p < device->Count(); ++p) {
            auto* position = static_cast<CioVariant*>(device->At(p));
            auto* module = position->entries.empty()
                               ? &EmptyModule()
                               : static_cast<CioModul*>(position->entries.back());
            selector->modules.push_back(module);
            selector->variants.push_back(module->At(0));
            selector->moduleIndexes.push_back(static_cast<uint16_t>(p));
            selector->variantIndexes.push_back(0);
            auto map = std::make_unique<KindCountMap>();
            (*map)[db.ioKinds.At(p % db.ioKinds.Count())] = static_cast<uint16_t>(p + 2);
            selector->positionMaps.push_back(p == 1 ? nullptr : std::move(map));
        }
        selector->remaining[db.ioKinds.At(0)] = 4;
        selector->usedPositions = static_cast<int32_t>(device->Count());
        selector->coveredTotal = 7;
        selector->price.scaled = 123456789;
        equip->selectors.push_back(std::move(selector));
        equip->selectors.push_back(nullptr);
        solution->Append(std::move(equip));
    }
    for (const auto& item : project->requestList.children) {
        auto copy = std::make_unique<CioNode>();
        copy->CopyFrom(item.get());
        copy->RenewIds();
        solution->remaining.push_back(std::move(copy));
    }
    project->Append(std::move(solution));
    return project;
}

// A chain of devices, each with positions that all allow the next device: the totals visit
// every path through the chain, positions^devices of them.
Bytes DeviceChain(int devices, int positions, int points) {
    CioDb db;
    auto kind = std::make_unique<CioType>();
    CioType* point = kind.get();
    db.ioKinds.Append(std::move(kind));
    auto module = std::make_unique<CioModul>();
    auto variant = std::make_unique<CioVariant>();
    variant->entries.assign(static_cast<size_t>(points), point);
    module->Append(std::move(variant));
    CioType* next = module.get();
    db.modules.Append(std::move(module));
    std::vector<std::unique_ptr<CioType>> chain;
    for (int d = 0; d < devices; ++d) {
        auto device = std::make_unique<CioPlc>();
        for (int p = 0; p < positions; ++p) {
            auto position = std::make_unique<CioVariant>();
            position->entries.push_back(next);
            device->Append(std::move(position));
        }
        next = device.get();
        chain.push_back(std::move(device));
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        db.devices.Append(std::move(*it));
    return CatalogueFile(&db);
}

void WriteCatalogueSeeds(const fs::path& dir) {
    Save(dir / "no_database.pp", CatalogueFile(nullptr));
    CioDb empty;
    SaveValid(dir / "empty_database.pp", CatalogueFile(&empty));
    SaveValid(dir / "tiny_catalogue.pp", CatalogueFile(Tiny().get()));
    {
        test::CatalogueShape shape = test::TinyShape();
        shape.modules = 12;
        shape.devices = 8;
        shape.positionsPerDevice = 4;
        shape.modulesPerPosition = 5;
        shape.helpBytes = 0;
        shape.seed = 7;
        SaveValid(dir / "small_catalogue.pp", CatalogueFile(test::GenerateCatalogue(shape).get()));
    }
    {
        auto db = Tiny();
        db->ioKinds.At(0)->name = std::string(255, 'N');
        db->modules.At(0)->help = "<mi>" + std::string(70000, 'h');
        SaveValid(dir / "long_texts.pp", CatalogueFile(db.get()));
    }
    SaveValid(dir / "wide_name.pp", RawCatalogue([](ArchiveWriter& ar) {
                  Header(ar, C_ARRAY_IO, 101);
                  ar.WriteInt32(1);
                  ar.WriteText("C_IO");
                  ar.WriteInt32(C_IO);
                  ar.WriteUInt32(110);
                  WideText(ar, u"\u0158ada \u010d\u00ed\u0161\u20ac\U0001F600");
                  ar.WriteText("");
                  ar.WriteUInt32(0x0110);
                  ar.WriteInt32(0);
                  ar.WriteInt32(C_IO);
                  ar.WriteInt32(0);
              }));
    {
        Bytes bytes = CatalogueFile(&empty);
        bytes[28] = 'X'; // the line feed ending the magic
        Save(dir / "magic_without_line_feed.pp", bytes);
        Save(dir / "planner_magic.pp", PlannerFile(nullptr));
        Save(dir / "zero_length.pp", {});
    }

    // Announced counts far beyond the bytes that follow.
    Save(dir / "two_billion_kinds.pp", CatalogueWithKinds(kTwoBillion, [](ArchiveWriter&) {}));
    Save(dir / "negative_kind_count.pp", CatalogueWithKinds(-1, [](ArchiveWriter&) {}));
    Save(dir / "two_billion_points.pp", CatalogueWithKinds(1, [](ArchiveWriter& ar) {
             ar.WriteText("C_VARIANT_IO");
             Header(ar, C_VARIANT_IO, 120);
             ar.WriteInt32(kTwoBillion);
             ar.WriteUInt32(kVornetId);
         }));

    // Texts longer than the file.
    Save(dir / "name_past_end.pp", CatalogueWithKinds(1, [](ArchiveWriter& ar) {
             ar.WriteText("C_IO");
             ar.WriteInt32(C_IO);
             ar.WriteUInt32(110);
             const uint8_t cut[] = {200, 'a', 'b', 'c'};
             ar.WriteBytes(cut, sizeof cut);
         }));
    Save(dir / "help_length_32_bit.pp", CatalogueWithKinds(1, [](ArchiveWriter& ar) {
             ar.WriteText("C_IO");
             ar.WriteInt32(C_IO);
             ar.WriteUInt32(110);
             ar.WriteText("IO");
             ar.WriteBytes("\xFF\xFF\xFF", 3);
             ar.WriteUInt32(0xFFFFFFF0u);
             ar.WriteBytes("abc", 3);
         }));
    Save(dir / "wide_length_past_end.pp", CatalogueWithKinds(1, [](ArchiveWriter& ar) {
             ar.WriteText("C_IO");
             ar.WriteInt32(C_IO);
             ar.WriteUInt32(110);
             ar.WriteBytes("\xFF\xFE\xFF\xFF\xFF\xFF", 6);
             ar.WriteUInt32(0x7FFFFFFFu);
             ar.WriteUInt16(u'a');
         }));
    Save(dir / "wide_twice.pp", CatalogueWithKinds(1, [](ArchiveWriter& ar) {
             ar.WriteText("C_IO");
             ar.WriteInt32(C_IO);
             ar.WriteUInt32(110);
             ar.WriteBytes("\xFF\xFE\xFF\xFF\xFE\xFF\x02", 7);
             ar.WriteUInt16(u'a');
             ar.WriteUInt16(u'b');
         }));

    // Nesting: a million levels as announced, and a few past the limit that fit the fuzzer.
    Save(dir / "nested_million.pp", NestedCatalogue(1'000'000, "C_ARRAY_IO", C_ARRAY_IO));
    Save(dir / "nested_modules.pp", NestedCatalogue(200, "C_MODUL_IO", C_MODUL_IO));

    // Tags without a class.
    for (const char* tag : {"C_UNKNOWN_IO", "C_IO_GROUP", "NULL", ""}) {
        const std::string name = std::string("tag_") + (*tag != '\0' ? tag : "empty") + ".pp";
        Save(dir / name, CatalogueWithKinds(1, [tag](ArchiveWriter& ar) {
                 ar.WriteText(tag);
                 Header(ar, C_IO, 110);
             }));
    }
    {
        ArchiveWriter ar;
        ar.WriteText(kDatabaseMagic);
        ar.WriteInt32(1);
        ar.WriteText("C_LINE_TYPE_IO");
        Header(ar, C_LINE_TYPE_IO, 100);
        ar.WriteInt32(0);
        Save(dir / "root_not_database.pp", ar.TakeBytes());
    }

    // References that close a cycle or point at objects of the wrong class.
    {
        auto db = Tiny();
        CioPlc* device = Device(*db, 0);
        static_cast<CioVariant*>(device->At(0))->entries.push_back(device);
        Save(dir / "position_allows_own_device.pp", CatalogueFile(db.get()));
    }
    {
        auto db = Tiny();
        CioPlc* first = Device(*db, 0);
        CioPlc* second = Device(*db, 1);
        static_cast<CioVariant*>(first->At(0))->entries.push_back(second);
        static_cast<CioVariant*>(second->At(0))->entries.push_back(first);
        Save(dir / "devices_allow_each_other.pp", CatalogueFile(db.get()));
    }
    {
        auto db = Tiny();
        static_cast<CioVariant*>(Device(*db, 0)->At(1))->entries.push_back(db.get());
        Save(dir / "position_allows_database.pp", CatalogueFile(db.get()));
    }
    {
        auto db = Tiny();
        auto* variant = static_cast<CioVariant*>(Module(*db, 0)->At(0));
        variant->rules.entries.push_back(variant);
        variant->entries.push_back(Device(*db, 0));
        variant->entries.push_back(Module(*db, 1));
        Device(*db, 1)->series = {nullptr, Module(*db, 2)->id};
        Device(*db, 2)->lines.entries = {&EmptyModule(), &EmptyVariant(), &Vornet(),
                                         Device(*db, 2)};
        Save(dir / "references_of_wrong_class.pp", CatalogueFile(db.get()));
    }
    {
        auto db = Tiny();
        for (size_t i = 1; i < db->ioKinds.Count(); ++i)
            db->ioKinds.At(i)->id = db->ioKinds.At(0)->id;
        Save(dir / "duplicate_identities.pp", CatalogueFile(db.get()));
    }
    {
        auto db = Tiny();
        db->ioKinds.At(0)->kind = C_PLC_IO;
        db->ioKinds.At(1)->kind = C_IO_GROUP;
        db->seriesList.At(0)->kind = C_NULL;
        Device(*db, 0)->At(0)->kind = C_MODUL_IO;
        Save(dir / "kind_fields_disagree.pp", CatalogueFile(db.get()));
    }
    // Totals of a chain fourteen devices long: 4^14 paths; and one whose IO count passes 2^31.
    Save(dir / "totals_exponential.pp", DeviceChain(14, 4, 1));
    Save(dir / "totals_io_count_overflow.pp", DeviceChain(10, 4, 3000));
}

void WritePlannerSeeds(const fs::path& dir) {
    Save(dir / "no_project.pp", PlannerFile(nullptr));
    {
        CioProject project;
        SaveValid(dir / "project_without_database.pp", PlannerFile(&project));
    }
    SaveValid(dir / "solved_project.pp", PlannerFile(SolvedProject().get()));
    {
        auto project = SolvedProject();
        auto node = std::make_unique<CioModuleNode>();
        node->first.object = project->database->modules.At(0);
        node->second.object = &EmptyModule();
        node->entries = {project->database->ioKinds.At(0)};
        node->index = 3;
        static_cast<CioArray*>(project->At(0))->Append(std::move(node));
        Save(dir / "module_node.pp", PlannerFile(project.get()));
    }
    Save(dir / "catalogue_magic.pp", CatalogueFile(Tiny().get()));

    Save(dir / "two_billion_solutions.pp", RawPlanner(kTwoBillion, [](ArchiveWriter& ar) {
             EquipmentWithSelector(ar, HugeCount::None);
         }));
    Save(dir / "two_billion_configurations.pp", RawPlanner(1, [](ArchiveWriter& ar) {
             ar.WriteUInt32(0);
             ar.WriteInt32(0);
             ar.WriteInt32(kTwoBillion);
             ar.WriteInt32(1);
         }));
    const std::pair<HugeCount, const char*> huge[] = {
        {HugeCount::Remaining, "remaining"},    {HugeCount::Variants, "variants"},
        {HugeCount::Indexes, "indexes"},        {HugeCount::PositionMaps, "position_maps"},
        {HugeCount::MapEntries, "map_entries"},
    };
    for (const auto& entry : huge) {
        const HugeCount which = entry.first;
        Save(dir / ("two_billion_" + std::string(entry.second) + ".pp"),
             RawPlanner(1, [which](ArchiveWriter& ar) { EquipmentWithSelector(ar, which); }));
    }
    Save(dir / "configuration_cut_short.pp", RawPlanner(1, [](ArchiveWriter& ar) {
             ar.WriteUInt32(0);
             ar.WriteInt32(0);
             ar.WriteInt32(1);
             ar.WriteInt32(1);
             ar.WriteInt32(0);
         }));

    {
        // Solutions nested in solutions, a million levels as announced.
        ArchiveWriter ar;
        ar.WriteText(kPlannerMagic);
        ar.WriteInt32(1);
        ar.WriteText("C_IO_PROJECT");
        Header(ar, C_IO_PROJECT, 200);
        ar.WriteInt32(1);
        for (int i = 0; i < 1'000'000; ++i) {
            ar.WriteText("C_IO_SOLUTION_NODE");
            Header(ar, C_IO_SOLUTION_NODE, 300 + static_cast<uint32_t>(i));
            ar.WriteInt32(1);
        }
        Save(dir / "nested_million.pp", ar.TakeBytes());
    }

    {
        auto project = SolvedProject();
        auto* solution = static_cast<CioSolution*>(project->At(0));
        static_cast<CioNode*>(project->requestList.At(0))->kindRef.object = project.get();
        static_cast<CioNode*>(project->requestList.At(1))->kindRef.object = solution;
        auto* equip = static_cast<CioEquip*>(solution->At(0));
        equip->device = {nullptr, solution->id};
        solution->controller = {nullptr, project->database->modules.At(0)->id};
        CioModuleSelector& selector = *equip->selectors[0];
        selector.variants[0] = project.get();
        selector.modules[0] = Device(*project->database, 1);
        selector.remaining[solution] = 9;
        project->seriesSelection.entries.push_back(project.get());
        Save(dir / "references_into_the_project.pp", PlannerFileAsIs(*project));
    }
    {
        auto project = SolvedProject();
        auto* solution = static_cast<CioSolution*>(project->At(0));
        auto& selector = *static_cast<CioEquip*>(solution->At(0))->selectors[0];
        selector.variants[0] = nullptr;
        selector.modules[0] = nullptr;
        SaveValid(dir / "configuration_with_nulls.pp", PlannerFile(project.get()));
    }
    {
        // Remaining-request copies that kept the identities of the request items.
        auto project = SolvedProject();
        auto* solution = static_cast<CioSolution*>(project->At(0));
        for (size_t i = 0; i < solution->remaining.size(); ++i)
            solution->remaining[i]->id = project->requestList.At(i)->id;
        Save(dir / "duplicate_identities.pp", PlannerFileAsIs(*project));
    }
    {
        auto project = SolvedProject();
        static_cast<CioSolution*>(project->At(0))->remaining[0]->kind = C_IO;
        Save(dir / "remaining_not_a_request.pp", PlannerFile(project.get()));
    }
    {
        ArchiveWriter ar;
        ar.WriteText(kPlannerMagic);
        ar.WriteInt32(1);
        ar.WriteText("C_IO_PROJECT");
        Header(ar, C_IO_PROJECT, 200);
        ar.WriteInt32(0);
        ar.WriteInt32(C_IO_SOLUTION_NODE);
        ar.WriteInt32(0);
        ar.WriteInt32(1);
        ar.WriteText("C_LINE_TYPE_IO");
        Header(ar, C_LINE_TYPE_IO, 201);
        Save(dir / "database_not_a_database.pp", ar.TakeBytes());
    }
}

} // namespace
} // namespace pinsum::fuzz

int main(int argc, char** argv) {
    using namespace pinsum::fuzz;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    for (const char* sub : {"catalogue", "planner"}) {
        fs::remove_all(out / sub);
        fs::create_directories(out / sub);
    }
    WriteCatalogueSeeds(out / "catalogue");
    WritePlannerSeeds(out / "planner");
    return 0;
}
