#include "solver/search_request.h"

#include <cstdint>
#include <gtest/gtest.h>

#include "host/text_codec.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

using Objects = std::vector<const CioType*>;

std::string ParseError(std::string_view json) {
    try {
        ParseSearchRequest(json);
    } catch (const RequestError& e) {
        return e.what();
    }
    return "no error";
}

TEST(SearchRequestParseTest, ReadsEveryFieldKeepingTheCountsInOrder) {
    const SearchRequest request = ParseSearchRequest(
        R"({"level": 3, "counts": {"Čítač": 10000, "A": 0}, "terminals_enabled": ["T"],
            "series": [], "unchecked_devices": ["D1", "D2"]})");
    EXPECT_EQ(request.level, 3);
    ASSERT_EQ(request.counts.size(), 2u);
    EXPECT_EQ(request.counts[0].kind, "Čítač");
    EXPECT_EQ(request.counts[0].count, 10000);
    EXPECT_EQ(request.counts[1].kind, "A");
    EXPECT_EQ(request.terminalsEnabled, std::vector<std::string>{"T"});
    ASSERT_TRUE(request.series.has_value());
    EXPECT_TRUE(request.series->empty());
    EXPECT_EQ(request.uncheckedDevices, (std::vector<std::string>{"D1", "D2"}));

    const SearchRequest empty = ParseSearchRequest("{}");
    EXPECT_FALSE(empty.level.has_value());
    EXPECT_FALSE(empty.series.has_value()) << "an absent series list means the default series";
}

TEST(SearchRequestParseTest, KeepsALevelOutsideTheRangeForTheCallerToClamp) {
    EXPECT_EQ(ParseSearchRequest(R"({"level": -5})").level, -5);
    EXPECT_EQ(ParseSearchRequest(R"({"level": 18446744073709551615})").level, INT64_MAX);
}

TEST(SearchRequestParseTest, ErrorsNameTheJsonPath) {
    const std::pair<const char*, const char*> cases[] = {
        {R"([1])", "expected a JSON object"},
        {R"({"levle": 2})", "levle: unknown field"},
        {R"({"level": "2"})", "level: expected an integer"},
        {R"({"level": 2.5})", "level: expected an integer"},
        {R"({"counts": []})", "counts: expected an object"},
        {R"({"counts": {"A": true}})", R"(counts["A"]: expected an integer)"},
        {R"({"counts": {"A": -1}})", R"(counts["A"]: expected an integer from 0 to 10000)"},
        {R"({"counts": {"A": 10001}})", R"(counts["A"]: expected an integer from 0 to 10000)"},
        {R"({"counts": {"A": 18446744073709551615}})",
         R"(counts["A"]: expected an integer from 0 to 10000)"},
        {R"({"series": "S1"})", "series: expected an array"},
        {R"({"terminals_enabled": ["T", 1]})", "terminals_enabled[1]: expected a string"},
        {R"({"unchecked_devices": [null]})", "unchecked_devices[0]: expected a string"},
        {R"({"counts": {"A": 5, "A": 0}})", "counts: duplicate key 'A'"},
    };
    for (const auto& [json, message] : cases)
        EXPECT_EQ(ParseError(json), message) << json;
    EXPECT_EQ(ParseError(R"({"counts": {"A": 5})").rfind("invalid JSON: ", 0), 0u);
}

// The small catalogue in a project, with the request items and the series selection that loading
// a catalogue builds.
class SearchRequestApplyTest : public ::testing::Test {
protected:
    SearchRequestApplyTest() : c(test::BuildSmallCatalogue()) {
        counter = test::AddKind(*c.db, Utf8ToCp1250("Čítač"));
        test::AddKind(*c.db, "??");
        for (const auto& kind : c.db->ioKinds.children) {
            auto item = std::make_unique<CioNode>();
            item->kindRef.object = kind.get();
            project.requestList.Append(std::move(item));
        }
        for (const auto& series : c.db->seriesList.children)
            project.seriesSelection.entries.push_back(series.get());
        project.database = std::move(c.db);
    }

    void Apply(std::string_view json) { ApplySearchRequest(ParseSearchRequest(json), project); }

    std::string ApplyError(std::string_view json) {
        try {
            Apply(json);
        } catch (const RequestError& e) {
            return e.what();
        }
        return "no error";
    }

    CioNode* Item(const CioType* kind) const {
        for (const auto& child : project.requestList.children)
            if (auto* item = dynamic_cast<CioNode*>(child.get()); item->Kind() == kind)
                return item;
        return nullptr;
    }

    static bool Checked(const CioType* object) { return (object->flags & FLAG_CHECKED) != 0; }

    test::SmallCatalogue c;
    CioType* counter = nullptr;
    CioProject project;
};

