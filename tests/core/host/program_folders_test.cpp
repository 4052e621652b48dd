#include "host/program_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace pinsum {
namespace {

namespace fs = std::filesystem;

const std::string kSep(1, kPathSeparator);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        m_path = fs::canonical(fs::temp_directory_path()) /
                 ("pinsum-folders-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }
    // The folder as the globals hold folders: with a trailing separator.
    std::string Folder(const std::string& sub = {}) const {
        return (sub.empty() ? m_path : m_path / sub).string() + kSep;
    }

private:
    fs::path m_path;
};

void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
}

class ProgramFoldersTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramFolders(); }
    void TearDown() override { ResetProgramFolders(); }
    TempFolder m_temp;
};

struct CommandLineCase {
    std::string commandLine;
    std::string programFolder;
};

TEST_F(ProgramFoldersTest, ProgramFolderIsCommandLineUpToItsLastSeparator) {
    const std::string root = kSep + "no-such-pinsum-root" + kSep + "Tools";
    const std::string longArgs(300, 'a');
    const CommandLineCase cases[] = {
        {"\"" + root + kSep + "host\" -a b", root + kSep},
        {root + kSep + "host -a b", root + kSep},
        {"\"" + root + kSep + "host\" -f x" + kSep + "y", root + kSep + "host\" -f x" + kSep},
        {"host", "host" + kSep},
        {"\"host\" -a", "host\" -a" + kSep},
        {kSep + "host", kSep},
        // Only what fits the 260-character buffer is read, so a late separator is never seen.
        {root + kSep + "host " + longArgs + kSep + "z", root + kSep},
        {"\"" + root + kSep + "host\" " + longArgs + kSep + "z", root + kSep},
        {"", ""},
    };
    for (const auto& c : cases) {
        InitGlobals(c.commandLine);
        EXPECT_EQ(ProgramFolder(), c.programFolder) << c.commandLine;
        EXPECT_EQ(ProjectFolder(), "") << c.commandLine;
    }
}

TEST_F(ProgramFoldersTest, BufferHoldsExactly259CharactersAfterTheQuote) {
    const std::string head = std::string(100, 'd') + kSep;
    // The second separator is character 259 after the quote: one too far.
    InitGlobals("\"" + head + std::string(158, 'f') + kSep + "z");
    EXPECT_EQ(ProgramFolder(), head);
    // Here it is character 258, the last one kept.
    InitGlobals("\"" + head + std::string(157, 'f') + kSep + "z");
    EXPECT_EQ(ProgramFolder(), head + std::string(157, 'f') + kSep);
    InitGlobals(head + std::string(158, 'f') + kSep + "z");
    EXPECT_EQ(ProgramFolder(), head);
}

TEST_F(ProgramFoldersTest, ProjectFolderFoundWhenThePROJECTFolderExistsEvenEmpty) {
    fs::create_directory(m_temp.Path() / "PROJECT");
    InitGlobals("\"" + (m_temp.Path() / "host").string() + "\" -x -y");
    EXPECT_EQ(ProgramFolder(), m_temp.Folder());
    EXPECT_EQ(ProjectFolder(), m_temp.Folder("PROJECT"));
    EXPECT_EQ(SearchFolder(4), ProjectFolder());
    EXPECT_EQ(SearchFolder(5), ProgramFolder());

    InitGlobals("");
    EXPECT_EQ(ProgramFolder(), "");
    EXPECT_EQ(ProjectFolder(), "");
}

TEST_F(ProgramFoldersTest, NoProjectFolderWithoutADirectoryNamedPROJECT) {
    InitGlobals((m_temp.Path() / "host").string());
    EXPECT_EQ(ProgramFolder(), m_temp.Folder());
    EXPECT_EQ(ProjectFolder(), "");

    Touch(m_temp.Path() / "PROJECT");
    InitGlobals((m_temp.Path() / "host").string());
    EXPECT_EQ(ProjectFolder(), "");
}

TEST_F(ProgramFoldersTest, ExecutableFolderResolvesLinksToTheRealProgram) {
    Touch(m_temp.Path() / "real" / "pinsum");
    fs::create_directory(m_temp.Path() / "real" / "PROJECT");
    fs::create_directory(m_temp.Path() / "links");
    fs::create_symlink(m_temp.Path() / "real" / "pinsum", m_temp.Path() / "links" / "pinsum");

    InitGlobalsFromExecutable((m_temp.Path() / "links" / "pinsum").string());
    EXPECT_EQ(ProgramFolder(), m_temp.Folder("real"));
    EXPECT_EQ(ProjectFolder(), m_temp.Folder("real") + "PROJECT" + kSep);

    InitGlobalsFromExecutable("");
    EXPECT_EQ(ProgramFolder(), "");
    EXPECT_EQ(ProjectFolder(), "");
}

