#include "controls/colour_picker.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include "common/dialog_units.h"
#include "common/screen_placement.h"
#include "common/ui_texts.h"

namespace pinsum::ui {
namespace {

constexpr int kColumns = 4;
constexpr int kSwatch = 22;
constexpr int kGap = 4;

} // namespace

class CColourPickDialog::Swatches : public wxWindow {
public:
    Swatches(wxWindow* parent, int chosen)
        : wxWindow(parent, wxID_ANY, wxDefaultPosition, GridSize(), wxWANTS_CHARS),
          m_chosen(chosen) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, &Swatches::OnPaint, this);
        Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
            Choose(At(event.GetPosition()));
            SetFocus();
        });
        Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& event) {
            if (Choose(At(event.GetPosition())))
                if (auto* dialog = dynamic_cast<wxDialog*>(GetParent()))
                    dialog->EndModal(wxID_OK);
        });
        Bind(wxEVT_KEY_DOWN, &Swatches::OnKey, this);
    }

    int Chosen() const { return m_chosen; }
    bool Choose(int index) {
        if (index < 0 || index >= static_cast<int>(Palette().size()))
            return false;
        m_chosen = index;
        Refresh();
        return true;
    }

private:
    static wxSize GridSize() {
        const int rows = (static_cast<int>(Palette().size()) + kColumns - 1) / kColumns;
        return wxSize(kColumns * (kSwatch + kGap) + kGap, rows * (kSwatch + kGap) + kGap);
    }
    static wxRect Cell(int index) {
        return wxRect(kGap + (index % kColumns) * (kSwatch + kGap),
                      kGap + (index / kColumns) * (kSwatch + kGap), kSwatch, kSwatch);
    }
    static int At(const wxPoint& point) {
        for (int i = 0; i < static_cast<int>(Palette().size()); ++i)
            if (Cell(i).Contains(point))
                return i;
        return -1;
    }

    void OnPaint(wxPaintEvent&) {
        wxAutoBufferedPaintDC dc(this);
        dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
        dc.Clear();
        for (int i = 0; i < static_cast<int>(Palette().size()); ++i) {
            const wxRect cell = Cell(i);
            if (i == m_chosen) {
                dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT), 2));
                dc.SetBrush(*wxTRANSPARENT_BRUSH);
                dc.DrawRectangle(wxRect(cell).Inflate(2));
            }
            dc.SetPen(*wxBLACK_PEN);
            dc.SetBrush(wxBrush(Palette()[i]));
            dc.DrawRectangle(cell);
        }
    }

    void OnKey(wxKeyEvent& event) {
        const int count = static_cast<int>(Palette().size());
        int next = m_chosen < 0 ? 0 : m_chosen;
        switch (event.GetKeyCode()) {
        case WXK_LEFT:
            next -= 1;
            break;
        case WXK_RIGHT:
            next += 1;
            break;
        case WXK_UP:
            next -= kColumns;
            break;
        case WXK_DOWN:
            next += kColumns;
            break;
        default:
            event.Skip();
            return;
        }
        Choose(std::clamp(next, 0, count - 1));
    }

    int m_chosen;
};

const std::vector<wxColour>& CColourPickDialog::Palette() {
    static const std::vector<wxColour> palette = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
        {192, 192, 192}, {255, 0, 0},   {0, 192, 0},   {255, 128, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 160, 224}, {255, 255, 255},
    };
    return palette;
}

CColourPickDialog::CColourPickDialog(wxWindow* parent, const wxColour& initial)
    : wxDialog(parent, wxID_ANY, Text(UiText::ColourCaption)) {
    UseDialogFont(this);
    int chosen = -1;
    for (size_t i = 0; i < Palette().size(); ++i)
        if (initial.IsOk() && Palette()[i].GetRGB() == initial.GetRGB())
            chosen = static_cast<int>(i);
    m_swatches = new Swatches(this, chosen);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(m_swatches, 0, wxALL | wxALIGN_CENTRE_HORIZONTAL, 6);
    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, Text(UiText::ButtonOk)));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, Text(UiText::ButtonCancel)));
    buttons->Realize();
    column->Add(buttons, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 6);
    SetSizerAndFit(column);
    MoveToMouse(*this);
    m_swatches->SetFocus();
}

wxColour CColourPickDialog::Colour() const {
    const int chosen = m_swatches->Chosen();
    return chosen >= 0 ? Palette()[chosen] : wxColour();
}

bool CColourPickDialog::Choose(const wxColour& colour) {
    for (size_t i = 0; i < Palette().size(); ++i)
        if (Palette()[i].GetRGB() == colour.GetRGB())
            return m_swatches->Choose(static_cast<int>(i));
    return false;
}

} // namespace pinsum::ui
