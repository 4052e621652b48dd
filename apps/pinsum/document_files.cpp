#include "document_files.h"

#include <filesystem>

#include "command.h"
#include "host/file_io.h"
#include "host/input_quote.h"
#include "host/program_folders.h"
#include "host/program_texts.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "model/cio_project.h"
#include "stderr_messenger.h"
#include "translation.h"

namespace pinsum::cli {
namespace {

// Whether the file's first text is the magic; the loaders take any other file silently as empty.
bool HasMagic(const std::vector<uint8_t>& bytes, const char* magic) {
    ArchiveReader reader(bytes);
    try {
        return reader.ReadText() == magic;
    } catch (const ArchiveError&) {
        return false;
    }
}

// Reads a file of one kind: its magic must match, duplicate identities are warned about.
template <class Root>
std::unique_ptr<Root> LoadDocument(const std::string& path, const char* magic,
                                   const char* notOfKind,
                                   void (*load)(ArchiveReader&, std::unique_ptr<Root>&)) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    if (!HasMagic(bytes, magic))
        throw CliError(path + ": " + Tr(notOfKind));
    ArchiveReader reader(bytes, path);
    StderrMessenger messenger;
    reader.messenger = &messenger;
    std::unique_ptr<Root> root;
    load(reader, root);
    return root;
}

constexpr const char* kDefaultCatalogue = "iodb.pp";

// A catalogue given on the command line is taken as it is; only the default one is looked for in
// the data folders.
std::string CataloguePath(const std::optional<std::string>& given) {
    if (given) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(*given, error))
            throw CliError(*given + ": " + Tr("no such catalogue file"));
        return std::filesystem::absolute(*given).string();
    }
    const std::optional<std::string> found = FindDataFile(kDefaultCatalogue);
    if (!found)
        throw CliError(FormatText(Tr("%s not found in the program folder %s or its PROJECT folder "
                                     "(give --catalogue FILE)"),
                                  {kDefaultCatalogue, ProgramFolder()}));
    return *found;
}

} // namespace

std::unique_ptr<CioDb> LoadCatalogue(const std::string& path) {
    return LoadDocument<CioDb>(path, kDatabaseMagic, N_("not a catalogue file"), LoadDatabaseFile);
}

std::unique_ptr<CioDb> LoadCatalogueDatabase(const std::string& path) {
    std::unique_ptr<CioDb> db = LoadCatalogue(path);
    if (db == nullptr)
        throw CliError(path + ": " + Tr("the catalogue file holds no database"));
    return db;
}

std::unique_ptr<CioProject> LoadPlannerProject(const std::string& path) {
    std::unique_ptr<CioProject> project =
        LoadDocument<CioProject>(path, kPlannerMagic, N_("not a planner file"), LoadPlannerFile);
    if (project == nullptr)
        throw CliError(path + ": " + Tr("the planner file holds no project"));
    return project;
}

std::unique_ptr<CioProject> LoadCalculatorProject(const std::optional<std::string>& catalogue) {
    const std::string path = CataloguePath(catalogue);
    const std::string& shown = catalogue ? *catalogue : path;
    auto project = std::make_unique<CioProject>();
    StderrMessenger messenger;
    std::string error;
    if (!project->LoadDatabase(&path, &messenger, nullptr, &error))
        throw CliError(error.find(path) != std::string::npos ? error : shown + ": " + error);
    if (project->database == nullptr)
        throw CliError(shown + ": " + Tr("no catalogue database in the file"));
    return project;
}

void SaveCatalogue(const std::string& path, const CioDb* db) {
    SaveDatabaseFile(path, db);
}

} // namespace pinsum::cli
