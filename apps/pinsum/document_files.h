#pragma once

#include <memory>
#include <optional>
#include <string>

namespace pinsum {
class CioDb;
class CioProject;
} // namespace pinsum

namespace pinsum::cli {

// The database of a catalogue file; none for a catalogue file written without one. Throws
// CliError for a file of another kind and the archive's error for a damaged one.
std::unique_ptr<CioDb> LoadCatalogue(const std::string& path);
// As LoadCatalogue, but a file without a database is an error too.
std::unique_ptr<CioDb> LoadCatalogueDatabase(const std::string& path);
// The project of a planner file; a file of another kind or without a project is an error.
std::unique_ptr<CioProject> LoadPlannerProject(const std::string& path);

// A calculation on the catalogue as the calculator starts it: the given catalogue file, or
// iodb.pp found in the data folders. Throws CliError when there is none or it cannot be loaded.
std::unique_ptr<CioProject> LoadCalculatorProject(const std::optional<std::string>& catalogue);

// Writes the catalogue file so that a failed write leaves the old file whole.
void SaveCatalogue(const std::string& path, const CioDb* db);

} // namespace pinsum::cli
