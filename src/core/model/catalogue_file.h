#pragma once

#include <memory>
#include <string>

namespace pinsum {

class ArchiveReader;
class ArchiveWriter;
class CioDb;
class CioProject;

extern const char* const kDatabaseMagic; // "PINSUM-DATABASE-VERSION-1.0\n"
extern const char* const kPlannerMagic;  // "PINSUM-PLANNER-VERSION-1.0\n"

// The catalogue file: magic, present flag, the database object, reserved 0. Identities are
// written as they are in memory.
void StoreDatabaseFile(ArchiveWriter& ar, const CioDb* root);
// A wrong magic is no error: root stays none. Damaged contents throw ArchiveError.
void LoadDatabaseFile(ArchiveReader& ar, std::unique_ptr<CioDb>& root);

// The planner file: magic, present flag, the project object, reserved 0. Storing renews every
// identity of the project first.
void StorePlannerFile(ArchiveWriter& ar, CioProject* project);
void LoadPlannerFile(ArchiveReader& ar, std::unique_ptr<CioProject>& project);

// The two files written to a path in one step (WriteFileAtomic): a failed save leaves the old
// file whole. Throw FileError.
void SaveDatabaseFile(const std::string& path, const CioDb* root);
void SavePlannerFile(const std::string& path, CioProject& project);

} // namespace pinsum
