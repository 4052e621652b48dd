#include "signals/xlsx_reader.h"

#include <gtest/gtest.h>

#include "core/signals/row_recorder.h"
#include "signals/signal_list_error.h"
#include "support/xlsx_builder.h"

namespace pinsum {
namespace {

using Rows = test::RowRecorder::Rows;
using test::InlineCell;
using test::SheetXml;
using test::WorkbookParts;
using test::ZipBytes;

const std::string kSharedStrings =
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<si><t>Typ</t></si>"
    "<si><r><t>DI </t></r><r><rPr><b/></rPr><t>24V DC</t></r><rPh><t>phonetic</t></rPh></si>"
    "<si><t xml:space=\"preserve\"> Čítač </t></si></sst>";

test::RowRecorder Read(const std::vector<uint8_t>& bytes,
                       const std::optional<std::string>& sheet = std::nullopt,
                       const SignalLimits& limits = {}) {
    test::RowRecorder recorder;
    ReadXlsxRows(bytes, "list.xlsx", sheet, recorder, limits);
    return recorder;
}

std::string Error(const std::vector<uint8_t>& bytes,
                  const std::optional<std::string>& sheet = std::nullopt,
                  const SignalLimits& limits = {}) {
    try {
        Read(bytes, sheet, limits);
    } catch (const SignalListError& e) {
        return e.what();
    }
    return "no error";
}

std::vector<uint8_t> OneSheet(const std::string& rows, const std::string& shared = "") {
    return ZipBytes(WorkbookParts({{"IO", SheetXml(rows)}}, shared));
}

TEST(XlsxReaderTest, GivesEveryKindOfCellItsText) {
    const std::vector<uint8_t> file = OneSheet(
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"inlineStr\"><is><r><t>Po</t>"
        "</r><r><t>čet</t></r></is></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"s\"><v>1</v></c><c r=\"B3\"><v>24</v></c>"
        "<c r=\"C3\" t=\"b\"><v>1</v></c></row>"
        // A formula's saved value is read, never the formula; one without a value is empty.
        "<row r=\"4\"><c r=\"A4\" t=\"str\"><f>CONCAT(\"D\",\"O\")</f><v>DO</v></c>"
        "<c r=\"B4\"><f>1+1</f></c><c t=\"s\"><v>2</v></c></row>",
        kSharedStrings);
    const test::RowRecorder read = Read(file);
    EXPECT_EQ(read.sheet, "IO");
    ASSERT_EQ(read.rows.size(), 3u);
    EXPECT_EQ(read.rows[0], (Rows::value_type{1, {"Typ", "", "Počet"}}));
    EXPECT_EQ(read.rows[1], (Rows::value_type{3, {"DI 24V DC", "24", "TRUE"}}))
        << "runs joined, the phonetic run left out, the row's own number kept";
    EXPECT_EQ(read.rows[2], (Rows::value_type{4, {"DO", "", " Čítač "}}))
        << "a cell without a reference takes the next column";
}

TEST(XlsxReaderTest, ReadsPrefixedElementsAsTheirLocalNames) {
    const std::string sheet =
        "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<x:sheetData><x:row r=\"1\"><x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t>DI</x:t></x:is>"
        "</x:c></x:row></x:sheetData></x:worksheet>";
    EXPECT_EQ(Read(ZipBytes(WorkbookParts({{"IO", sheet}}))).rows, (Rows{{1, {"", "DI"}}}));
}

TEST(XlsxReaderTest, ChoosesTheSheetByNameOrTakesTheFirst) {
    const std::vector<uint8_t> file = ZipBytes(WorkbookParts(
        {{"Poznámky", SheetXml("<row r=\"1\">" + InlineCell("A1", "x") + "</row>")},
         {"Signály", SheetXml("<row r=\"2\">" + InlineCell("A2", "DI") + "</row>")}}));
    EXPECT_EQ(Read(file).sheet, "Poznámky");
    const test::RowRecorder chosen = Read(file, "SIGNÁLY");
    EXPECT_EQ(chosen.sheet, "Signály");
    EXPECT_EQ(chosen.rows, (Rows{{2, {"DI"}}}));
    EXPECT_EQ(Error(file, "IO"),
              "list.xlsx: no sheet 'IO' in the workbook (it has 'Poznámky', 'Signály')");
}

TEST(XlsxReaderTest, MissingOrDamagedPartsAreErrors) {
    std::vector<test::ZipPart> parts = WorkbookParts({{"IO", SheetXml("")}});
    std::vector<test::ZipPart> withoutSheet;
    for (const auto& part : parts)
        if (part.first != "xl/worksheets/sheet1.xml")
            withoutSheet.push_back(part);
    EXPECT_EQ(Error(ZipBytes(withoutSheet)),
              "list.xlsx: the part 'xl/worksheets/sheet1.xml' is missing");
    EXPECT_EQ(Error(ZipBytes({{"readme.txt", "not a workbook"}})),
              "list.xlsx: no workbook in the file (is it a spreadsheet?)");
    EXPECT_EQ(Error(OneSheet("<row r=\"1\"><c t=\"s\"><v>7</v></c></row>", kSharedStrings)),
              "list.xlsx: sheet 'IO': row 1, column A: the cell refers to shared string '7', "
              "which the workbook does not have");
    EXPECT_EQ(
        Error(OneSheet("<row r=\"1\"><c>")),
        "list.xlsx: the part 'xl/worksheets/sheet1.xml' is damaged: mismatched tag at line 1");
    std::vector<uint8_t> cut = OneSheet("");
    cut.resize(cut.size() / 2);
    EXPECT_NE(Error(cut).find("list.xlsx: not an XLSX file, or a damaged one"), std::string::npos);
}

TEST(XlsxReaderTest, HostileFilesEndInAnErrorWithinTheLimits) {
    // A billion laughs: no document type declaration is read at all.
    const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaa\">"
                               "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><worksheet>&b;"
                               "</worksheet>";
    EXPECT_EQ(Error(ZipBytes(WorkbookParts({{"IO", laughs}}))),
              "list.xlsx: the part 'xl/worksheets/sheet1.xml' declares a document type, which no "
              "spreadsheet writes");

    // A zip bomb: 64 MB of blanks deflate to a few kilobytes; the sheet may have 16.
    SignalLimits limits;
    limits.sheetBytes = size_t{16} << 20;
    EXPECT_EQ(Error(OneSheet(std::string(size_t{64} << 20, ' ')), std::nullopt, limits),
              "list.xlsx: part 'xl/worksheets/sheet1.xml' is larger than 16 MB uncompressed");

    // A sheet of a million rows stops at the limit, at the row past it.
    std::string million;
    for (int row = 1; row <= 1'000'000; ++row)
        million += "<row r=\"" + std::to_string(row) + "\"/>";
    EXPECT_EQ(Error(OneSheet(million)),
              "list.xlsx: sheet 'IO': row 250001: the sheet has more than 250000 rows");

    limits = {};
    limits.columns = 3;
    limits.cellCharacters = 5;
    EXPECT_EQ(
        Error(OneSheet("<row r=\"1\"><c r=\"XFD1\" s=\"1\"/>" + InlineCell("D1", "x") + "</row>"),
              std::nullopt, limits),
        "list.xlsx: sheet 'IO': row 1: a cell 'D1' out of place after column XFD")
        << "cells out of order";
    EXPECT_EQ(
        Error(OneSheet("<row r=\"1\">" + InlineCell("D1", "x") + "</row>"), std::nullopt, limits),
        "list.xlsx: sheet 'IO': row 1, column D: a cell beyond the first 3 columns");
    EXPECT_EQ(Error(OneSheet("<row r=\"1\">" + InlineCell("A1", "žžžžžž") + "</row>"), std::nullopt,
                    limits),
              "list.xlsx: sheet 'IO': row 1, column A: a cell of more than 5 characters");
    EXPECT_EQ(Error(OneSheet("<row r=\"1\"/><row r=\"1\"/>")),
              "list.xlsx: sheet 'IO': row 1: a row numbered '1' after row 1");
}

} // namespace
} // namespace pinsum
