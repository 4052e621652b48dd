#include "helptext/stored_help.h"

#include <algorithm>

namespace pinsum {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsKeyAt(std::string_view text, size_t pos) {
    return text.size() - pos >= kDefaultLanguageKey.size() && text[pos] == '[' &&
           std::all_of(text.begin() + pos + 1, text.begin() + pos + 5, IsDigit) &&
           text[pos + 5] == ']';
}

bool IsMarkerAt(std::string_view text, size_t pos) {
    constexpr std::string_view kMarker = "<mi>";
    if (text.size() - pos < kMarker.size())
        return false;
    for (size_t i = 0; i < kMarker.size(); ++i) {
        const char c = text[pos + i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != kMarker[i])
            return false;
    }
    return true;
}

// The position after the "}" that closes the group opened at pos, or the end of the text.
size_t GroupEnd(std::string_view text, size_t pos) {
    size_t depth = 0;
    for (size_t at = pos; at < text.size(); ++at) {
        if (text[at] == '\\')
            ++at;
        else if (text[at] == '{')
            ++depth;
        else if (text[at] == '}' && --depth == 0)
            return at + 1;
    }
    return text.size();
}

void AddSection(std::vector<HelpSection>& sections, std::string key, std::string_view group) {
    const auto same = std::find_if(sections.begin(), sections.end(),
                                   [&](const HelpSection& s) { return s.key == key; });
    if (same != sections.end())
        same->group = group;
    else
        sections.push_back({std::move(key), std::string(group)});
}

} // namespace

HelpForm DetectHelpForm(std::string_view stored) {
    for (size_t at = 0; at < stored.size(); ++at) {
        const char c = stored[at];
        if (c == '<' && IsMarkerAt(stored, at))
            return HelpForm::Markup;
        // A bracket in a text that holds no group at all is ordinary text, not a section key.
        if (c == '{' || (c == '[' && stored.find('{', at) != std::string_view::npos))
            return HelpForm::RichText;
        if (c == '[')
            return HelpForm::Plain;
    }
    return HelpForm::Plain;
}

std::string_view CurrentLanguageKey() {
    return kDefaultLanguageKey;
}

std::vector<HelpSection> SplitSections(std::string_view stored) {
    std::vector<HelpSection> sections;
    std::string key(kDefaultLanguageKey);
    size_t at = 0;
    for (;;) {
        at = stored.find_first_of("[{", at);
        if (at == std::string_view::npos)
            break;
        if (stored[at] == '[') {
            const bool valid = IsKeyAt(stored, at);
            key = valid ? stored.substr(at, kDefaultLanguageKey.size()) : kDefaultLanguageKey;
            at += valid ? kDefaultLanguageKey.size() : 1;
            continue;
        }
        const size_t end = GroupEnd(stored, at);
        AddSection(sections, key, stored.substr(at, end - at));
        key = kDefaultLanguageKey;
        at = stored.find('[', end);
    }
    return sections;
}

const HelpSection* FindSection(const std::vector<HelpSection>& sections, std::string_view key) {
    for (const std::string_view wanted : {key, kDefaultLanguageKey})
        for (const HelpSection& section : sections)
            if (section.key == wanted)
                return &section;
    return nullptr;
}

EditorText SelectSection(std::string_view stored, std::string_view key) {
    if (DetectHelpForm(stored) != HelpForm::RichText)
        return {std::string(stored), false};
    const std::vector<HelpSection> sections = SplitSections(stored);
    const HelpSection* section = FindSection(sections, key);
    return {section != nullptr ? section->group : std::string(), true};
}

std::string MergeSection(std::string_view stored, std::string_view editorRichText,
                         std::string_view key) {
    std::string merged(key == kDefaultLanguageKey ? std::string_view() : key);
    merged += editorRichText;
    if (DetectHelpForm(stored) != HelpForm::RichText)
        return merged;
    for (const HelpSection& section : SplitSections(stored))
        if (section.key != key)
            merged += section.key + section.group;
    return merged;
}

} // namespace pinsum
