#include "helptext/help_markup.h"

#include <vector>

#include "helptext/rtf_converter.h"
#include "helptext/stored_help.h"

namespace pinsum {

std::string ToMarkup(std::string_view stored, Messenger* messenger) {
    if (DetectHelpForm(stored) != HelpForm::RichText)
        return std::string(stored);
    const std::vector<HelpSection> sections = SplitSections(stored);
    if (sections.empty())
        return std::string();
    const HelpSection* section = FindSection(sections, CurrentLanguageKey());
    return RtfConverter(messenger).Convert(section != nullptr ? section->group
                                                              : sections.back().group);
}

} // namespace pinsum
