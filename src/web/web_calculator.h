#pragma once

#include <functional>
#include <memory>
#include <string>

#include "model/memory_tree_control.h"

namespace pinsum {
class CioProject;
} // namespace pinsum

namespace pinsum::web {

// The form's side of the page: the catalogue the user works on, its three trees with the
// desktop's check rules, and the request they make. Texts in and out are UTF-8; structured
// answers are JSON texts, which the page parses.
class WebCalculator {
public:
    WebCalculator();
    ~WebCalculator();

    // Reads a catalogue file's bytes; on success the trees are rebuilt from it and "" is
    // returned, otherwise the Czech message, and the catalogue before stays.
    std::string Load(const std::string& bytes);
    // {"io": [...], "terminals": [...], "series": [...]}, each item with its id and texts.
    std::string Trees() const;
    // Sets a check box of the series-and-devices tree and applies the check rules.
    void SetSelectionChecked(double item, bool checked);
    void SetTerminalChecked(double item, bool checked);
    // Sets a request item's count from the typed text; "" or the message the count dialog shows.
    std::string SetCount(double item, const std::string& text);
    // Zeroes every count, as "Smazat zadání" does.
    void ClearCounts();
    // The request the form states, in the command-line tool's request JSON.
    std::string Request(int level) const;
    // Puts a request file's counts, terminals and series into the form; "" or the message why
    // it does not fit this catalogue, and then the form stays as it was.
    std::string ApplyRequest(const std::string& requestJson);
    // Reads a signal list's bytes (XLSX or CSV), with the map file's when they are not empty,
    // and sets the form's counts from it as the desktop's "Načíst seznam signálů…" does. Answers
    // JSON: {"error": message} when the list or the map cannot be read, and then nothing has
    // changed; otherwise what the list held besides the signals counted: {"sheet", "signals",
    // "unmapped": [{"type", "rows", "count", "hints"}], "withoutType": {"rows", "count"},
    // "leftOut": {"rows", "count"}}.
    std::string LoadSignalList(const std::string& bytes, const std::string& fileName,
                               const std::string& map, const std::string& mapName);
    // The help of a tree item in Windows-1250 display mark-up, "" when it has none.
    std::string HelpMarkup(double item) const;
    // The help of a result row's device with its modules, from the row's "equipment" in JSON as
    // SolveRequest gives it, in Windows-1250 display mark-up; "" when it names no device here.
    std::string EquipmentHelpMarkup(const std::string& equipmentJson) const;

private:
    std::unique_ptr<CioProject> m_project;
    MemoryTreeControl m_io;
    MemoryTreeControl m_terminals;
    MemoryTreeControl m_selection;
};

// Loads a catalogue file's bytes as the calculator does; throws EngineError with the Czech
// reason when they are not a catalogue.
std::unique_ptr<CioProject> LoadCatalogueBytes(const std::string& bytes);

// Runs the search of a request JSON on a catalogue, as `pinsum solve` does, and returns
// {"state": "done"|"error", "report": ..., "solutions": [...], "milliseconds": ...}: the report is
// the tool's text output, or the message when the request is refused or cannot be read.
// progress receives the status texts and answers whether the user asked to stop.
std::string SolveRequest(const std::string& catalogue, const std::string& request, int level,
                         const std::function<bool(const std::string&)>& progress);

} // namespace pinsum::web
