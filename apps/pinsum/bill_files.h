#pragma once

#include <optional>
#include <string>

#include "solution_formats.h"

namespace pinsum {
class CioProject;
} // namespace pinsum

namespace pinsum::cli {

// --output names the file of an XLSX or PDF format and is refused with the others, whose text
// goes to stdout. Throws CliError.
void CheckOutput(OutputFormat format, const std::optional<std::string>& output);

// Writes the XLSX bill or the PDF quotation (dated today) of the chosen solutions to the file.
// Throws CliError for a solution number the project does not have, EngineError for a failed
// write.
void WriteBillFile(const CioProject& project, OutputFormat format, const SolutionChoice& choice,
                   const std::string& output);

} // namespace pinsum::cli
