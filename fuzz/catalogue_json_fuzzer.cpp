// Whatever the catalogue reader accepts, the JSON form takes: the catalogue exports, the JSON
// imports, and the imported catalogue exports the same JSON. An export or import error escapes to
// the fuzzer as a finding.
#include <cstdlib>

#include "model/catalogue_file.h"
#include "model/catalogue_json.h"
#include "model/cio_db.h"
#include "reader_fuzzing.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CioDb> db;
    if (!fuzz::ReadFile(data, size, LoadDatabaseFile, db) || db == nullptr)
        return 0;
    const CatalogueJson json = CatalogueToJson(*db);
    const std::unique_ptr<CioDb> imported = CatalogueFromJson(json);
    if (CatalogueToJson(*imported) != json)
        std::abort();
    return 0;
}