TEST_F(ProgramFoldersTest, OnlySearchFoldersTwoAndThreeCanBeSet) {
    SetSearchFolder(2, "two" + kSep);
    SetSearchFolder(3, "three" + kSep);
    EXPECT_EQ(SearchFolder(2), "two" + kSep);
    EXPECT_EQ(SearchFolder(3), "three" + kSep);
    for (int number : {1, 4, 5})
        EXPECT_THROW(SetSearchFolder(number, "x"), std::out_of_range) << number;
}

class FindDataFileTest : public ProgramFoldersTest {
protected:
    void InitInTemp() { InitGlobals("\"" + (m_temp.Path() / "host").string() + "\" -a"); }
};

TEST_F(FindDataFileTest, CopyInPROJECTWinsOverProgramFolder) {
    Touch(m_temp.Path() / "iodb.pp");
    Touch(m_temp.Path() / "PROJECT" / "iodb.pp");
    InitInTemp();
    EXPECT_EQ(FindDataFile("iodb.pp"), m_temp.Folder("PROJECT") + "iodb.pp");

    fs::remove(m_temp.Path() / "PROJECT" / "iodb.pp");
    EXPECT_EQ(FindDataFile("iodb.pp"), m_temp.Folder() + "iodb.pp");

    fs::remove(m_temp.Path() / "iodb.pp");
    EXPECT_EQ(FindDataFile("iodb.pp"), std::nullopt);
}

TEST_F(FindDataFileTest, NamesOwnFolderIsSearchedFirstThenTheOthers) {
    Touch(m_temp.Path() / "PROJECT" / "iodb.pp");
    Touch(m_temp.Path() / "own" / "iodb.pp");
    InitInTemp();

    const std::string own = m_temp.Folder("own");
    EXPECT_EQ(FindDataFile(own + "iodb.pp"), own + "iodb.pp");
    EXPECT_EQ(SearchFolder(1), own);

    const std::string empty = m_temp.Folder("empty");
    EXPECT_EQ(FindDataFile(empty + "iodb.pp"), m_temp.Folder("PROJECT") + "iodb.pp");
    EXPECT_EQ(SearchFolder(1), empty);

    EXPECT_EQ(FindDataFile("iodb.pp"), m_temp.Folder("PROJECT") + "iodb.pp");
    EXPECT_EQ(SearchFolder(1), "");
}

TEST_F(FindDataFileTest, FoldersTwoAndThreeComeBeforeProjectAndProgram) {
    Touch(m_temp.Path() / "PROJECT" / "a.pp");
    Touch(m_temp.Path() / "two" / "a.pp");
    Touch(m_temp.Path() / "three" / "a.pp");
    InitInTemp();
    SetSearchFolder(2, m_temp.Folder("two"));
    SetSearchFolder(3, m_temp.Folder("three"));
    EXPECT_EQ(FindDataFile("a.pp"), m_temp.Folder("two") + "a.pp");
    fs::remove(m_temp.Path() / "two" / "a.pp");
    EXPECT_EQ(FindDataFile("a.pp"), m_temp.Folder("three") + "a.pp");
    fs::remove(m_temp.Path() / "three" / "a.pp");
    EXPECT_EQ(FindDataFile("a.pp"), m_temp.Folder("PROJECT") + "a.pp");
}

TEST_F(FindDataFileTest, NamesWithoutAFileNamePartFindNothing) {
    Touch(m_temp.Path() / ".pp");
    Touch(m_temp.Path() / "noext");
    InitInTemp();
    for (const std::string& name :
         {std::string(), m_temp.Folder(), std::string(".pp"), m_temp.Folder() + ".pp"})
        EXPECT_EQ(FindDataFile(name), std::nullopt) << name;
    EXPECT_EQ(FindDataFile("noext"), m_temp.Folder() + "noext");
}

TEST_F(FindDataFileTest, WithoutInitOnlyTheNamesOwnFolderIsSearched) {
    Touch(m_temp.Path() / "iodb.pp");
    EXPECT_EQ(FindDataFile(m_temp.Folder() + "iodb.pp"), m_temp.Folder() + "iodb.pp");
    EXPECT_EQ(FindDataFile("iodb.pp"), std::nullopt);
}

} // namespace
} // namespace pinsum
