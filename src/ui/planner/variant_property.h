#pragma once

#include <string>
#include <vector>

#include <wx/textctrl.h>

#include "helptext/help_editor.h"
#include "planner/numbered_list.h"

namespace pinsum {
class CioDb;
class CioModul;
class CioType;
class CioVariant;
} // namespace pinsum

namespace pinsum::ui {

// "Vlastnosti varianty modulu" (dialog 4056): name, help and the rules of a module's IO variant,
// that is the variants of other modules that must not be used together with it. Each rule
// target is shown as "module[variant]"; the empty variant as "--[--]".
class CioVariantProperty : public CHelpEditor {
public:
    // owner is the module whose dialog opened this one: its own variants are no targets.
    CioVariantProperty(wxWindow* parent, const CioVariant& variant, const CioDb* database,
                       const CioModul* owner);

    // Name, help and the rules in row order.
    void ApplyTo(CioVariant& variant) const;

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // Commands 52076, 52077 and 52080 on the rule list.
    void InsertRule(bool after);
    void DeleteRule();

    wxTextCtrl* NameField() const { return m_nameField; }
    NumberedList* Rules() const { return m_list; }
    const std::vector<wxString>& TargetTexts() const { return m_targetTexts; }

private:
    wxString RuleText(const CioType* target) const;
    void ShowRules(int select);
    void OnUpdateCommand(wxUpdateUIEvent& event);

    std::string m_name;
    std::vector<CioType*> m_rules;
    std::vector<CioType*> m_targets;
    std::vector<wxString> m_targetTexts;
    wxTextCtrl* m_nameField;
    NumberedList* m_list;
};

// Where a row goes for "before" and "after" the selected row: before it or after it, and first
// when no row is selected.
int InsertPosition(int selected, bool after);

} // namespace pinsum::ui
