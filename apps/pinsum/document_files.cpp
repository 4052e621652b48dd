#include "document_files.h"

#include "command.h"
#include "host/file_io.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "model/cio_project.h"
#include "stderr_messenger.h"

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
std::unique_ptr<Root> LoadDocument(const std::string& path, const char* magic, const char* kind,
                                   void (*load)(ArchiveReader&, std::unique_ptr<Root>&)) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    if (!HasMagic(bytes, magic))
        throw CliError(path + ": not a " + kind + " file");
    ArchiveReader reader(bytes, path);
    StderrMessenger messenger;
    reader.messenger = &messenger;
    std::unique_ptr<Root> root;
    load(reader, root);
    return root;
}

} // namespace

std::unique_ptr<CioDb> LoadCatalogue(const std::string& path) {
    return LoadDocument<CioDb>(path, kDatabaseMagic, "catalogue", LoadDatabaseFile);
}

std::unique_ptr<CioDb> LoadCatalogueDatabase(const std::string& path) {
    std::unique_ptr<CioDb> db = LoadCatalogue(path);
    if (db == nullptr)
        throw CliError(path + ": the catalogue file holds no database");
    return db;
}

std::unique_ptr<CioProject> LoadPlannerProject(const std::string& path) {
    std::unique_ptr<CioProject> project =
        LoadDocument<CioProject>(path, kPlannerMagic, "planner", LoadPlannerFile);
    if (project == nullptr)
        throw CliError(path + ": the planner file holds no project");
    return project;
}

void SaveCatalogue(const std::string& path, const CioDb* db) {
    SaveDatabaseFile(path, db);
}

} // namespace pinsum::cli
