#pragma once

#include <wx/docview.h>

#include "model/tree_control.h"

class CCalcDoc;

namespace pinsum::ui {
class ViewCalculatorPanel;
}

// The calculator view: the calculator's form in a frame of the host's document framework, bound
// to a CCalcDoc; the search runs behind the modal progress dialog. Exported with its run-time
// class, so a host creates it by the name "CCalcView".
class CCalcView : public wxView {
public:
    CCalcView() = default;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC* dc) override;
    void OnUpdate(wxView* sender, wxObject* hint = nullptr) override;
    bool OnClose(bool deleteWindow = true) override;

    CCalcDoc* Document() const;
    pinsum::ui::ViewCalculatorPanel* Form() const { return m_form; }

    void UpdateCheckList(bool toObjects);
    void UpdateResultDirect(int number);
    void EnableButtons();
    void ClearIoNode(pinsum::TreeItem item);
    void ClearTerminalNode(pinsum::TreeItem item);
    void GotoDlgCtrl(wxWindow* control);

private:
    void OnFormFocus(wxChildFocusEvent& event);

    pinsum::ui::ViewCalculatorPanel* m_form = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CCalcView);
};