TEST_F(SearchRequestApplyTest, CountsSetTheNamedKindsAndZeroTheRest) {
    Item(c.kindB)->count = 7;
    Apply(R"({"counts": {"A": 12, "Čítač": 3}})");
    EXPECT_EQ(Item(c.kindA)->count, 12);
    EXPECT_EQ(Item(c.kindB)->count, 0);
    EXPECT_EQ(Item(counter)->count, 3);
    EXPECT_EQ(Item(c.terminal)->count, 0);
}

TEST_F(SearchRequestApplyTest, WithoutSeriesTheDefaultSeriesAndTheirDevicesAreChecked) {
    c.s2->flags |= FLAG_CHECKED;
    c.d3->flags |= FLAG_CHECKED;
    Apply("{}");
    EXPECT_TRUE(Checked(c.s1));
    EXPECT_TRUE(Checked(c.d1));
    for (const CioType* other : Objects{c.s2, c.s3, c.d2, c.d3})
        EXPECT_FALSE(Checked(other)) << other->name;
    EXPECT_NE(c.s1->flags & FLAG_DEFAULT, 0u) << "the default bit itself stays";
}

TEST_F(SearchRequestApplyTest, NamedSeriesAreCheckedExactlyWithTheirDevices) {
    Apply(R"({"series": ["S2", "S3"]})");
    EXPECT_FALSE(Checked(c.s1));
    EXPECT_FALSE(Checked(c.d1));
    for (const CioType* named : Objects{c.s2, c.s3, c.d2, c.d3})
        EXPECT_TRUE(Checked(named)) << named->name;

    Apply(R"({"series": []})");
    for (const CioType* object : Objects{c.s1, c.s2, c.s3, c.d1, c.d2, c.d3})
        EXPECT_FALSE(Checked(object)) << object->name;
}

TEST_F(SearchRequestApplyTest, UncheckedDevicesAreClearedAfterTheirSeriesChecksThem) {
    Apply(R"({"series": ["S1", "S2"], "unchecked_devices": ["D1"]})");
    EXPECT_TRUE(Checked(c.s1));
    EXPECT_FALSE(Checked(c.d1));
    EXPECT_TRUE(Checked(c.d2));
}

TEST_F(SearchRequestApplyTest, ExactlyTheNamedTerminalKindsAreEnabled) {
    Apply(R"({"terminals_enabled": ["T"]})");
    EXPECT_TRUE(Checked(Item(c.terminal)));
    Apply(R"({"counts": {"T": 2}})");
    EXPECT_FALSE(Checked(Item(c.terminal)));
    EXPECT_EQ(Item(c.terminal)->count, 2);
    EXPECT_EQ(ApplyError(R"({"terminals_enabled": ["A"]})"),
              "terminals_enabled[0]: IO kind 'A' is not a terminal kind");
}

TEST_F(SearchRequestApplyTest, BadNamesFailWithTheirPathBeforeAnythingChanges) {
    Item(c.kindA)->count = 9;
    const std::pair<const char*, const char*> cases[] = {
        {R"({"counts": {"A": 4, "X": 1}})", R"(counts["X"]: unknown IO kind 'X')"},
        // Names are exact; one differing in letter case only is offered as the likely meant one.
        {R"({"counts": {"a": 1}})", R"(counts["a"]: unknown IO kind 'a' (did you mean 'A'?))"},
        // Characters outside Windows-1250 must not match a name through their '?' replacements.
        {R"({"counts": {"日本": 1}})", R"(counts["日本"]: unknown IO kind '日本')"},
        {R"({"series": ["S1", "Řada"]})", "series[1]: unknown series 'Řada'"},
        {R"({"terminals_enabled": ["Z"]})", "terminals_enabled[0]: unknown IO kind 'Z'"},
        {R"({"series": ["S3"], "unchecked_devices": ["D9"]})",
         "unchecked_devices[0]: unknown device 'D9'"},
    };
    for (const auto& [json, message] : cases)
        EXPECT_EQ(ApplyError(json), message) << json;
    const std::string longName(1'000'000, 'X');
    const std::string shown = std::string(60, 'X') + "...";
    EXPECT_EQ(ApplyError(R"({"counts": {")" + longName + R"(": 1}})"),
              "counts[\"" + shown + "\"]: unknown IO kind '" + shown + "'");
    EXPECT_EQ(Item(c.kindA)->count, 9);
    EXPECT_FALSE(Checked(c.s3));
}

TEST_F(SearchRequestApplyTest, ANameSharedByTwoDevicesIsAmbiguous) {
    test::AddDevice(*project.database, "D2", c.s1, 1, {{c.m1}});
    EXPECT_EQ(ApplyError(R"({"unchecked_devices": ["D2"]})"),
              "unchecked_devices[0]: device 'D2' is ambiguous: the catalogue has 2 of that name");
}

} // namespace
} // namespace pinsum
