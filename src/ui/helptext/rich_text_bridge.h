#pragma once

#include <wx/image.h>
#include <wx/richtext/richtextctrl.h>

#include "helptext/rich_text_document.h"
#include "picture/image.h"

namespace pinsum::ui {

// The help editor's control and the engine's rich-text document hold the same things: paragraphs
// of text that is bold, italic, underlined or coloured, and pictures. These move one into the
// other, so that what the author sees is what the engine stores.

// Replaces the control's content with the document's, without undo history, caret at the start.
void ShowDocument(wxRichTextCtrl& control, const RichTextDocument& document);
// The control's content. Text in the automatic colour has none; a picture keeps its pixels and
// the size it is shown at.
RichTextDocument ReadDocument(wxRichTextCtrl& control);

// Twips per screen pixel at the 96 pixels per inch the help's sizes assume.
constexpr int kTwipsPerPixel = 15;

wxImage ToWxImage(const Image& image);
Image FromWxImage(const wxImage& image);

} // namespace pinsum::ui
