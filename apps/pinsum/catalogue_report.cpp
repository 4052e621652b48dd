#include "catalogue_report.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "host/input_quote.h"
#include "host/text_codec.h"
#include "model/catalogue_json.h"
#include "model/catalogue_json_common.h"
#include "model/cio_db.h"
#include "model/cio_equip.h"
#include "model/cio_line.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"
#include "translation.h"

namespace pinsum {
namespace {

using catalogue_json::References;

// A name of the catalogue as the report shows it: UTF-8, control characters escaped.
std::string Shown(const std::string& cp1250) {
    return ShowControls(Cp1250ToUtf8(cp1250));
}

std::string Quoted(const std::string& cp1250) {
    return "\"" + Shown(cp1250) + "\"";
}

std::string Join(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

// A computed total: whole units, with decimals only where there are any.
std::string Amount(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    std::string text = buffer;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

std::string Named(int32_t value, const catalogue_json::EnumNames& names, const char* field) {
    if (value == 0 || value == 1)
        return names[static_cast<size_t>(value)];
    return std::string(field) + " " + std::to_string(value);
}

class CatalogueWriter {
public:
    explicit CatalogueWriter(const CioDb& db) : m_db(db), m_refs(db) {}

    std::string Run();

private:
    void Line(int indent, const std::string& text) {
        m_text.append(static_cast<size_t>(indent) * 2, ' ').append(text).append("\n");
    }
    void Heading(const char* title, const CioArray& list);
    void Kind(const CioType& kind);
    void Module(const CioModul& module);
    void Variant(const CioVariant& variant, int indent, const std::string& title);
    void Series(const CioType& series);
    void Device(const CioPlc& device);
    std::string Ref(std::string ref, const CioType* object) const;
    std::string Points(const CioVariant& variant) const;
    std::string Modules(const CioVariant& position) const;
    std::string Rules(const CioVariant& variant) const;
    std::string Lines(const CioPlc& device) const;

    const CioDb& m_db;
    const References m_refs;
    std::string m_text;
};

std::string CatalogueWriter::Run() {
    Line(0, cli::Tr("Catalogue ") + Quoted(m_db.name));
    Heading(cli::N_("IO kinds"), m_db.ioKinds);
    for (size_t i = 0; i < m_db.ioKinds.Count(); ++i)
        Kind(*m_db.ioKinds.At(i));
    Heading(cli::N_("Modules"), m_db.modules);
    for (size_t i = 0; i < m_db.modules.Count(); ++i)
        if (const auto* module = dynamic_cast<const CioModul*>(m_db.modules.At(i)))
            Module(*module);
    Heading(cli::N_("Series"), m_db.seriesList);
    for (size_t i = 0; i < m_db.seriesList.Count(); ++i)
        Series(*m_db.seriesList.At(i));
    Heading(cli::N_("Devices"), m_db.devices);
    for (size_t i = 0; i < m_db.devices.Count(); ++i)
        if (const auto* device = dynamic_cast<const CioPlc*>(m_db.devices.At(i)))
            Device(*device);
    return m_text;
}

void CatalogueWriter::Heading(const char* title, const CioArray& list) {
    m_text += "\n";
    Line(0, cli::Tr(title) + std::string(" (") + std::to_string(list.Count()) + ")");
}

void CatalogueWriter::Kind(const CioType& kind) {
    std::vector<std::string> fields = {
        Named(kind.Category(), catalogue_json::kCategoryNames, "category")};
    if (kind.flags & FLAG_REQUIRED)
        fields.emplace_back("required");
    if (kind.HasHelp())
        fields.emplace_back("help");
    Line(1, Shown(kind.name) + ": " + Join(fields));
}

void CatalogueWriter::Module(const CioModul& module) {
    int points = 0;
    for (size_t i = 0; i < module.Count(); ++i)
        if (const auto* variant = dynamic_cast<const CioVariant*>(module.At(i)))
            points = std::max(points, static_cast<int>(variant->entries.size()));
    std::vector<std::string> fields = {"price " + FormatPrice(module.listPrice),
                                       "marking " + Quoted(module.marking),
                                       std::to_string(points) + " IO"};
    if (module.HasHelp())
        fields.emplace_back("help");
    Line(1, Shown(module.name) + ": " + Join(fields));
    for (size_t i = 0; i < module.Count(); ++i)
        if (const auto* variant = dynamic_cast<const CioVariant*>(module.At(i)))
            Variant(*variant, 2, "variant " + Quoted(variant->name) + ": " + Points(*variant));
}

void CatalogueWriter::Variant(const CioVariant& variant, int indent, const std::string& title) {
    Line(indent, title);
    if (!variant.rules.entries.empty())
        Line(indent + 1, "rules: " + Rules(variant));
}

void CatalogueWriter::Series(const CioType& series) {
    std::vector<std::string> fields;
    if (series.flags & FLAG_DEFAULT)
        fields.emplace_back("default");
    if (series.flags & FLAG_EXCLUSIVE)
        fields.emplace_back("exclusive");
    if (series.HasHelp())
        fields.emplace_back("help");
    Line(1, Shown(series.name) + (fields.empty() ? "" : ": " + Join(fields)));
}

void CatalogueWriter::Device(const CioPlc& device) {
    const CioLine* series = device.series.object;
    Line(1, Shown(device.name) + ": " +
                Join({Named(device.deviceType, catalogue_json::kTypeNames, "type"),
                      Named(device.ioSpeed, catalogue_json::kSpeedNames, "speed") + " speed",
                      Named(device.control, catalogue_json::kControlNames, "control") + " control",
                      series != nullptr ? "series " + Quoted(Ref(m_refs.SeriesRef(series), series))
                                        : "no series",
                      Lines(device)}));
    Line(2, Join({"price " + FormatPrice(device.listPrice), "marking " + Quoted(device.marking),
                  "max price " + Amount(device.price),
                  "capacity " + std::to_string(device.ioCount) + " IO"}));
    for (size_t i = 0; i < device.Count(); ++i)
        if (const auto* position = dynamic_cast<const CioVariant*>(device.At(i)))
            Variant(*position, 2, "position " + std::to_string(i + 1) + ": " + Modules(*position));
}

// The JSON form's reference, or the plain name of an object outside the lists.
std::string CatalogueWriter::Ref(std::string ref, const CioType* object) const {
    return ref.empty() ? object->name : ref;
}

std::string CatalogueWriter::Points(const CioVariant& variant) const {
    std::vector<std::string> runs;
    const auto& entries = variant.entries;
    for (size_t i = 0; i < entries.size();) {
        size_t end = i + 1;
        while (end < entries.size() && entries[end] == entries[i])
            ++end;
        if (entries[i] != nullptr)
            runs.push_back(std::to_string(end - i) + " x " +
                           Shown(Ref(m_refs.KindRef(entries[i]), entries[i])));
        i = end;
    }
    return runs.empty() ? "no points" : Join(runs);
}

std::string CatalogueWriter::Modules(const CioVariant& position) const {
    std::vector<std::string> modules;
    for (const CioType* module : position.entries)
        if (module != nullptr)
            modules.push_back(Shown(Ref(m_refs.ModuleRef(module), module)));
    return modules.empty() ? "no modules" : Join(modules);
}

std::string CatalogueWriter::Rules(const CioVariant& variant) const {
    std::vector<std::string> rules;
    for (const CioType* rule : variant.rules.entries)
        if (rule != nullptr)
            rules.push_back(Shown(Ref(m_refs.VariantRef(rule), rule)));
    return Join(rules);
}

std::string CatalogueWriter::Lines(const CioPlc& device) const {
    std::vector<std::string> lines;
    for (const CioType* line : device.lines.entries)
        if (line != nullptr)
            lines.push_back(Shown(line->name));
    return lines.empty() ? "no lines" : "lines " + Join(lines);
}

class ProjectWriter {
public:
    explicit ProjectWriter(const CioProject& project) : m_project(project) {}

    std::string Run();

private:
    void Line(int indent, const std::string& text) {
        m_text.append(static_cast<size_t>(indent) * 2, ' ').append(text).append("\n");
    }
    void Catalogue();
    void Request();
    void Series();
    void Solution(const CioSolution& solution);
    void Equipment(const CioEquip& equipment);
    std::string Remaining(const CioSolution& solution) const;

    const CioProject& m_project;
    std::string m_text;
};

std::string ProjectWriter::Run() {
    Line(0, cli::Tr("Project ") + Quoted(m_project.name));
    Catalogue();
    Request();
    Series();
    m_text += "\n";
    Line(0, cli::Tr("Solutions") + std::string(" (") + std::to_string(m_project.Count()) + ")");
    for (size_t i = 0; i < m_project.Count(); ++i)
        if (const auto* solution = dynamic_cast<const CioSolution*>(m_project.At(i)))
            Solution(*solution);
    return m_text;
}

void ProjectWriter::Catalogue() {
    const CioDb* db = m_project.database.get();
    if (db == nullptr) {
        Line(0, cli::Tr("No catalogue"));
        return;
    }
    Line(0, cli::Tr("Catalogue ") + Quoted(db->name) + ": " +
                Join({std::to_string(db->ioKinds.Count()) + " IO kinds",
                      std::to_string(db->modules.Count()) + " modules",
                      std::to_string(db->seriesList.Count()) + " series",
                      std::to_string(db->devices.Count()) + " devices"}));
}

void ProjectWriter::Request() {
    m_text += "\n";
    Line(0, cli::Tr("Request"));
    for (size_t i = 0; i < m_project.requestList.Count(); ++i) {
        const CioType* item = m_project.requestList.At(i);
        Line(1, std::string(item->flags & FLAG_CHECKED ? "[x] " : "[ ] ") + Shown(item->GetText()));
    }
}

void ProjectWriter::Series() {
    m_text += "\n";
    Line(0, cli::Tr("Series checked for the design"));
    size_t checked = 0;
    for (const CioType* series : m_project.seriesSelection.entries)
        if (series != nullptr && (series->flags & FLAG_CHECKED)) {
            Line(1, Shown(series->name));
            ++checked;
        }
    if (checked == 0)
        Line(1, cli::Tr("none"));
}

void ProjectWriter::Solution(const CioSolution& solution) {
    Line(1, "Solution " + std::to_string(solution.number) + ": price " + Amount(solution.price) +
                (solution.canExtend ? ", can extend" : ", cannot extend"));
    for (size_t i = 0; i < solution.Count(); ++i)
        if (const auto* equipment = dynamic_cast<const CioEquip*>(solution.At(i)))
            Equipment(*equipment);
    Line(2, "remaining: " + Remaining(solution));
}

void ProjectWriter::Equipment(const CioEquip& equipment) {
    Line(2, Shown(equipment.GetText()));
    const CioModuleSelector* chosen = equipment.Chosen();
    if (chosen == nullptr)
        return;
    for (size_t i = 0; i < chosen->modules.size(); ++i) {
        const CioModul* module = chosen->modules[i];
        const CioType* variant = i < chosen->variants.size() ? chosen->variants[i] : nullptr;
        std::string text = module != nullptr ? Shown(module->name) : "none";
        if (module != &EmptyModule() && variant != nullptr)
            text += " / " + Shown(variant->name);
        Line(3, "position " + std::to_string(i + 1) + ": " + text);
    }
}

std::string ProjectWriter::Remaining(const CioSolution& solution) const {
    std::vector<std::string> items;
    for (const auto& item : solution.remaining)
        if (item != nullptr && item->count != 0)
            items.push_back(Shown(item->GetText()));
    return items.empty() ? "nothing" : Join(items);
}

} // namespace

std::string CatalogueReport(const CioDb& db) {
    return CatalogueWriter(db).Run();
}

std::string ProjectReport(const CioProject& project) {
    return ProjectWriter(project).Run();
}

} // namespace pinsum
