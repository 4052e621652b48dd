#include "planner/variant_property.h"

#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "common/dialog_units.h"
#include "common/ui_ids.h"
#include "common/ui_images.h"
#include "common/ui_texts.h"
#include "common/wx_text.h"
#include "model/cio_db.h"
#include "model/cio_modul.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"
#include "planner/list_dialog.h"
#include "planner/type_property.h"

namespace pinsum::ui {

int InsertPosition(int selected, bool after) {
    if (selected < 0)
        return 0;
    return after ? selected + 1 : selected;
}

CioVariantProperty::CioVariantProperty(wxWindow* parent, const CioVariant& variant,
                                       const CioDb* database, const CioModul* owner)
    : CHelpEditor(parent, Text(UiText::VariantPropertyCaption), variant.help), m_name(variant.name),
      m_rules(variant.rules.entries) {
    // Every variant of every other module, then the empty variant.
    if (database != nullptr) {
        for (const auto& child : database->modules.children) {
            const auto* module = dynamic_cast<const CioModul*>(child.get());
            if (module == nullptr || module == owner)
                continue;
            for (const auto& entry : module->children) {
                m_targets.push_back(entry.get());
                m_targetTexts.push_back(FromModel(module->name + "[" + entry->name + "]"));
            }
        }
    }
    m_targets.push_back(&EmptyVariant());
    m_targetTexts.push_back(FromModel(EmptyModule().name + "[" + EmptyModule().name + "]"));

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(NameRow(this, m_nameField), 0, wxEXPAND | wxALL, 7);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    auto* rules = new wxBoxSizer(wxVERTICAL);
    rules->Add(new wxStaticText(this, wxID_ANY, Text(UiText::LabelRules)), 0, wxBOTTOM, 3);
    m_list = new NumberedList(this, ID_RULE_LIST, Text(UiText::ColumnVariant),
                              DialogSize(this, 150, 140));
    rules->Add(m_list, 1, wxEXPAND);
    body->Add(rules, 0, wxEXPAND | wxRIGHT, 7);
    auto* help = new wxBoxSizer(wxVERTICAL);
    help->Add(new wxStaticText(this, wxID_ANY, Text(UiText::LabelVariantHelp)), 0, wxBOTTOM, 3);
    help->Add(CreateHelpPane(this, 180, 130), 1, wxEXPAND);
    body->Add(help, 1, wxEXPAND | wxRIGHT, 7);
    body->Add(OkCancelColumn(this), 0);
    column->Add(body, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 7);
    SetSizerAndFit(column);

    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { InsertRule(false); }, MenuId(ID_INSERT_POINT_BEFORE));
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { InsertRule(true); }, MenuId(ID_INSERT_POINT_AFTER));
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { DeleteRule(); }, MenuId(ID_DELETE_POINT));
    for (const int command : {ID_INSERT_POINT_BEFORE, ID_INSERT_POINT_AFTER, ID_DELETE_POINT})
        Bind(wxEVT_UPDATE_UI, &CioVariantProperty::OnUpdateCommand, this, MenuId(command));
    m_list->Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent&) {
        m_list->SetFocus();
        wxMenu menu;
        for (auto [command, text] :
             {std::pair{ID_INSERT_POINT_BEFORE, UiText::MenuInsertRuleBefore},
              std::pair{ID_INSERT_POINT_AFTER, UiText::MenuInsertRuleAfter},
              std::pair{ID_DELETE_POINT, UiText::MenuDeleteRule}}) {
            auto* item = new wxMenuItem(&menu, MenuId(command), Text(text));
            item->SetBitmap(CommandImage(command));
            menu.Append(item);
        }
        m_list->PopupMenu(&menu);
    });
    m_list->Bind(wxEVT_LIST_KEY_DOWN, [this](wxListEvent& event) {
        if (event.GetKeyCode() == WXK_INSERT)
            InsertRule(true);
        else if (event.GetKeyCode() == WXK_DELETE)
            DeleteRule();
        else
            event.Skip();
    });
}

wxString CioVariantProperty::RuleText(const CioType* target) const {
    for (size_t i = 0; i < m_targets.size(); ++i)
        if (m_targets[i] == target)
            return m_targetTexts[i];
    // A rule against a variant outside the table (of this module, from an imported file).
    return target != nullptr ? FromModel(target->name) : wxString();
}

void CioVariantProperty::ShowRules(int select) {
    std::vector<wxString> texts;
    for (const CioType* rule : m_rules)
        texts.push_back(RuleText(rule));
    m_list->ShowRows(texts, select);
}

bool CioVariantProperty::TransferDataToWindow() {
    m_nameField->ChangeValue(FromModel(m_name));
    ShowRules(0);
    return CHelpEditor::TransferDataToWindow();
}

bool CioVariantProperty::TransferDataFromWindow() {
    if (!CHelpEditor::TransferDataFromWindow())
        return false;
    m_name = ToModel(m_nameField->GetValue());
    return true;
}

void CioVariantProperty::ApplyTo(CioVariant& variant) const {
    variant.name = m_name;
    variant.help = Help();
    variant.rules.RemoveAll();
    variant.rules.entries = m_rules;
    variant.rules.resolved = 1;
}

void CioVariantProperty::InsertRule(bool after) {
    CioRuleProperty picker(this, m_targetTexts);
    if (picker.ShowModal() != wxID_OK)
        return;
    const int picked = picker.Picked();
    if (picked < 0 || picked >= static_cast<int>(m_targets.size()))
        return;
    const int at = InsertPosition(m_list->Selected(), after);
    m_rules.insert(m_rules.begin() + std::min<size_t>(at, m_rules.size()), m_targets[picked]);
    ShowRules(at);
}

void CioVariantProperty::DeleteRule() {
    const int row = m_list->Selected();
    if (row < 0 || row >= static_cast<int>(m_rules.size()))
        return;
    m_rules.erase(m_rules.begin() + row);
    ShowRules(row);
}

void CioVariantProperty::OnUpdateCommand(wxUpdateUIEvent& event) {
    const bool focused = m_list->HasFocusWithin();
    event.Enable(focused &&
                 (CommandOfMenuId(event.GetId()) != ID_DELETE_POINT || !m_rules.empty()));
}

} // namespace pinsum::ui
