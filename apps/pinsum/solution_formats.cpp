#include "solution_formats.h"

#include <charconv>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "bill/bill.h"
#include "command.h"
#include "host/input_quote.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "model/cio_variant.h"
#include "model/currency.h"
#include "model/object_stream.h"
#include "translation.h"

namespace pinsum::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kJsonFormat = "pinsum-solutions";
constexpr int kJsonVersion = 1;

std::string Utf8(const std::string& cp1250) {
    return Cp1250ToUtf8(cp1250);
}

template <class Map> Json PointList(const Map& counts) {
    Json list = Json::array();
    for (const auto& [kind, count] : counts)
        if (kind != nullptr)
            list.push_back({{"kind", Utf8(kind->name)}, {"count", count}});
    return list;
}

Json ConfigurationJson(const CioModuleSelector& chosen) {
    Json positions = Json::array();
    for (const auto& [index, module] : PlacedModules(chosen)) {
        const auto* variant = index < chosen.variants.size()
                                  ? dynamic_cast<const CioVariant*>(chosen.variants[index])
                                  : nullptr;
        const KindCountMap* assigned =
            index < chosen.positionMaps.size() ? chosen.positionMaps[index].get() : nullptr;
        positions.push_back(
            {{"position", index + 1},
             {"marking", Utf8(module->marking)},
             {"name", Utf8(module->name)},
             {"points", variant != nullptr ? PointList(variant->kindCounts) : Json::array()},
             {"assigned", assigned != nullptr ? PointList(*assigned) : Json::array()}});
    }
    return positions;
}

Json EquipmentJson(const CioEquip& equip) {
    const CioPlc* device = equip.Device();
    const CioModuleSelector* chosen = equip.Chosen();
    return {{"device", device != nullptr ? Utf8(device->name) : ""},
            {"marking", device != nullptr ? Utf8(device->marking) : ""},
            {"label", Utf8(equip.GetText())},
            {"price", PriceText(EquipmentPrice(equip))},
            {"configuration", chosen != nullptr ? ConfigurationJson(*chosen) : Json::array()}};
}

Json SolutionJson(const CioSolution& solution) {
    Json equipment = Json::array();
    int64_t price = 0;
    for (size_t i = 0; i < solution.Count(); ++i)
        if (const CioEquip* equip = solution.Equipment(i)) {
            equipment.push_back(EquipmentJson(*equip));
            price += EquipmentPrice(*equip);
        }
    Json missing = Json::array();
    for (const auto& item : solution.remaining)
        if (item->count != 0)
            missing.push_back(
                {{"kind", item->Kind() != nullptr ? Utf8(item->Kind()->name) : "????"},
                 {"count", item->count}});
    return {{"number", solution.number},
            {"price", PriceText(price)},
            {"used_io", solution.GetIoCount(true)},
            {"unused_io", solution.GetIoCount(false)},
            {"complete", solution.IsComplete() != 0},
            {"proven_cheapest", solution.provenCheapest},
            {"equipment", std::move(equipment)},
            {"missing", std::move(missing)}};
}

// RFC 4180: a field with a comma, a quote or a line break is quoted, its quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// A cell a spreadsheet would take for a formula (=, +, - or @ first, or a tab or a carriage
// return) is written as a formula of its text alone, ="-DX16", which spreadsheets show as that
// text and which can run nothing: a name "=HYPERLINK(...)" stays a name, and a marking "-DX16"
// still reads "-DX16", which a leading apostrophe would not in every spreadsheet.
std::string SpreadsheetText(const std::string& text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos)
        return text;
    std::string formula = "=\"";
    for (char c : text)
        formula += c == '"' ? std::string("\"\"") : std::string(1, c);
    return formula + "\"";
}

void CsvRow(std::string& out, const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i)
        out += (i == 0 ? "" : ",") + CsvField(SpreadsheetText(fields[i]));
    out += "\r\n";
}

void AddBillRows(std::string& out, const BillSolution& solution) {
    const std::string number = std::to_string(solution.number);
    for (const BillLine& line : solution.lines)
        CsvRow(out, {number, line.item == BillLine::Item::Device ? "device" : "module",
                     line.marking, line.name, std::to_string(line.quantity),
                     PriceText(line.unitPrice), PriceText(line.linePrice)});
    CsvRow(out, {number, "total", "", "", "", "", PriceText(solution.total)});
}

} // namespace

OutputFormat ParseOutputFormat(const std::optional<std::string>& text) {
    if (!text || *text == "text")
        return OutputFormat::Text;
    if (*text == "json")
        return OutputFormat::Json;
    if (*text == "csv")
        return OutputFormat::Csv;
    if (*text == "xlsx")
        return OutputFormat::Xlsx;
    if (*text == "pdf")
        return OutputFormat::Pdf;
    throw CliError("--format: " + FormatText(Tr("expected text, json, csv, xlsx or pdf, not %s"),
                                             {QuoteInput(*text)}));
}

bool IsFileFormat(OutputFormat format) {
    return format == OutputFormat::Xlsx || format == OutputFormat::Pdf;
}

SolutionChoice ParseSolutionChoice(const std::optional<std::string>& text, OutputFormat format) {
    if (!text)
        return {1, false};
    if (format != OutputFormat::Csv && !IsFileFormat(format))
        throw CliError(std::string("--solution: ") +
                       Tr("only --format csv, xlsx or pdf lists single solutions"));
    if (*text == "all")
        return {std::nullopt, true};
    int number = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
    if (error != std::errc() || end != text->data() + text->size() || number < 1)
        throw CliError("--solution: " +
                       FormatText(Tr("expected a solution number from 1 or 'all', not %s"),
                                  {QuoteInput(*text)}));
    return {number, true};
}

std::string SolutionsJson(const CioProject& project, const std::optional<std::string>& message) {
    Json solutions = Json::array();
    for (const CioSolution* solution : ProjectSolutions(project))
        solutions.push_back(SolutionJson(*solution));
    const Json document = {{"format", kJsonFormat},
                           {"version", kJsonVersion},
                           {"message", message ? Json(*message) : Json(nullptr)},
                           {"solutions", std::move(solutions)}};
    return document.dump(2) + "\n";
}

BillSelection ChosenSolutions(const CioProject& project, const SolutionChoice& choice) {
    if (!choice.number)
        return {};
    const size_t index = static_cast<size_t>(*choice.number) - 1;
    const size_t count = ProjectSolutions(project).size();
    if (index >= count && choice.given)
        throw CliError("--solution: " + FormatText(Tr("there is no solution %d (there are %d)"),
                                                   {*choice.number, count}));
    return {index};
}

std::string BillOfMaterialsCsv(const CioProject& project, const SolutionChoice& choice) {
    std::string out;
    CsvRow(out, {"solution", "item", "marking", "name", "quantity", "unit_price", "line_price"});
    for (const BillSolution& solution :
         MakeBill(project, ChosenSolutions(project, choice)).solutions)
        AddBillRows(out, solution);
    return out;
}

} // namespace pinsum::cli
