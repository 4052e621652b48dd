#include "web_calculator.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <span>

#include <nlohmann/json.hpp>

#include "host/engine_error.h"
#include "host/manual_reset_event.h"
#include "host/messenger.h"
#include "host/notification.h"
#include "host/text_codec.h"
#include "model/cio_db.h"
#include "model/cio_equip.h"
#include "model/cio_modul.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/count_parser.h"
#include "signals/kind_mapping.h"
#include "signals/signal_import.h"
#include "solver/cio_compile_thread.h"
#include "solver/compile_request.h"
#include "solver/result_table.h"
#include "solver/search_level.h"
#include "solver/search_request.h"
#include "solver/solution_report.h"

namespace pinsum::web {
namespace {

using nlohmann::json;

// The catalogue is read through the engine's file loader, from the module's memory file system.
constexpr const char* kCataloguePath = "/catalogue.pp";

std::string Utf8(const std::string& cp1250) {
    return Cp1250ToUtf8(cp1250);
}

// Report texts end their lines with "\r\n", the page's and the tool's with "\n".
std::string ReportText(const std::string& cp1250) {
    std::string text;
    for (size_t i = 0; i < cp1250.size(); ++i)
        if (cp1250[i] != '\r' || i + 1 == cp1250.size() || cp1250[i + 1] != '\n')
            text += cp1250[i];
    return Utf8(text);
}

class RecordingMessenger : public Messenger {
public:
    MessageAnswer Show(const std::string& text, MessageIcon icon, MessageButtons) override {
        texts.push_back(Utf8(text));
        refused = refused || icon == MessageIcon::Stop;
        return MessageAnswer::Ok;
    }
    std::vector<std::string> texts;
    bool refused = false;
};

const char* ColourName(RowColour colour) {
    switch (colour) {
    case RowColour::Face:
        return "face";
    case RowColour::Window:
        return "window";
    case RowColour::Red:
        return "red";
    case RowColour::Orange:
        return "orange";
    }
    return "window";
}

// The position of an object in a catalogue list, or -1.
int IndexIn(const CioArray& list, const CioType* object) {
    for (size_t i = 0; i < list.Count(); ++i)
        if (list.At(i) == object)
            return static_cast<int>(i);
    return -1;
}

// What identifies a device with its chosen modules in another load of the same catalogue: the
// device's index in the device list and each position's module index in the module list (-1 for
// an empty position). Null when the equipment shows no help.
json EquipmentOf(const CioDb& database, const CioType* object) {
    const auto* equip = dynamic_cast<const CioEquip*>(object);
    if (equip == nullptr || !equip->HasHelp())
        return nullptr;
    const int device = IndexIn(database.devices, equip->Device());
    if (device < 0)
        return nullptr;
    json modules = json::array();
    if (const CioModuleSelector* chosen = equip->Chosen())
        for (const CioModul* module : chosen->modules)
            modules.push_back(IndexIn(database.modules, module));
    return {{"device", device}, {"modules", modules}};
}

// The result table as rows for the page, each with the report of the object it shows and, for
// equipment with help, what the page's own engine needs to show that help.
class JsonTable : public ResultTable {
public:
    explicit JsonTable(const CioDb& database) : m_database(database) {}

    bool HasWindow() const override { return true; }
    void DeleteAllRows() override { rows = json::array(); }
    int ColumnCount() const override { return static_cast<int>(columns.size()); }
    void InsertColumn(int, const std::string& heading, ColumnAlign align, int) override {
        columns.push_back({{"heading", Utf8(heading)},
                           {"align", align == ColumnAlign::Left    ? "left"
                                     : align == ColumnAlign::Right ? "right"
                                                                   : "center"}});
    }
    void AddRow(const std::array<std::string, 4>& cells, const CioType* object,
                RowColour colour) override {
        std::string text;
        if (object != nullptr)
            object->Describe(text, std::string());
        json row = {{"cells", {Utf8(cells[0]), Utf8(cells[1]), Utf8(cells[2]), Utf8(cells[3])}},
                    {"colour", ColourName(colour)},
                    {"text", ReportText(text)}};
        if (json equipment = EquipmentOf(m_database, object); !equipment.is_null())
            row["equipment"] = std::move(equipment);
        rows.push_back(std::move(row));
    }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    void SelectRow(int) override {}

