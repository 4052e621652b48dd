#pragma once

#include "calc/calculator_panel.h"

class CCalcView;

namespace pinsum::ui {

// The form as the calculator view uses it: the search behind the progress dialog, edits marking
// the document modified.
class ViewCalculatorPanel : public CalculatorPanel {
public:
    ViewCalculatorPanel(wxWindow* parent, CCalcView& view);

    // "Spustit", 52109 and "Nejlevnější řešení".
    void StartSearch(SearchMode mode) override;

protected:
    void OnModified() override;
    bool IsModified() const override;

private:
    CCalcView& m_view;
};

} // namespace pinsum::ui
