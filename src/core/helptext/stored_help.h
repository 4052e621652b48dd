#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pinsum {

// How a help text is stored.
enum class HelpForm {
    Plain,    // shown as it is
    Markup,   // "<mi>" (any case) before the first "{" or "["; shown as it is
    RichText, // language sections, each an optional key and one rich-text group
};

HelpForm DetectHelpForm(std::string_view stored);

// Section keys are "[" four decimal digits "]"; a section without one has the default key.
inline constexpr std::string_view kDefaultLanguageKey = "[1024]";

// The language whose section the editor loads and saves; nothing in the program changes it.
std::string_view CurrentLanguageKey();

struct HelpSection {
    std::string key;
    std::string group; // from its "{" to its matching "}", or to the end of an unclosed group
};

// The sections of a rich-text help in order of first appearance; a later section with the same
// key replaces the earlier one's group.
std::vector<HelpSection> SplitSections(std::string_view stored);

// The section of the key, else the default section; nullptr when there is neither.
const HelpSection* FindSection(const std::vector<HelpSection>& sections, std::string_view key);

// What the editor loads: the rich text of the key's section (else the default one, else empty),
// or a plain or mark-up help as plain text.
struct EditorText {
    std::string text;
    bool richText = false;
};
EditorText SelectSection(std::string_view stored, std::string_view key = CurrentLanguageKey());

// What the editor saves: its rich text as the key's section, first, then every other stored
// section with its key. The default key's section is written without its key.
std::string MergeSection(std::string_view stored, std::string_view editorRichText,
                         std::string_view key = CurrentLanguageKey());

} // namespace pinsum
