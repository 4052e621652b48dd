#include "host/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace pinsum {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class ReplacementFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("pinsum-file-io-" + std::to_string(getpid()));
        fs::create_directories(m_folder / "elsewhere");
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }
    static std::string Text(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void Put(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static mode_t Mode(const std::string& path) {
        struct stat status {};
        EXPECT_EQ(stat(path.c_str(), &status), 0);
        return status.st_mode & 07777;
    }

    fs::path m_folder;
};

// The target's bits used to become 0644 whatever they were, and a link used to be replaced by a
// plain file.
TEST_F(ReplacementFileTest, KeepsTheTargetsBitsAndReplacesTheFileALinkLeadsTo) {
    const std::string real = PathOf("elsewhere/catalogue.pp");
    Put(real, "old");
    chmod(real.c_str(), 0640);
    fs::create_symlink("elsewhere/catalogue.pp", PathOf("link.pp"));
    fs::create_symlink("link.pp", PathOf("link-to-link.pp"));

    WriteFileAtomic(PathOf("link-to-link.pp"), Bytes{'n', 'e', 'w'});
    EXPECT_TRUE(fs::is_symlink(PathOf("link.pp")));
    EXPECT_TRUE(fs::is_symlink(PathOf("link-to-link.pp")));
    EXPECT_EQ(Text(real), "new");
    EXPECT_EQ(Mode(real), 0640u);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(m_folder / "elsewhere"), fs::directory_iterator()), 1);

    // A new file, also through a link that leads nowhere yet, gets the bits the umask allows.
    const mode_t previous = umask(027);
    fs::create_symlink("elsewhere/new.pp", PathOf("dangling.pp"));
    WriteFileAtomic(PathOf("dangling.pp"), Bytes{'x'});
    WriteFileAtomic(PathOf("plain.pp"), Bytes{'y'});
    umask(previous);
    EXPECT_EQ(Text(PathOf("elsewhere/new.pp")), "x");
    EXPECT_EQ(Mode(PathOf("elsewhere/new.pp")), 0640u);
    EXPECT_EQ(Mode(PathOf("plain.pp")), 0640u);
}

// Renaming over a pipe or a device used to put a plain file in its place.
TEST_F(ReplacementFileTest, RefusesWhatIsNoRegularFileAndLeavesItAlone) {
    ASSERT_EQ(mkfifo(PathOf("pipe").c_str(), 0600), 0);
    fs::create_directory(PathOf("folder"));
    fs::create_symlink("loop-b", PathOf("loop-a"));
    fs::create_symlink("loop-a", PathOf("loop-b"));
    const struct {
        const char* name;
        int code;
    } cases[] = {{"pipe", ENOTSUP}, {"folder", EISDIR}, {"loop-a", ELOOP}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            WriteFileAtomic(PathOf(c.name), Bytes{'x'});
            ADD_FAILURE() << "written";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Code(), c.code);
        }
    }
    EXPECT_TRUE(fs::is_fifo(PathOf("pipe")));
    EXPECT_TRUE(fs::is_directory(PathOf("folder")));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 5);
}

} // namespace
} // namespace pinsum
