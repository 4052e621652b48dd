#include "update/database_install.h"

#include <memory>
#include <vector>

#include "host/file_io.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"

namespace pinsum {

bool IsReadableCatalogue(const std::string& path, std::string* problem) {
    std::string why;
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(path);
        ArchiveReader reader(bytes, path);
        reader.progress = nullptr;
        std::unique_ptr<CioDb> database;
        LoadDatabaseFile(reader, database);
        if (database != nullptr)
            return true;
        why = "the file holds no catalogue";
    } catch (const EngineError& e) {
        why = e.what();
    }
    if (problem != nullptr)
        *problem = "the file is not a catalogue: " + why;
    return false;
}

} // namespace pinsum
