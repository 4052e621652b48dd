#pragma once

#include <optional>
#include <string>

#include "bill/bill.h"

namespace pinsum {
class CioProject;
} // namespace pinsum

namespace pinsum::cli {

enum class OutputFormat { Text, Json, Csv, Xlsx, Pdf };

// The value of --format; none given means text. Throws CliError for another word.
OutputFormat ParseOutputFormat(const std::optional<std::string>& text);

// Whether the format is a file of its own (XLSX, PDF), written to --output, not to stdout.
bool IsFileFormat(OutputFormat format);

// Which solutions a bill of materials covers: one by its number, or all of them.
struct SolutionChoice {
    std::optional<int> number; // none: all
    bool given = false;        // named on the command line, so it must exist
};

// The value of --solution: a number from 1 or "all"; none given means solution 1. Only the bills
// (CSV, XLSX) and the quotation (PDF) take it: with another format it is a CliError.
SolutionChoice ParseSolutionChoice(const std::optional<std::string>& text, OutputFormat format);

// The solutions a bill lists. Throws CliError for a solution number given on the command line
// that the project does not have.
BillSelection ChosenSolutions(const CioProject& project, const SolutionChoice& choice);

// The solutions as the JSON form of docs/solutions-json.md, with the search's message (UTF-8)
// or null where there is none, as for a planner file.
std::string SolutionsJson(const CioProject& project, const std::optional<std::string>& message);

// The bill of materials of the chosen solutions as RFC 4180 CSV in UTF-8: a header row, then per
// solution its devices and modules (quantities summed per item) and a total row. Throws
// CliError for a solution number given on the command line that the project does not have.
std::string BillOfMaterialsCsv(const CioProject& project, const SolutionChoice& choice);

} // namespace pinsum::cli
