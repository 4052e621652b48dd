#include "model/catalogue_file.h"

#include "host/file_io.h"
#include "model/archive.h"
#include "model/cio_db.h"
#include "model/cio_equip.h"
#include "model/cio_line.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"

#include <typeinfo>

namespace pinsum {

const char* const kDatabaseMagic = "PINSUM-DATABASE-VERSION-1.0\n";
const char* const kPlannerMagic = "PINSUM-PLANNER-VERSION-1.0\n";

namespace {

template <class Child> bool AllOf(const CioArray& list) {
    for (const auto& child : list.children) {
        const CioType& object = *child;
        if (typeid(object) != typeid(Child))
            return false;
    }
    return true;
}

template <class Child> bool AllOfWithVariants(const CioArray& list) {
    for (const auto& child : list.children) {
        const CioType& object = *child;
        if (typeid(object) != typeid(Child) ||
            !AllOf<CioVariant>(static_cast<const CioArray&>(object)))
            return false;
    }
    return true;
}

// Every list holds the class it is for; a file that puts, say, a device among the series is
// damaged, and accepting it would leave objects where no operation expects them.
void CheckShape(ArchiveReader& ar, const CioDb& db) {
    if (!AllOf<CioType>(db.ioKinds) || !AllOfWithVariants<CioModul>(db.modules) ||
        !AllOfWithVariants<CioPlc>(db.devices) || !AllOf<CioLine>(db.seriesList))
        ar.Fail(ArchiveCause::BadIndex, "objekt na nečekaném místě databáze");
}

void CheckShape(ArchiveReader& ar, const CioProject& project) {
    if (project.database != nullptr)
        CheckShape(ar, *project.database);
    bool ok = AllOf<CioSolution>(project) && AllOf<CioNode>(project.requestList);
    for (const auto& solution : project.children)
        ok = ok && AllOf<CioEquip>(static_cast<const CioArray&>(*solution));
    if (!ok)
        ar.Fail(ArchiveCause::BadIndex, "objekt na nečekaném místě projektu");
}

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
    if (ar.ReadText() != magic)
        return false;
    if (ar.ReadInt32() == 0)
        return true;
    std::unique_ptr<CioType> object = ReadObject(ar);
    if (dynamic_cast<Root*>(object.get()) == nullptr)
        ar.Fail(ArchiveCause::BadIndex, std::string("kořenový objekt není ") + what);
    root.reset(static_cast<Root*>(object.release()));
    CheckShape(ar, *root);
    root->ResolveRefs(ar.identities);
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

void SaveDatabaseFile(const std::string& path, const CioDb* root) {
    ArchiveWriter writer;
    StoreDatabaseFile(writer, root);
    WriteFileAtomic(path, writer.Bytes());
}

void SavePlannerFile(const std::string& path, CioProject& project) {
    ArchiveWriter writer;
    StorePlannerFile(writer, &project);
    WriteFileAtomic(path, writer.Bytes());
}

} // namespace pinsum
