#include "helptext/rich_text_bridge.h"

#include <cmath>

#include "common/wx_text.h"

namespace pinsum::ui {
namespace {

wxRichTextAttr RunStyle(const RichTextRun& run) {
    wxRichTextAttr style;
    style.SetFontWeight(run.bold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
    style.SetFontStyle(run.italic ? wxFONTSTYLE_ITALIC : wxFONTSTYLE_NORMAL);
    style.SetFontUnderlined(run.underline);
    if (run.colour) {
        const uint32_t colour = *run.colour;
        style.SetTextColour(wxColour(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    }
    return style;
}

int ToPixels(int twips) {
    return std::max(1, static_cast<int>(std::lround(twips / static_cast<double>(kTwipsPerPixel))));
}

void ShowPicture(wxRichTextCtrl& control, const RichTextPicture& picture) {
    const wxImage image = ToWxImage(picture.image);
    if (!image.IsOk())
        return;
    wxRichTextAttr size;
    const int width = ToPixels(picture.widthTwips);
    const int height = ToPixels(picture.heightTwips);
    // A picture stored larger or smaller than its pixels is shown at its stored size.
    if (width != image.GetWidth() || height != image.GetHeight()) {
        size.GetTextBoxAttr().GetWidth().SetValue(width, wxTEXT_ATTR_UNITS_PIXELS);
        size.GetTextBoxAttr().GetHeight().SetValue(height, wxTEXT_ATTR_UNITS_PIXELS);
    }
    control.WriteImage(image, wxBITMAP_TYPE_PNG, size);
}

int DimensionPixels(const wxTextAttrDimension& dimension, int natural) {
    if (!dimension.IsValid() || dimension.GetValue() <= 0)
        return natural;
    switch (dimension.GetUnits()) {
    case wxTEXT_ATTR_UNITS_PIXELS:
        return dimension.GetValue();
    case wxTEXT_ATTR_UNITS_TENTHS_MM:
        return std::max(1, dimension.GetValue() * 96 / 254);
    default:
        return natural;
    }
}

void ReadText(RichTextDocument& document, const wxString& text, const wxRichTextAttr& style) {
    RichTextRun run;
    run.bold = style.HasFontWeight() && style.GetFontWeight() >= wxFONTWEIGHT_BOLD;
    run.italic = style.HasFontItalic() && style.GetFontStyle() != wxFONTSTYLE_NORMAL;
    run.underline = style.HasFontUnderlined() && style.GetFontUnderlined();
    if (style.HasTextColour() && style.GetTextColour().IsOk()) {
        const wxColour& colour = style.GetTextColour();
        run.colour = ColourRef(colour.Red(), colour.Green(), colour.Blue());
    }
    // A line break inside a paragraph (Shift+Enter) is stored as a new paragraph: the mark-up
    // knows only one kind of break.
    wxString piece;
    for (const wxUniChar c : text) {
        if (c == wxRichTextLineBreakChar) {
            run.text = ToModel(piece);
            document.Append(run);
            document.NewParagraph();
            piece.clear();
        } else {
            piece += c;
        }
    }
    run.text = ToModel(piece);
    document.Append(run);
}

void ReadPicture(RichTextDocument& document, wxRichTextImage& object) {
    wxImage image;
    if (!object.GetImageBlock().IsOk() || !object.GetImageBlock().Load(image) || !image.IsOk())
        return;
    const wxTextAttrSize& box = object.GetAttributes().GetTextBoxAttr().GetSize();
    const int width = DimensionPixels(box.GetWidth(), image.GetWidth());
    const int height = DimensionPixels(box.GetHeight(), image.GetHeight());
    document.Append(
        RichTextPicture{FromWxImage(image), width * kTwipsPerPixel, height * kTwipsPerPixel});
}

} // namespace

wxImage ToWxImage(const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height)
        return wxImage();
    wxImage out(image.width, image.height, false);
    unsigned char* rgb = out.GetData();
    for (const uint32_t colour : image.pixels) {
        *rgb++ = colour & 0xFF;
        *rgb++ = (colour >> 8) & 0xFF;
        *rgb++ = (colour >> 16) & 0xFF;
    }
    return out;
}

Image FromWxImage(const wxImage& source) {
    Image image;
    if (!source.IsOk())
        return image;
    image.width = source.GetWidth();
    image.height = source.GetHeight();
    image.pixels.reserve(static_cast<size_t>(image.width) * image.height);
    const unsigned char* rgb = source.GetData();
    const unsigned char* alpha = source.HasAlpha() ? source.GetAlpha() : nullptr;
    const bool masked = source.HasMask();
    // Transparent parts are shown on white, as the help tool-tip's background is.
    for (int i = 0; i < image.width * image.height; ++i, rgb += 3) {
        uint32_t red = rgb[0], green = rgb[1], blue = rgb[2];
        if (masked && red == source.GetMaskRed() && green == source.GetMaskGreen() &&
            blue == source.GetMaskBlue()) {
            red = green = blue = 255;
        } else if (alpha != nullptr) {
            const uint32_t a = alpha[i];
            red = (red * a + 255 * (255 - a)) / 255;
            green = (green * a + 255 * (255 - a)) / 255;
            blue = (blue * a + 255 * (255 - a)) / 255;
        }
        image.pixels.push_back(ColourRef(red, green, blue));
    }
    return image;
}

void ShowDocument(wxRichTextCtrl& control, const RichTextDocument& document) {
    control.BeginSuppressUndo();
    control.Clear();
    bool first = true;
    for (const RichTextParagraph& paragraph : document.paragraphs) {
        if (!first)
            control.Newline();
        first = false;
        for (const RichTextItem& item : paragraph.items) {
            if (const auto* run = std::get_if<RichTextRun>(&item)) {
                // An empty style first: a non-empty one is merged into the one before it.
                control.SetDefaultStyle(wxRichTextAttr());
                control.SetDefaultStyle(RunStyle(*run));
                control.WriteText(FromModel(run->text));
            } else {
                control.SetDefaultStyle(wxRichTextAttr());
                ShowPicture(control, std::get<RichTextPicture>(item));
            }
        }
    }
    control.SetDefaultStyle(wxRichTextAttr());
    control.EndSuppressUndo();
    control.SetInsertionPoint(0);
    control.SelectNone();
    control.DiscardEdits();
}

RichTextDocument ReadDocument(wxRichTextCtrl& control) {
    // dynamic_cast, as wxDynamicCast converts the pointer before it checks the class.
    RichTextDocument document;
    for (wxRichTextObject* object : control.GetBuffer().GetChildren()) {
        auto* paragraph = dynamic_cast<wxRichTextParagraph*>(object);
        if (paragraph == nullptr)
            continue;
        document.NewParagraph();
        for (wxRichTextObject* child : paragraph->GetChildren()) {
            if (auto* text = dynamic_cast<wxRichTextPlainText*>(child)) {
                // The paragraph's own style under the run's: the buffer's basic style (the
                // control's font and black) is no choice of the author's.
                wxRichTextAttr style = paragraph->GetAttributes();
                style.Apply(text->GetAttributes());
                ReadText(document, text->GetText(), style);
            } else if (auto* picture = dynamic_cast<wxRichTextImage*>(child)) {
                ReadPicture(document, *picture);
            }
        }
    }
    if (document.paragraphs.empty())
        document.NewParagraph();
    return document;
}

} // namespace pinsum::ui
