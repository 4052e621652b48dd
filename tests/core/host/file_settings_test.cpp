#include "host/file_settings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "host/auto_update_setting.h"

namespace pinsum {
namespace {

namespace fs = std::filesystem;

class FileSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        m_folder = fs::temp_directory_path() /
                   ("pinsum-settings-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(m_folder);
        m_file = m_folder / "settings.conf";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }

    void WriteFile(const std::string& text) { std::ofstream(m_file, std::ios::binary) << text; }
    std::string ReadFile() const {
        std::ifstream in(m_file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    int EntriesInFolder() const {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_folder))
            ++count;
        return count;
    }

    fs::path m_folder;
    fs::path m_file;
};

TEST_F(FileSettingsTest, ValuesPersistAcrossInstancesInTheDocumentedForm) {
    {
        FileSettings settings(m_file);
        EXPECT_EQ(WriteAutoUpdate(settings, true), 0);
        EXPECT_EQ(settings.WriteUInt32("A\\B", "n=1|x", 0xA1B2C3D4u), 0);
    }
    EXPECT_EQ(ReadFile(), "A\\B|n=1|x = d4 c3 b2 a1\n"
                          "Software\\Tarvesko\\Planner|Autoupdate = 01 00 00 00\n");
    EXPECT_EQ(EntriesInFolder(), 1) << "no temporary file left behind";

    FileSettings reopened(m_file);
    EXPECT_TRUE(ReadAutoUpdate(reopened));
    EXPECT_EQ(reopened.ReadValue("A\\B", "n=1|x"), (std::vector<uint8_t>{0xD4, 0xC3, 0xB2, 0xA1}));
    EXPECT_EQ(reopened.ReadValue("A\\B", "n=1"), std::nullopt);

    EXPECT_EQ(WriteAutoUpdate(reopened, false), 0);
    FileSettings third(m_file);
    EXPECT_FALSE(ReadAutoUpdate(third));
    EXPECT_EQ(reopened.ReadValue("A\\B", "n=1|x"), (std::vector<uint8_t>{0xD4, 0xC3, 0xB2, 0xA1}));
}

TEST_F(FileSettingsTest, MissingOrDamagedFileReadsAsEmpty) {
    const std::string damaged[] = {
        "",
        std::string("\0\xff\x01garbage", 11),
        "Software\\Tarvesko\\Planner Autoupdate = 01 00 00 00\n",
        "Software\\Tarvesko\\Planner|Autoupdate = 1 00 00 00\n",
        "Software\\Tarvesko\\Planner|Autoupdate = zz 00 00 00\n",
        "Software\\Tarvesko\\Planner|Autoupdate 01 00 00 00\n",
        "=|Autoupdate\n",
    };
    FileSettings settings(m_file);
    EXPECT_EQ(settings.ReadValue(kAutoUpdateKeyPath, kAutoUpdateValueName), std::nullopt);
    for (const auto& text : damaged) {
        WriteFile(text);
        EXPECT_EQ(settings.ReadValue(kAutoUpdateKeyPath, kAutoUpdateValueName), std::nullopt)
            << text;
    }
    EXPECT_EQ(WriteAutoUpdate(settings, true), 0);
    EXPECT_TRUE(ReadAutoUpdate(settings));
}

TEST_F(FileSettingsTest, GoodLinesSurviveDamagedOnesAndOtherSizes) {
    WriteFile("junk line\r\n"
              "Software\\Tarvesko\\Planner|Autoupdate = 01 00\r\n"
              "K|empty =\n"
              "K|v = 07 00 00 00");
    FileSettings settings(m_file);
    EXPECT_FALSE(ReadAutoUpdate(settings)) << "a 2-byte value is off";
    EXPECT_EQ(settings.ReadValue(kAutoUpdateKeyPath, kAutoUpdateValueName),
              (std::vector<uint8_t>{1, 0}));
    EXPECT_EQ(settings.ReadValue("K", "empty"), std::vector<uint8_t>{});
    EXPECT_EQ(settings.ReadValue("K", "v"), (std::vector<uint8_t>{7, 0, 0, 0}));
}

TEST_F(FileSettingsTest, MissingFolderIsCreatedOnWrite) {
    const fs::path nested = m_folder / "a" / "b" / "settings.conf";
    FileSettings settings(nested);
    EXPECT_EQ(WriteAutoUpdate(settings, true), 0);
    FileSettings reopened(nested);
    EXPECT_TRUE(ReadAutoUpdate(reopened));
}

TEST_F(FileSettingsTest, FailuresAreReportedAndLeaveTheFileAlone) {
    WriteFile("K|v = 01 00 00 00\n");
    FileSettings settings(m_file);
    EXPECT_EQ(settings.WriteUInt32("K|bar", "v", 1), EINVAL);
    EXPECT_EQ(settings.WriteUInt32("K", "line\nbreak", 1), EINVAL);
    EXPECT_EQ(ReadFile(), "K|v = 01 00 00 00\n");

    fs::create_directory(m_folder / "taken");
    FileSettings onFolder(m_folder / "taken");
    EXPECT_NE(onFolder.WriteUInt32("K", "v", 1), 0);
    EXPECT_EQ(EntriesInFolder(), 2) << "the temporary file is removed after a failed rename";
}

} // namespace
} // namespace pinsum
