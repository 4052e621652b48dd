#include "model/json_text.h"

#include <gtest/gtest.h>

#include <chrono>

namespace pinsum {
namespace {

std::string ErrorOf(const std::string& text) {
    nlohmann::ordered_json value;
    std::string error;
    return ParseJsonText(text, value, error) ? "no error" : error;
}

// A second value of a key used to replace the first without a word.
TEST(JsonTextTest, ADuplicateKeyIsRefusedWithThePathOfItsObject) {
    const std::pair<std::string, std::string> cases[] = {
        {R"({"level": 1, "level": 2})", "duplicate key 'level'"},
        {R"({"counts": {"DI 24V": 1, "DI 24V": 2}})", "counts: duplicate key 'DI 24V'"},
        {R"({"devices": [{}, {"positions": [{"name": "a", "name": "b"}]}]})",
         "devices[1].positions[0]: duplicate key 'name'"},
        {R"({"a b": {"x": {"k": 1, "k": 1}}})", R"(["a b"].x: duplicate key 'k')"},
        {R"({")" + std::string(100, 'k') + R"(": 1, ")" + std::string(100, 'k') + R"(": 2})",
         "duplicate key '" + std::string(60, 'k') + "...'"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(ErrorOf(text), message) << text;
    EXPECT_EQ(ErrorOf(R"({"a": {"k": 1}, "b": {"k": 1}})"), "no error");
}

// 80,000 keys used to take seconds and a million did not finish in minutes: every key was looked
// up in the ordered object being filled.
TEST(JsonTextTest, ManyKeysAreReadInLinearTimeAndKeepTheirOrder) {
    constexpr int kKeys = 200000;
    std::string text = "{";
    for (int i = 0; i < kKeys; ++i)
        text += (i == 0 ? "\"k" : ",\"k") + std::to_string(i) + "\": " + std::to_string(i);
    text += "}";
    nlohmann::ordered_json value;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(ParseJsonText(text, value, error)) << error;
    // Quadratic reading takes minutes here even in an optimised build; a busy machine may be slow.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    ASSERT_EQ(value.size(), static_cast<size_t>(kKeys));
    EXPECT_EQ(value.begin().key(), "k0");
    EXPECT_EQ(value.back(), kKeys - 1);
    EXPECT_EQ(value["k4711"], 4711);
}

TEST(JsonTextTest, ASyntaxErrorQuotesAShortPrefixOfTheToken) {
    const std::string error = ErrorOf("{\"name\": \"" + std::string(100000, 'x') + "\x01\"}");
    EXPECT_EQ(error.rfind("invalid JSON: parse error at line 1, column 100011: ", 0), 0u) << error;
    EXPECT_LT(error.size(), 300u) << error;
    EXPECT_NE(error.find("'\"xxxxxxxx"), std::string::npos) << error;

    // Bytes that are no UTF-8, in a literal or in a string, are quoted as escapes.
    for (const char* text : {"{\"a\": tru\xff}", "{\"x\xfe\": 1}"}) {
        const std::string invalid = ErrorOf(text);
        EXPECT_EQ(invalid.find_first_of("\xff\xfe"), std::string::npos) << invalid;
        EXPECT_NE(invalid.find("\\xf"), std::string::npos) << invalid;
    }
}

} // namespace
} // namespace pinsum
