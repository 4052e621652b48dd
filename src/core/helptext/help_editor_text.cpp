#include "helptext/help_editor_text.h"

#include "helptext/rich_text_reader.h"
#include "helptext/stored_help.h"

namespace pinsum {

RichTextDocument LoadHelpDocument(std::string_view stored) {
    const EditorText text = SelectSection(stored);
    if (text.richText)
        return ReadRichText(text.text);
    RichTextDocument document;
    document.NewParagraph();
    RichTextRun run;
    for (const char c : text.text) {
        if (c == '\n') {
            document.Append(run);
            document.NewParagraph();
            run.text.clear();
        } else if (c != '\r') {
            run.text += c;
        }
    }
    document.Append(run);
    return document;
}

std::string SaveHelpDocument(std::string_view stored, const RichTextDocument& document) {
    if (document.IsEmpty())
        return std::string();
    return MergeSection(stored, document.ToRichText());
}

} // namespace pinsum
