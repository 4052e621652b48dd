#include "helptext/stored_help.h"

#include <gtest/gtest.h>

namespace pinsum {
namespace {

TEST(StoredHelp, FormIsTheFirstMarkFound) {
    const std::pair<std::string, HelpForm> cases[] = {
        {"", HelpForm::Plain},
        {"Vstupy 24 V", HelpForm::Plain},
        {"a <MI><b>x", HelpForm::Markup},
        {"<mi>{x}", HelpForm::Markup},
        {"{\\rtf1 <mi>}", HelpForm::RichText},
        {"x[1029]{a}", HelpForm::RichText},
        {"<m i>{a}", HelpForm::RichText},
        // A bracket in a text without any group is text, not a section key.
        {"Rozsah [V] a [mA]", HelpForm::Plain},
        {"Rozsah [V] a {x}", HelpForm::RichText},
    };
    for (const auto& [text, form] : cases)
        EXPECT_EQ(DetectHelpForm(text), form) << text;
}

std::string Describe(const std::vector<HelpSection>& sections) {
    std::string text;
    for (const HelpSection& section : sections)
        text += section.key + "=" + section.group + " ";
    return text;
}

TEST(StoredHelp, SectionsAndTheirKeys) {
    EXPECT_EQ(Describe(SplitSections("[1029]{\\rtf1 cz{\\b \\} x}}between{lost}[1031]\r\n{de}"
                                     "[103]{short key}[10290]{long key}")),
              "[1029]={\\rtf1 cz{\\b \\} x}} [1031]={de} [1024]={long key} ");
    EXPECT_EQ(Describe(SplitSections("{a}[1029]{b}[1024]{c}[1029]{d")), "[1024]={c} [1029]={d ")
        << "a later section replaces one with the same key; an open group runs to the end";

    // Nesting a million deep is followed by a counter.
    const std::string deep = "[1029]" + std::string(1000000, '{') + std::string(1000000, '}');
    const std::vector<HelpSection> sections = SplitSections(deep + "[1031]{x}");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].group.size(), 2000000u);
}

TEST(StoredHelp, EditorLoadsTheKeysSection) {
    const std::string stored = "[1029]{cz}[1024]{default}";
    EXPECT_EQ(SelectSection(stored).text, "{default}");
    EXPECT_TRUE(SelectSection(stored).richText);
    EXPECT_EQ(SelectSection(stored, "[1029]").text, "{cz}");
    EXPECT_EQ(SelectSection(stored, "[1031]").text, "{default}");

    const EditorText onlyCzech = SelectSection("[1029]{\\rtf1 cz}");
    EXPECT_EQ(onlyCzech.text, "");
    EXPECT_TRUE(onlyCzech.richText);
    const EditorText markup = SelectSection("<mi><b>x");
    EXPECT_EQ(markup.text, "<mi><b>x");
    EXPECT_FALSE(markup.richText);
}

TEST(StoredHelp, EditorSavesItsSectionFirst) {
    EXPECT_EQ(MergeSection("[1029]{cz}[1024]{old}x[1031]{de}", "{new}"),
              "{new}[1029]{cz}[1031]{de}");
    EXPECT_EQ(MergeSection("plain text", "{new}"), "{new}");
    EXPECT_EQ(MergeSection("{old}", "{new}"), "{new}");
    EXPECT_EQ(MergeSection("{old}[1029]{cz}", "{new}", "[1029]"), "[1029]{new}[1024]{old}");
}

} // namespace
} // namespace pinsum
