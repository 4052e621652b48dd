#include "model/catalogue_file.h"

#include "model/archive.h"
#include "model/cio_db.h"
#include "model/cio_project.h"
#include "model/object_stream.h"

namespace pinsum {

const char* const kDatabaseMagic = "PINSUM-DATABASE-VERSION-1.0\n";
const char* const kPlannerMagic = "PINSUM-PLANNER-VERSION-1.0\n";

namespace {

template <class Root> void StoreFile(ArchiveWriter& ar, const char* magic, const Root* root) {
    ar.WriteText(magic);
    ar.WriteInt32(root != nullptr ? 1 : 0);
    if (root != nullptr)
        WriteObject(ar, root);
    ar.WriteInt32(0);
}

// Reads magic, present flag and root object; false for a different magic, which is no error.
template <class Root>
bool LoadRoot(ArchiveReader& ar, const char* magic, const char* what, std::unique_ptr<Root>& root) {
    ResetRegistry();
    if (ar.ReadText() != magic)
        return false;
    if (ar.ReadInt32() == 0)
        return true;
    std::unique_ptr<CioType> object = ReadObject(ar);
    if (dynamic_cast<Root*>(object.get()) == nullptr)
        ar.Fail(ArchiveCause::BadIndex, std::string("kořenový objekt není ") + what);
    root.reset(static_cast<Root*>(object.release()));
    root->ResolveRefs();
    root->RenewIds();
    return true;
}

} // namespace

void StoreDatabaseFile(ArchiveWriter& ar, const CioDb* root) {
    StoreFile(ar, kDatabaseMagic, root);
}

void LoadDatabaseFile(ArchiveReader& ar, std::unique_ptr<CioDb>& root) {
    root.reset();
    std::unique_ptr<CioDb> loaded;
    if (!LoadRoot(ar, kDatabaseMagic, "databáze", loaded))
        return;
    if (loaded != nullptr)
        loaded->ComputeTotals();
    ar.ReadInt32();
    root = std::move(loaded);
}

void StorePlannerFile(ArchiveWriter& ar, CioProject* project) {
    if (project != nullptr)
        project->RenewIds();
    StoreFile(ar, kPlannerMagic, project);
}

void LoadPlannerFile(ArchiveReader& ar, std::unique_ptr<CioProject>& project) {
    project.reset();
    std::unique_ptr<CioProject> loaded;
    if (!LoadRoot(ar, kPlannerMagic, "projekt", loaded))
        return;
    if (loaded != nullptr && loaded->database != nullptr)
        loaded->database->CountPoints();
    ar.ReadInt32();
    project = std::move(loaded);
}

} // namespace pinsum
