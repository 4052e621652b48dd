#include "signals/signal_import.h"

#include <gtest/gtest.h>

#include "host/text_codec.h"
#include "signals/kind_mapping.h"
#include "signals/signal_list_error.h"
#include "solver/search_request.h"
#include "support/search_project.h"
#include "support/xlsx_builder.h"

namespace pinsum {
namespace {

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

class SignalImportTest : public ::testing::Test {
protected:
    SignalImportTest()
        : di(p.Kind("DI 24V DC")), relay(p.Kind(Utf8ToCp1250("DO relé"))),
          counter(p.Kind(Utf8ToCp1250("Čítač"))), display(p.Kind("Displej 4x20", 1)) {}

    SignalImport Import(std::string_view csv, const SignalListOptions& options = {},
                        const KindMap* map = nullptr) {
        return ImportSignalList(Bytes(csv), "list.csv", p.Db(), options, map);
    }

    KindMap Map(std::string_view json) {
        return KindMap::Parse(json, "map.json", KindIndex(p.Db()));
    }

    template <class Call> std::string Error(Call call) {
        try {
            call();
        } catch (const SignalListError& e) {
            return e.what();
        }
        return "no error";
    }

    test::SearchProject p;
    CioType* di;
    CioType* relay;
    CioType* counter;
    CioType* display;
};

TEST_F(SignalImportTest, CountsTheTypesBelowTheHeaderByCatalogueNameAndMap) {
    // A title row above the header, types in other letter cases and normal forms, a decomposed
    // "Čítač", a row without a type and an empty row.
    const std::string list = "Seznam signálů;;\n"
                             "Tag;Popis;Typ signálu\n"
                             "B1;start;di 24v dc\n"
                             "B2;stop; DI 24V DC \n"
                             "K1;motor;RELE\n"
                             "C1;čidlo;C\xCC\x8C"
                             "i\xCC\x81"
                             "tac\xCC\x8C\n"
                             ";;\n"
                             "R1;rezerva;SPARE\n"
                             "H;zóna 2;\n"
                             "P1;panel;displej 4X20\n";
    const KindMap map = Map(R"({"rele": "DO relé", "Spare": null})");
    const SignalImport import = Import(list, {}, &map);
    ASSERT_EQ(import.counts.size(), 4u);
    EXPECT_EQ(import.counts[0].kind, di);
    EXPECT_EQ(import.counts[0].count, 2u);
    EXPECT_EQ(import.counts[1].kind, relay);
    EXPECT_EQ(import.counts[2].kind, counter);
    EXPECT_EQ(import.counts[3].kind, display);
    EXPECT_TRUE(import.unmapped.empty());
    EXPECT_EQ(import.withoutType.rows, std::vector<uint32_t>{9});
    EXPECT_EQ(import.leftOut.rows, std::vector<uint32_t>{8});

    const SearchRequest request = RequestFromSignals(p.project, import, "list.csv");
    EXPECT_EQ(request.counts[0].count, 2);
    EXPECT_EQ(request.counts[3].kind, "Displej 4x20");
    EXPECT_EQ(request.counts[3].count, 1);
    EXPECT_EQ(request.terminalsEnabled, std::vector<std::string>{"Displej 4x20"})
        << "a terminal kind the list asks for is enabled";
}

TEST_F(SignalImportTest, ListsEveryUnmappedTypeWithItsRowsAndHints) {
    std::string list = "Typ\nDI\nAI 4-20mA\n";
    for (int i = 0; i < 12; ++i)
        list += "di\n";
    const SignalImport import = Import(list);
    EXPECT_TRUE(import.counts.empty());
    ASSERT_EQ(import.unmapped.size(), 2u);
    EXPECT_EQ(import.unmapped[0].rows.count, 13u) << "DI and di are one type";
    EXPECT_EQ(UnmappedTypesText(import.unmapped),
              "'DI' (rows 2, 4, 5, 6, 7, 8, 9, 10, 11, 12 and 3 more: did you mean 'DI 24V DC' or "
              "'Displej 4x20'?); 'AI 4-20mA' (row 3)");
}

TEST_F(SignalImportTest, TheTypeColumnIsFoundByNameOrTheListIsRefused) {
    SignalListOptions options;
    options.typeColumn = "Druh";
    EXPECT_EQ(Import("Typ;Druh\nX;DI 24V DC\n", options).counts.at(0).kind, di);
    EXPECT_EQ(Error([&] { Import("Tag;Popis\nB1;DI 24V DC\n"); }),
              "list.csv: no column named 'Typ' or 'Typ signálu' or 'Typ IO' or 'Type' or 'Signal "
              "type' or 'IO type' (the first row holds 'Tag', 'Popis')");
    EXPECT_EQ(Error([&] { Import("\n\n"); }), "list.csv: no column named 'Typ' or 'Typ signálu' or "
                                              "'Typ IO' or 'Type' or 'Signal type' or 'IO type': "
                                              "the list is empty");
    SignalListOptions sheet;
    sheet.sheet = "IO";
    EXPECT_EQ(Error([&] { Import("Typ\nDI\n", sheet); }),
              "list.csv: a CSV file has no sheets to choose from");
    EXPECT_EQ(Error([&] {
                  ImportSignalList(Bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 rest"), "old.xls",
                                   p.Db());
              }),
              "old.xls: an encrypted workbook or the old .xls format: save the list as .xlsx or "
              "as CSV in UTF-8");
}

TEST_F(SignalImportTest, XlsxListsAreReadLikeCsvLists) {
    const std::vector<uint8_t> file = test::ZipBytes(test::WorkbookParts(
        {{"IO",
          test::SheetXml("<row r=\"4\">" + test::InlineCell("B4", "Typ") + "</row>" +
                         "<row r=\"5\">" + test::InlineCell("B5", "DI 24V DC") + "</row>")}}));
    const SignalImport import = ImportSignalList(file, "list.xlsx", p.Db());
    EXPECT_EQ(import.sheet, "IO");
    ASSERT_EQ(import.counts.size(), 1u);
    EXPECT_EQ(import.counts[0].count, 1u);
}

TEST_F(SignalImportTest, MapFilesAreCheckedAgainstTheCatalogue) {
    EXPECT_EQ(Error([&] { Map(R"({"DI": "DI 24 V DC"})"); }),
              "map.json: [\"DI\"]: unknown IO kind 'DI 24 V DC' (did you mean 'DI 24V DC'?)");
    EXPECT_EQ(Error([&] { Map(R"({"rele": "DO relé", "RELE": "Čítač"})"); }),
              "map.json: [\"RELE\"]: the same type as 'rele'");
    EXPECT_EQ(Error([&] { Map(R"({"DI": 3})"); }),
              "map.json: [\"DI\"]: expected the name of an IO kind, or null for rows that are no "
              "IO point");
    EXPECT_EQ(Error([&] { Map("[]"); }),
              "map.json: expected a JSON object of signal types and IO kinds");
}

// The calculator's windows load a list into the request they show: the list's counts replace
// all of them, and its terminals are checked without unchecking the user's others.
TEST_F(SignalImportTest, ALoadedListSetsEveryCountAndChecksOnlyItsOwnTerminals) {
    CioType* keypad = p.Kind("Klávesnice", 1);
    p.Request(relay, 7);
    p.Item(display)->flags &= ~FLAG_CHECKED;
    const SignalImport import = Import("Typ\nDI 24V DC\ndi 24v dc\nDisplej 4x20\n");
    const std::vector<CioNode*> checked = ApplySignalCounts(import, p.project, "list.csv");
    EXPECT_EQ(p.Item(di)->count, 2);
    EXPECT_EQ(p.Item(relay)->count, 0);
    EXPECT_EQ(p.Item(display)->count, 1);
    EXPECT_EQ(checked, std::vector<CioNode*>{p.Item(display)});
    EXPECT_NE(p.Item(display)->flags & FLAG_CHECKED, 0u);
    EXPECT_NE(p.Item(keypad)->flags & FLAG_CHECKED, 0u);
}

TEST_F(SignalImportTest, AKindWithMoreSignalsThanARequestTakesIsRefused) {
    p.Request(relay, 7);
    std::string list = "Typ\n";
    for (int i = 0; i <= kMaxRequestedCount; ++i)
        list += "DI 24V DC\n";
    const SignalImport import = Import(list);
    const std::string refusal =
        "list.csv: 10001 signals of the IO kind 'DI 24V DC', more than a request takes (10000)";
    EXPECT_EQ(Error([&] { RequestFromSignals(p.project, import, "list.csv"); }), refusal);
    EXPECT_EQ(Error([&] { ApplySignalCounts(import, p.project, "list.csv"); }), refusal);
    EXPECT_EQ(p.Item(relay)->count, 7) << "a refused list changes no count";
}

} // namespace
} // namespace pinsum
