// The catalogue file reader on arbitrary bytes, and what the calculator does with a catalogue it
// has read: count the points, copy it, store it and read the result again.
#include <cstdlib>

#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "reader_fuzzing.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CioDb> db;
    if (!fuzz::ReadFile(data, size, LoadDatabaseFile, db))
        return 0;
    if (db != nullptr)
        db->CountPoints();
    ArchiveWriter stored;
    StoreDatabaseFile(stored, db.get());

    // The copy must not keep a pointer into its source, which is gone before the copy is stored.
    if (db != nullptr) {
        auto copy = std::make_unique<CioDb>();
        copy->CopyFrom(db.get());
        db.reset();
        ArchiveWriter copied;
        StoreDatabaseFile(copied, copy.get());
    }

    std::unique_ptr<CioDb> again;
    fuzz::ReadFile(stored.Bytes().data(), stored.Bytes().size(), LoadDatabaseFile, again);
    return 0;
}
