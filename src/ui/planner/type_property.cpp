#include "planner/type_property.h"

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "common/dialog_units.h"
#include "common/ui_ids.h"
#include "common/ui_images.h"
#include "common/ui_texts.h"
#include "common/wx_text.h"
#include "model/cio_line.h"
#include "model/cio_type.h"

namespace pinsum::ui {
namespace {

// Image of the tree's list on a 16 x 15 bitmap in the button-face colour.
wxBitmap TreeImage(int index) {
    const std::unique_ptr<wxImageList> images = CreateTreeImageList();
    wxBitmap bitmap(16, 15);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    images->Draw(index, dc, 0, 0, wxIMAGELIST_DRAW_TRANSPARENT);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

} // namespace

wxSize FieldSize(wxWindow* parent, int width) {
    const wxSize size = DialogSize(parent, width < 0 ? 0 : width, 12);
    return wxSize(width < 0 ? -1 : size.GetWidth(), size.GetHeight());
}

wxSizer* NameRow(wxWindow* parent, wxTextCtrl*& field) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(parent, wxID_ANY, Text(UiText::LabelName)), 0,
             wxALIGN_CENTRE_VERTICAL | wxRIGHT, 5);
    field = new wxTextCtrl(parent, ID_NAME, wxString(), wxDefaultPosition, FieldSize(parent, -1));
    row->Add(field, 1, wxALIGN_CENTRE_VERTICAL);
    return row;
}

wxSizer* OkCancelColumn(wxWindow* parent) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    const wxSize size = DialogSize(parent, 61, 14);
    column->Add(new wxButton(parent, wxID_OK, Text(UiText::ButtonOk), wxDefaultPosition, size), 0,
                wxEXPAND | wxBOTTOM, 6);
    column->Add(
        new wxButton(parent, wxID_CANCEL, Text(UiText::ButtonCancel), wxDefaultPosition, size), 0,
        wxEXPAND);
    return column;
}

CioTypeProperty::CioTypeProperty(wxWindow* parent, const CioType& object)
    : CHelpEditor(parent, Text(UiText::TypePropertyCaption), object.help), m_name(object.name),
      m_category(object.Category()), m_isRequired((object.flags & FLAG_REQUIRED) != 0) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(NameRow(this, m_nameField), 0, wxEXPAND | wxALL, 7);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    body->Add(CreateHelpPane(this, 210, 150), 1, wxEXPAND | wxRIGHT, 7);
    auto* side = new wxBoxSizer(wxVERTICAL);
    auto* icon = new wxStaticBoxSizer(wxVERTICAL, this, Text(UiText::GroupIcon));
    m_ordinary = new wxRadioButton(icon->GetStaticBox(), ID_CATEGORY_ORDINARY, wxString(),
                                   wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_terminal = new wxRadioButton(icon->GetStaticBox(), ID_CATEGORY_TERMINAL, wxString());
    for (auto [radio, image, id] : {std::tuple{m_ordinary, 4, ID_IMAGE_ORDINARY},
                                    std::tuple{m_terminal, 8, ID_IMAGE_TERMINAL}}) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(radio, 0, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 4);
        row->Add(new wxStaticBitmap(icon->GetStaticBox(), id, TreeImage(image)), 0,
                 wxALIGN_CENTRE_VERTICAL);
        icon->Add(row, 0, wxALL, 3);
    }
    side->Add(icon, 0, wxEXPAND | wxBOTTOM, 7);
    auto* rules = new wxStaticBoxSizer(wxVERTICAL, this, Text(UiText::GroupRules));
    m_required = new wxCheckBox(rules->GetStaticBox(), ID_REQUIRED, Text(UiText::CheckRequired));
    rules->Add(m_required, 0, wxALL, 3);
    side->Add(rules, 0, wxEXPAND | wxBOTTOM, 7);
    side->AddStretchSpacer();
    side->Add(OkCancelColumn(this), 0, wxEXPAND);
    body->Add(side, 0, wxEXPAND);
    column->Add(body, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 7);
    SetSizerAndFit(column);
}

bool CioTypeProperty::TransferDataToWindow() {
    m_nameField->ChangeValue(FromModel(m_name));
    (m_category == 0 ? m_ordinary : m_terminal)->SetValue(true);
    m_required->SetValue(m_isRequired);
    return CHelpEditor::TransferDataToWindow();
}

bool CioTypeProperty::TransferDataFromWindow() {
    if (!CHelpEditor::TransferDataFromWindow())
        return false;
    m_name = ToModel(m_nameField->GetValue());
    m_category = m_terminal->GetValue() ? 1 : 0;
    m_isRequired = m_required->GetValue();
    return true;
}

void CioTypeProperty::ApplyTo(CioType& object) const {
    object.name = m_name;
    object.help = Help();
    object.SetCategory(m_category);
    object.flags = m_isRequired ? object.flags | FLAG_REQUIRED : object.flags & ~FLAG_REQUIRED;
}

CioLineProperty::CioLineProperty(wxWindow* parent, const CioLine& series)
    : CHelpEditor(parent, Text(UiText::LinePropertyCaption), series.help), m_name(series.name),
      m_isDefault((series.flags & FLAG_DEFAULT) != 0),
      m_isExclusive((series.flags & FLAG_EXCLUSIVE) != 0) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(NameRow(this, m_nameField), 0, wxEXPAND | wxALL, 7);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    body->Add(CreateHelpPane(this, 210, 138), 1, wxEXPAND | wxRIGHT, 7);
    auto* side = new wxBoxSizer(wxVERTICAL);
    m_default = new wxCheckBox(this, ID_OFFER_DEFAULT, Text(UiText::CheckOfferDefault));
    m_exclusive = new wxCheckBox(this, ID_EXCLUSIVE, Text(UiText::CheckExclusive));
    side->Add(m_default, 0, wxBOTTOM, 6);
    side->Add(m_exclusive, 0, wxBOTTOM, 7);
    side->AddStretchSpacer();
    side->Add(OkCancelColumn(this), 0, wxEXPAND);
    body->Add(side, 0, wxEXPAND);
    column->Add(body, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 7);
    SetSizerAndFit(column);
}

bool CioLineProperty::TransferDataToWindow() {
    m_nameField->ChangeValue(FromModel(m_name));
    m_default->SetValue(m_isDefault);
    m_exclusive->SetValue(m_isExclusive);
    return CHelpEditor::TransferDataToWindow();
}

bool CioLineProperty::TransferDataFromWindow() {
    if (!CHelpEditor::TransferDataFromWindow())
        return false;
    m_name = ToModel(m_nameField->GetValue());
    m_isDefault = m_default->GetValue();
    m_isExclusive = m_exclusive->GetValue();
    return true;
}

void CioLineProperty::ApplyTo(CioLine& series) const {
    series.name = m_name;
    series.help = Help();
    series.flags &= ~(FLAG_DEFAULT | FLAG_EXCLUSIVE);
    if (m_isDefault)
        series.flags |= FLAG_DEFAULT;
    if (m_isExclusive)
        series.flags |= FLAG_EXCLUSIVE;
}

} // namespace pinsum::ui
