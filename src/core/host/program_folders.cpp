#include "host/program_folders.h"

#include <array>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace pinsum {
namespace {

#ifdef _WIN32
constexpr std::string_view kFolderEnds = "\\/:";
#else
constexpr std::string_view kFolderEnds = "/";
#endif

struct Folders {
    std::string program;
    std::string project;
    // Index 0 is search folder 1; folders 4 and 5 are served from project and program.
    std::array<std::string, 3> searched;
};

Folders& Globals() {
    static Folders folders;
    return folders;
}

void DetectProjectFolder() {
    Folders& g = Globals();
    if (g.program.empty())
        return;
    const std::string candidate = g.program + "PROJECT" + kPathSeparator;
    // A folder that can be listed counts even when it holds nothing.
    std::error_code ec;
    std::filesystem::directory_iterator listing(candidate, ec);
    if (!ec)
        g.project = candidate;
}

bool StatusReadable(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::status(path, ec));
}

} // namespace

const std::string& ProgramFolder() {
    return Globals().program;
}

const std::string& ProjectFolder() {
    return Globals().project;
}

const std::string& SearchFolder(int number) {
    static const std::string none;
    Folders& g = Globals();
    switch (number) {
    case 1:
    case 2:
    case 3:
        return g.searched[number - 1];
    case 4:
        return g.project;
    case 5:
        return g.program;
    default:
        return none;
    }
}

void SetSearchFolder(int number, std::string folder) {
    if (number != 2 && number != 3)
        throw std::out_of_range("only search folders 2 and 3 can be set");
    Globals().searched[number - 1] = std::move(folder);
}

void InitGlobals(const std::string& commandLine) {
    Folders& g = Globals();
    g.program.clear();
    g.project.clear();
    if (commandLine.empty())
        return;

    const std::size_t start = commandLine[0] == '"' ? 1 : 0;
    std::string text = commandLine.substr(start, kCommandLineBufferSize - 1);
    // The text ends at an embedded terminator, as the host's character buffer would.
    if (const std::size_t end = text.find('\0'); end != std::string::npos)
        text.resize(end);
    const std::size_t cut = text.rfind(kPathSeparator);
    if (cut != std::string::npos)
        text.resize(cut);
    g.program = text + kPathSeparator;
    DetectProjectFolder();
}

void InitGlobalsFromExecutable(const std::string& exePath) {
    Folders& g = Globals();
    g.program.clear();
    g.project.clear();
    if (exePath.empty())
        return;

    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::path(exePath), ec);
    if (ec) {
        resolved = fs::absolute(fs::path(exePath), ec);
        if (ec)
            resolved = fs::path(exePath);
    }
    std::string folder = resolved.parent_path().string();
    if (folder.empty() || folder.back() != kPathSeparator)
        folder += kPathSeparator;
    g.program = std::move(folder);
    DetectProjectFolder();
}

std::optional<std::string> FindDataFile(const std::string& name) {
    if (name.empty())
        return std::nullopt;

    Folders& g = Globals();
    const std::size_t folderEnd = name.find_last_of(kFolderEnds);
    const std::size_t fileStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    g.searched[0] = name.substr(0, fileStart);

    // The extension starts at the last dot, so ".pp" alone has no file name part.
    const std::string fileName = name.substr(fileStart);
    const std::size_t dot = fileName.rfind('.');
    if (fileName.empty() || dot == 0)
        return std::nullopt;

    for (int number = 1; number <= kSearchFolderCount; ++number) {
        const std::string& folder = SearchFolder(number);
        if (folder.empty())
            continue;
        std::string path = folder + fileName;
        if (StatusReadable(path))
            return path;
    }
    return std::nullopt;
}

void ResetProgramFolders() {
    Folders& g = Globals();
    g.program.clear();
    g.project.clear();
    for (std::string& folder : g.searched)
        folder.clear();
}

} // namespace pinsum
