// Writes the seed corpus of the signal list fuzzers into OUT/signal_csv and OUT/signal_xlsx:
// lists as spreadsheets write them and hostile ones.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/xlsx_builder.h"

namespace {

namespace fs = std::filesystem;
using pinsum::test::InlineCell;
using pinsum::test::SheetXml;
using pinsum::test::WorkbookParts;
using pinsum::test::ZipBytes;

void Save(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void WriteCsvSeeds(const fs::path& dir) {
    Save(dir / "czech.csv", "\xEF\xBB\xBFSeznam;;\r\n\r\nZna\xC4\x8Dka;Popis;Typ sign\xC3\xA1lu\r\n"
                            "-B1;\"Tla\xC4\x8D\xC3\xADtko; \"\"start\"\"\";DI\r\n;;\r\n"
                            "-Y1;Ventil;DO\r\n-P1;Tlak;AI 4-20mA\r\n");
    Save(dir / "comma.csv", "Tag,Type\nB1,DI\n\"B2\nsecond line\",DO\n");
    Save(dir / "tabs.csv", "Typ\tTag\rDI\tB1\r");
    Save(dir / "open_quote.csv", "Typ\n\"DI\n");
    Save(dir / "cp1250.csv", "Typ;Popis\n\xC8idlo;DI\n");
    Save(dir / "overlong.csv", "Typ\n\xC0\xAF\n");
}

std::string Rows() {
    return "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>Tag</t>"
           "</is></c></row><row r=\"3\"><c r=\"A3\" t=\"s\"><v>1</v></c><c r=\"B3\"><v>12</v></c>"
           "</row><row r=\"4\"><c r=\"A4\" t=\"str\"><f>A3</f><v>DI</v></c><c t=\"b\"><v>1</v>"
           "</c></row><row r=\"5\"><c r=\"A5\" t=\"s\"><v>2</v></c></row>";
}

void WriteXlsxSeeds(const fs::path& dir) {
    const std::string shared =
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>Typ</t>"
        "</si><si><r><t>DI</t></r></si><si><t>AI 4-20mA</t></si></sst>";
    // Whole files, after their even first byte.
    const auto whole = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        Save(dir / name, std::string(1, '\0') + std::string(bytes.begin(), bytes.end()));
    };
    whole("list.xlsx", ZipBytes(WorkbookParts({{"IO", SheetXml(Rows())}}, shared)));
    whole("stored.xlsx",
          ZipBytes(WorkbookParts({{"A", SheetXml(Rows())},
                                  {"B", SheetXml("<row>" + InlineCell("A1", "Typ") + "</row>")}}),
                   true));
    whole("no_workbook.xlsx", ZipBytes({{"readme.txt", "x"}}));
    whole("bomb.xlsx",
          ZipBytes(WorkbookParts({{"IO", SheetXml(std::string(size_t{16} << 20, ' '))}})));
    // Sheets, after their odd first byte and the byte that chooses the compression.
    const auto sheet = [&](const std::string& name, const std::string& xml) {
        Save(dir / name, "\x01\x01" + xml);
    };
    sheet("sheet.xml", SheetXml(Rows()));
    sheet("prefixed.xml",
          "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
          "<x:sheetData><x:row r=\"1\"><x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t>Typ</x:t></x:is>"
          "</x:c></x:row></x:sheetData></x:worksheet>");
    sheet("doctype.xml", "<!DOCTYPE w [<!ENTITY a \"aaaa\">]><worksheet>&a;</worksheet>");
    sheet("out_of_order.xml",
          SheetXml("<row r=\"2\"/><row r=\"1\"/><row><c r=\"C9\"/><c r=\"B9\"/></row>"));
    sheet("far_cell.xml", SheetXml("<row r=\"1048576\"><c r=\"XFD1048576\" t=\"s\"><v>9</v></c>"
                                   "</row>"));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    for (const char* sub : {"signal_csv", "signal_xlsx"}) {
        fs::remove_all(out / sub);
        fs::create_directories(out / sub);
    }
    WriteCsvSeeds(out / "signal_csv");
    WriteXlsxSeeds(out / "signal_xlsx");
    return 0;
}
