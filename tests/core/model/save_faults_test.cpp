// Saving the three files the program writes when a step of the write fails: the previous file
// stays whole, nothing is left beside it and the error says why.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "host/file_settings.h"
#include "model/catalogue_file.h"
#include "model/cio_project.h"
#include "support/failing_writes.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

namespace fs = std::filesystem;
using test::WriteStep;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The error code of a save; 0 when it succeeded.
int CodeOf(const std::function<void()>& save, const fs::path& path) {
    try {
        save();
        return 0;
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
        return e.Code();
    }
}

TEST(SaveFaults, EveryFailedStepKeepsThePreviousFileAndReportsTheCause) {
    const fs::path folder =
        fs::temp_directory_path() / ("pinsum-faults-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "saved";
    test::SmallCatalogue catalogue = test::BuildSmallCatalogue();
    CioProject project;

    const struct {
        const char* what;
        std::function<int()> save;
    } documents[] = {
        {"catalogue",
         [&] {
             return CodeOf([&] { SaveDatabaseFile(file.string(), catalogue.db.get()); }, file);
         }},
        {"planner", [&] { return CodeOf([&] { SavePlannerFile(file.string(), project); }, file); }},
        {"settings", [&] { return static_cast<int>(FileSettings(file).WriteUInt32("K", "v", 2)); }},
    };
    const struct {
        const char* what;
        WriteStep step;
        int code;
    } faults[] = {
        {"read-only folder", WriteStep::Create, EROFS},
        {"full disk", WriteStep::Write, ENOSPC},
        {"full disk on the flush", WriteStep::Sync, EIO},
        {"folder removed meanwhile", WriteStep::Rename, ENOENT},
    };
    const std::string previous = "K|v = 01 00 00 00\n";
    for (const auto& document : documents)
        for (const auto& fault : faults) {
            SCOPED_TRACE(std::string(document.what) + ", " + fault.what);
            std::ofstream(file, std::ios::binary) << previous;
            {
                test::FailingWrites failing(fault.step, fault.code);
                EXPECT_EQ(document.save(), fault.code);
            }
            EXPECT_EQ(ReadText(file), previous);
            EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
            EXPECT_EQ(document.save(), 0) << "the same save without the fault";
        }
    fs::remove_all(folder);
}

} // namespace
} // namespace pinsum