    json columns = json::array();
    json rows = json::array();

private:
    const CioDb& m_database;
};

json TreeJson(const MemoryTreeControl& tree, TreeItem parent, bool withCounts) {
    json items = json::array();
    for (const TreeItem item : tree.Children(parent)) {
        json entry = {{"id", item},
                      {"text", Utf8(tree.GetItemText(item))},
                      {"image", tree.Image(item)},
                      {"checked", tree.IsChecked(item)}};
        if (const auto* node = dynamic_cast<const CioNode*>(tree.GetItemData(item));
            withCounts && node != nullptr) {
            entry["count"] = node->count;
            entry["name"] = node->Kind() != nullptr ? Utf8(node->Kind()->name) : "";
            entry["checked"] = (node->flags & FLAG_CHECKED) != 0;
        }
        if (const CioType* object = tree.GetItemData(item); object != nullptr && object->HasHelp())
            entry["help"] = true;
        if (!tree.Children(item).empty())
            entry["children"] = TreeJson(tree, item, withCounts);
        items.push_back(std::move(entry));
    }
    return items;
}

CioNode* NodeOf(const MemoryTreeControl& tree, double item) {
    const auto handle = static_cast<TreeItem>(item);
    return tree.Has(handle) ? dynamic_cast<CioNode*>(tree.GetItemData(handle)) : nullptr;
}

json RowsJson(const RowList& rows) {
    return {{"rows", rows.rows}, {"count", rows.count}};
}

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

json Error(const std::string& message) {
    return {{"state", "error"}, {"report", message}, {"solutions", json::array()}};
}

} // namespace

std::unique_ptr<CioProject> LoadCatalogueBytes(const std::string& bytes) {
    {
        std::ofstream file(kCataloguePath, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file)
            throw EngineError("soubor nelze uložit do paměti stránky");
    }
    auto project = std::make_unique<CioProject>();
    const std::string path = kCataloguePath;
    std::string error;
    const bool loaded = project->LoadDatabase(&path, nullptr, nullptr, &error) != 0;
    std::remove(kCataloguePath);
    if (!loaded)
        throw EngineError(error);
    // A file of another kind loads as an empty document, which the page must not take silently.
    if (project->database == nullptr)
        throw EngineError("není to soubor databáze kalkulátoru");
    return project;
}

WebCalculator::WebCalculator() = default;
WebCalculator::~WebCalculator() = default;

std::string WebCalculator::Load(const std::string& bytes) {
    std::unique_ptr<CioProject> project;
    try {
        project = LoadCatalogueBytes(bytes);
    } catch (const std::exception& e) {
        return std::string("Soubor nelze načíst:\n") + e.what();
    }
    m_io.Clear();
    m_terminals.Clear();
    m_selection.Clear();
    m_project = std::move(project);
    m_project->InsertIoToTree(kNoItem, m_io);
    m_project->database->FillSelectionTree(kNoItem, m_selection);
    m_project->InsertTerminalsToTree(kNoItem, m_terminals);
    return std::string();
}

std::string WebCalculator::Trees() const {
    return json{{"io", TreeJson(m_io, kNoItem, true)},
                {"terminals", TreeJson(m_terminals, kNoItem, true)},
                {"series", TreeJson(m_selection, kNoItem, false)}}
        .dump();
}

void WebCalculator::SetSelectionChecked(double item, bool checked) {
    const auto handle = static_cast<TreeItem>(item);
    if (m_project == nullptr || !m_selection.Has(handle))
        return;
    m_selection.SetChecked(handle, checked);
    m_project->database->ApplySelectionCheck(m_selection, handle);
}

void WebCalculator::SetTerminalChecked(double item, bool checked) {
    if (CioNode* node = NodeOf(m_terminals, item))
        node->flags = checked ? node->flags | FLAG_CHECKED : node->flags & ~FLAG_CHECKED;
}

std::string WebCalculator::SetCount(double item, const std::string& text) {
    const MemoryTreeControl& tree = m_io.Has(static_cast<TreeItem>(item)) ? m_io : m_terminals;
    CioNode* node = NodeOf(tree, item);
    if (node == nullptr)
        return std::string();
    const CountParseResult result = ParseCount(Utf8ToCp1250(text));
    if (!result.ok)
        return Utf8(result.message);
    node->count = result.value;
    return std::string();
}

void WebCalculator::ClearCounts() {
    if (m_project == nullptr)
        return;
    for (const auto& child : m_project->requestList.children)
        if (auto* node = dynamic_cast<CioNode*>(child.get()))
            node->count = 0;
}

std::string WebCalculator::Request(int level) const {
    json request = {{"level", level},
                    {"counts", json::object()},
                    {"terminals_enabled", json::array()},
                    {"series", json::array()},
                    {"unchecked_devices", json::array()}};
    if (m_project == nullptr)
        return request.dump();
    for (const auto& child : m_project->requestList.children) {
        const auto* node = dynamic_cast<const CioNode*>(child.get());
        if (node == nullptr || node->Kind() == nullptr)
            continue;
        if (node->count > 0)
            request["counts"][Utf8(node->Kind()->name)] = node->count;
    }
    for (const TreeItem item : m_terminals.Children(kNoItem))
        if (const CioNode* node = NodeOf(m_terminals, static_cast<double>(item));
            node != nullptr && node->Kind() != nullptr && (node->flags & FLAG_CHECKED))
            request["terminals_enabled"].push_back(Utf8(node->Kind()->name));
    for (const TreeItem series : m_selection.Children(kNoItem)) {
        const CioType* object = m_selection.GetItemData(series);
        if (object == nullptr || !m_selection.IsChecked(series))
            continue;
        request["series"].push_back(Utf8(object->name));
        for (const TreeItem device : m_selection.Children(series))
            if (const CioType* plc = m_selection.GetItemData(device);
                plc != nullptr && !m_selection.IsChecked(device))
                request["unchecked_devices"].push_back(Utf8(plc->name));
    }
    return request.dump();
}

std::string WebCalculator::ApplyRequest(const std::string& requestJson) {
    if (m_project == nullptr)
        return std::string();
    try {
        ApplySearchRequest(ParseSearchRequest(requestJson), *m_project);
    } catch (const RequestError& e) {
        return e.what();
    }
    // The series tree keeps its own check boxes; the objects now hold the request's.
    auto show = [this](TreeItem item) {
        if (const CioType* object = m_selection.GetItemData(item))
            m_selection.SetChecked(item, (object->flags & FLAG_CHECKED) != 0);
    };
    for (const TreeItem series : m_selection.Children(kNoItem)) {
        show(series);
        for (const TreeItem device : m_selection.Children(series))
            show(device);
    }
    return std::string();
}

std::string WebCalculator::LoadSignalList(const std::string& bytes, const std::string& fileName,
                                          const std::string& map, const std::string& mapName) {
    if (m_project == nullptr || m_project->database == nullptr)
        return json{{"error", "Není načtena databáze."}}.dump();
    SignalImport import;
    try {
        std::optional<KindMap> kinds;
        if (!map.empty())
            kinds = KindMap::Parse(map, mapName, KindIndex(*m_project->database));
        import = ImportSignalList(Bytes(bytes), fileName, *m_project->database, {},
                                  kinds ? &*kinds : nullptr);
        ApplySignalCounts(import, *m_project, fileName);
    } catch (const std::exception& e) {
        return json{{"error", e.what()}}.dump();
    }
    uint64_t signals = 0;
    for (const KindCount& count : import.counts)
        signals += count.count;
    json unmapped = json::array();
    for (const UnmappedType& type : import.unmapped)
        unmapped.push_back({{"type", type.type},
                            {"rows", type.rows.rows},
                            {"count", type.rows.count},
                            {"hints", type.hints}});
    return json{{"sheet", import.sheet},
                {"signals", signals},
                {"unmapped", std::move(unmapped)},
                {"withoutType", RowsJson(import.withoutType)},
                {"leftOut", RowsJson(import.leftOut)}}
        .dump();
}

std::string WebCalculator::HelpMarkup(double item) const {
    const auto handle = static_cast<TreeItem>(item);
    std::string markup;
    for (const MemoryTreeControl* tree : {&m_io, &m_terminals, &m_selection})
        if (const CioType* object = tree->Has(handle) ? tree->GetItemData(handle) : nullptr;
            object != nullptr && object->HasHelp())
            object->GetHelpMarkup(markup);
    return markup;
}

std::string WebCalculator::EquipmentHelpMarkup(const std::string& equipmentJson) const {
    if (m_project == nullptr)
        return std::string();
    const CioDb& database = *m_project->database;
    // The text comes from the page: anything that does not name this catalogue's objects shows
    // no help rather than reaching outside its lists.
    const json equipment = json::parse(equipmentJson, nullptr, false);
    if (!equipment.is_object() || !equipment.contains("device") ||
        !equipment["device"].is_number_unsigned() || !equipment.contains("modules") ||
        !equipment["modules"].is_array())
        return std::string();
    const auto device = equipment["device"].get<size_t>();
    auto* plc = device < database.devices.Count()
                    ? dynamic_cast<CioPlc*>(database.devices.At(device))
                    : nullptr;
    if (plc == nullptr)
        return std::string();
    auto chosen = std::make_unique<CioModuleSelector>();
    for (const json& index : equipment["modules"]) {
        if (!index.is_number_integer())
            return std::string();
        const auto module = index.get<int64_t>();
        chosen->modules.push_back(
            module >= 0 && static_cast<size_t>(module) < database.modules.Count()
                ? dynamic_cast<CioModul*>(database.modules.At(static_cast<size_t>(module)))
                : nullptr);
    }
    CioEquip equip;
    equip.device.object = plc;
    equip.selectors.push_back(std::move(chosen));
    std::string markup;
    equip.GetHelpMarkup(markup);
    return markup;
}

std::string SolveRequest(const std::string& catalogue, const std::string& requestText, int level,
                         const std::function<bool(const std::string&)>& progress) {
    std::unique_ptr<CioProject> project;
    SearchRequest request;
    try {
        project = LoadCatalogueBytes(catalogue);
    } catch (const std::exception& e) {
        return Error(std::string("Soubor nelze načíst:\n") + e.what()).dump();
    }
    try {
        request = ParseSearchRequest(requestText);
        ApplySearchRequest(request, *project);
    } catch (const RequestError& e) {
        return Error(e.what()).dump();
    }
    if (level < 0) {
        const int64_t asked = request.level.value_or(kMinSearchLevel);
        if (asked < kMinSearchLevel || asked > kMaxSearchLevel)
            return Error("level: expected an integer from " + std::to_string(kMinSearchLevel) +
                         " to " + std::to_string(kMaxSearchLevel))
                .dump();
        level = static_cast<int>(asked);
    }

    // The search runs on the caller's thread: the page gives it a Web Worker of its own. The
    // worker object only carries the status texts, which also poll the user's stop.
    RecordingMessenger messenger;
    ManualResetEvent stop;
    CompileRequest compile;
    compile.project = project.get();
    compile.thoroughness = level;
    compile.messenger = &messenger;
    compile.stopEvent = &stop;
    compile.callback = [&](void*, uint32_t message, uintptr_t first, uintptr_t) {
        if (message == WM_TASK_STATE && first != 0 &&
            progress(Utf8(*reinterpret_cast<const std::string*>(first))))
            stop.Set();
    };
    CioCompileThread carrier(&compile);
    compile.thread = &carrier;
    const auto started = std::chrono::steady_clock::now();
    project->Compile(&compile);
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;

    std::string report;
    for (const std::string& text : messenger.texts)
        report += text + "\n";
    report += SolutionsReport(*project);
    json solutions = json::array();
    JsonTable table(*project->database);
    for (size_t i = 0; i < project->children.size(); ++i) {
        project->ShowSolution(&table, static_cast<int>(i));
        solutions.push_back({{"rows", table.rows}});
    }
    return json{{"state", messenger.refused ? "error" : "done"},
                {"report", report},
                {"messages", messenger.texts},
                {"cancelled", stop.IsSet()},
                {"columns", table.columns},
                {"solutions", solutions},
                {"milliseconds", took.count()}}
        .dump();
}

} // namespace pinsum::web
