#include "host/auto_update_setting.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/memory_settings.h"

namespace pinsum {
namespace {

struct StoredCase {
    const char* what;
    std::vector<uint8_t> bytes;
    bool on;
};

TEST(AutoUpdateSettingTest, OnlyAFourByteNonZeroValueIsOn) {
    const StoredCase cases[] = {
        {"4-byte 1", {1, 0, 0, 0}, true},
        {"4-byte 0", {0, 0, 0, 0}, false},
        {"high byte only", {0, 0, 0, 0x80}, true},
        {"2-byte 1", {1, 0}, false},
        {"8-byte 1", {1, 0, 0, 0, 0, 0, 0, 0}, false},
        {"empty", {}, false},
    };
    MemorySettings missing;
    EXPECT_FALSE(ReadAutoUpdate(missing));
    for (const auto& c : cases) {
        MemorySettings settings;
        settings.WriteRaw(kAutoUpdateKeyPath, kAutoUpdateValueName, c.bytes);
        EXPECT_EQ(ReadAutoUpdate(settings), c.on) << c.what;
    }
}

TEST(AutoUpdateSettingTest, WriteStoresOneOrZeroAsFourBytes) {
    MemorySettings settings;
    EXPECT_EQ(WriteAutoUpdate(settings, true), 0);
    EXPECT_EQ(settings.ReadValue("Software\\Tarvesko\\Planner", "Autoupdate"),
              (std::vector<uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(WriteAutoUpdate(settings, false), 0);
    EXPECT_EQ(settings.ReadValue("Software\\Tarvesko\\Planner", "Autoupdate"),
              (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(AutoUpdateSettingTest, TogglingTwiceRestoresTheSetting) {
    for (const bool start : {false, true}) {
        MemorySettings settings;
        WriteAutoUpdate(settings, start);
        WriteAutoUpdate(settings, !ReadAutoUpdate(settings));
        EXPECT_EQ(ReadAutoUpdate(settings), !start);
        WriteAutoUpdate(settings, !ReadAutoUpdate(settings));
        EXPECT_EQ(ReadAutoUpdate(settings), start);
    }
}

class RefusingSettings : public Settings {
public:
    std::optional<std::vector<uint8_t>> ReadValue(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    long WriteUInt32(const std::string&, const std::string&, uint32_t) override { return 5; }
};

TEST(AutoUpdateSettingTest, WriteReturnsTheStoresFailureCode) {
    RefusingSettings settings;
    EXPECT_EQ(WriteAutoUpdate(settings, true), 5);
    EXPECT_FALSE(ReadAutoUpdate(settings));
}

} // namespace
} // namespace pinsum
