#include "signals/csv_reader.h"

#include <gtest/gtest.h>

#include "core/signals/row_recorder.h"
#include "signals/signal_list_error.h"

namespace pinsum {
namespace {

using Rows = test::RowRecorder::Rows;

Rows Read(std::string_view text, const SignalLimits& limits = {}) {
    test::RowRecorder recorder;
    ReadCsvRows(text, "list.csv", recorder, limits);
    return recorder.rows;
}

std::string Error(std::string_view text, const SignalLimits& limits = {}) {
    try {
        Read(text, limits);
    } catch (const SignalListError& e) {
        return e.what();
    }
    return "no error";
}

TEST(CsvReaderTest, ReadsWhatACzechSpreadsheetWrites) {
    // A byte order mark, semicolons, a quoted field with a separator, doubled quotes and a line
    // break, CRLF line ends and an empty line in the middle.
    const Rows rows = Read("\xEF\xBB\xBFTag;Popis;Typ\r\n"
                           "B1;\"Tlačítko; \"\"start\"\"\nvlevo\";DI\r\n"
                           "\r\n"
                           "B2;;DO\r\n");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (Rows::value_type{1, {"Tag", "Popis", "Typ"}}));
    EXPECT_EQ(rows[1], (Rows::value_type{2, {"B1", "Tlačítko; \"start\"\nvlevo", "DI"}}));
    EXPECT_EQ(rows[2], (Rows::value_type{3, {}})) << "an empty line is an empty row";
    EXPECT_EQ(rows[3], (Rows::value_type{4, {"B2", "", "DO"}}));
}

TEST(CsvReaderTest, TakesTheSeparatorTheFirstLineHoldsMostOutsideQuotes) {
    EXPECT_EQ(Read("a,b;c,d\n1,2;3,4\n")[1].second, (std::vector<std::string>{"1", "2;3", "4"}));
    EXPECT_EQ(Read("\n\"x,y\";z\n1;2\n")[2].second, (std::vector<std::string>{"1", "2"}))
        << "commas inside quotes do not count, nor lines before the first that holds something";
    EXPECT_EQ(Read("a\tb\n")[0].second, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Read("DI\rDO\r")[1].second, (std::vector<std::string>{"DO"}))
        << "one column, old Mac line ends";
}

TEST(CsvReaderTest, RefusesWhatItCannotReadWithRowAndColumn) {
    EXPECT_EQ(Error("Tag;Typ\nB1;Čidlo\nB2;\xC8idlo\n"),
              "list.csv: row 3, column B: the text is not UTF-8 (save the list as CSV in UTF-8)");
    EXPECT_EQ(Error("a;b\nc;\"open\nd;e\n"),
              "list.csv: row 2, column B: a quoted field is not closed");
    EXPECT_EQ(Error("a\xC0\xAF\n"), "list.csv: row 1, column A: the text is not UTF-8 (save the "
                                    "list as CSV in UTF-8)")
        << "an overlong form";

    SignalLimits limits;
    limits.rows = 2;
    limits.columns = 3;
    limits.cellCharacters = 4;
    EXPECT_EQ(Error("a\nb\nc\n", limits), "list.csv: row 3: the list has more than 2 rows");
    EXPECT_EQ(Error("a;b;c;d\n", limits),
              "list.csv: row 1, column D: a row of more than 3 columns");
    EXPECT_EQ(Error("žžžž;žžžžž\n", limits),
              "list.csv: row 1, column B: a cell of more than 4 characters");
}

} // namespace
} // namespace pinsum
