#include "helptext/wx_canvas.h"

#include <wx/image.h>
#include <wx/settings.h>

#include "common/wx_text.h"

namespace pinsum::ui {

wxColour WxCanvas::Colour(uint32_t colourRef) {
    return wxColour(colourRef & 0xFF, (colourRef >> 8) & 0xFF, (colourRef >> 16) & 0xFF);
}

namespace {

bool DarkToolTips() {
    return wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK).GetLuminance() < 0.5;
}

} // namespace

wxColour WxCanvas::HelpBackground() {
    return DarkToolTips() ? wxColour(255, 255, 225)
                          : wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK);
}

wxColour WxCanvas::HelpText() {
    return DarkToolTips() ? *wxBLACK : wxSystemSettings::GetColour(wxSYS_COLOUR_INFOTEXT);
}

void WxCanvas::SelectFont(const FontSpec& font) {
    wxFontInfo info(font.pointTenths / 10.0);
    info.FaceName(wxString::FromUTF8(font.face))
        .Family(wxFONTFAMILY_SWISS)
        .Bold(font.weight >= 700)
        .Italic(font.italic)
        .Underlined(font.underline);
    m_dc.SetFont(wxFont(info));
}

TextExtent WxCanvas::MeasureText(std::string_view text) {
    wxCoord width = 0;
    wxCoord height = 0;
    m_dc.GetTextExtent(FromModel(text), &width, &height);
    return {width, height};
}

void WxCanvas::DrawText(int x, int y, std::string_view text) {
    m_dc.DrawText(FromModel(text), x, y);
}

void WxCanvas::SetTextColour(uint32_t colour) {
    m_dc.SetTextForeground(Colour(colour));
}

void WxCanvas::DrawBitmap(const Image& image, const LayoutRect& target) {
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (image.width <= 0 || image.height <= 0 || width <= 0 || height <= 0)
        return;
    wxImage picture(image.width, image.height, false);
    unsigned char* rgb = picture.GetData();
    for (const uint32_t pixel : image.pixels) {
        *rgb++ = pixel & 0xFF;
        *rgb++ = (pixel >> 8) & 0xFF;
        *rgb++ = (pixel >> 16) & 0xFF;
    }
    picture.Rescale(width, height, wxIMAGE_QUALITY_BILINEAR);
    m_dc.DrawBitmap(wxBitmap(picture), target.left, target.top);
}

void WxCanvas::FrameRect(const LayoutRect& rect) {
    m_dc.SetPen(wxPen(m_dc.GetTextForeground()));
    m_dc.SetBrush(*wxTRANSPARENT_BRUSH);
    m_dc.DrawRectangle(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

int WxCanvas::PixelsPerInchX() const {
    return m_dc.GetPPI().GetWidth();
}

int WxCanvas::PixelsPerInchY() const {
    return m_dc.GetPPI().GetHeight();
}

} // namespace pinsum::ui
