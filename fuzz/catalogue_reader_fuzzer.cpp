// The catalogue file reader on arbitrary bytes, and what the calculator does with a catalogue it
// has read: count the points, copy it, store it and read the result again. A catalogue it has read
// must store bytes that read back and store the same bytes again.
#include <cstdlib>

#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "reader_fuzzing.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CioDb> db;
    fuzz::RestartIdentities();
    if (!fuzz::ReadFile(data, size, LoadDatabaseFile, db))
        return 0;
    if (db != nullptr)
        db->CountPoints();
    ArchiveWriter stored;
    StoreDatabaseFile(stored, db.get());
    if (db != nullptr) {
        std::unique_ptr<CioDb> reread;
        fuzz::RestartIdentities();
        if (!fuzz::ReadFile(stored.Bytes().data(), stored.Bytes().size(), LoadDatabaseFile,
                            reread) ||
            reread == nullptr)
            fuzz::Abort("a stored catalogue does not read back");
        reread->CountPoints();
        ArchiveWriter restored;
        StoreDatabaseFile(restored, reread.get());
        if (restored.Bytes() != stored.Bytes())
            fuzz::Abort("a stored catalogue read back stores other bytes");
    }

    // The copy must not keep a pointer into its source, which is gone before the copy is stored.
    if (db != nullptr) {
        auto copy = std::make_unique<CioDb>();
        copy->CopyFrom(db.get());
        db.reset();
        ArchiveWriter copied;
        StoreDatabaseFile(copied, copy.get());
    }
    return 0;
}
