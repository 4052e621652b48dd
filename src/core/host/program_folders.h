#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace pinsum {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The host copies its command line into a buffer of this many characters, terminator included.
constexpr std::size_t kCommandLineBufferSize = 260;

// Number of search folders that FindDataFile tries, in order.
constexpr int kSearchFolderCount = 5;

// Folder of the host program, ending in kPathSeparator once set; empty before InitGlobals or when
// the command line gives none.
const std::string& ProgramFolder();

// ProgramFolder + "PROJECT" + separator when that folder exists, else empty.
const std::string& ProjectFolder();

// Search folder 1 to 5: 1 the folder of the name last looked up, 2 and 3 kept for other parts of
// the program, 4 ProjectFolder, 5 ProgramFolder. Any other number gives an empty text.
const std::string& SearchFolder(int number);

// Only folders 2 and 3 can be set from outside; other numbers throw std::out_of_range.
void SetSearchFolder(int number, std::string folder);

// Fills ProgramFolder and ProjectFolder from the host's command line: the text up to its last path
// separator, a leading double quote dropped. An empty command line leaves both folders empty.
void InitGlobals(const std::string& commandLine);

// The command-line tool's variant: the program folder is the folder of the given executable.
void InitGlobalsFromExecutable(const std::string& exePath);

// Looks the file up in its own folder, then search folders 2 to 5, and returns the first path
// whose status can be read. Sets search folder 1 to the name's own folder.
std::optional<std::string> FindDataFile(const std::string& name);

// Empties every folder, as at program start; for tests.
void ResetProgramFolders();

} // namespace pinsum
