#include "calc/calc_view.h"

#include <wx/app.h>
#include <wx/docmdi.h>
#include <wx/sizer.h>

#include "calc/calc_doc.h"
#include "calc/compile_dialog.h"
#include "calc/view_calculator_panel.h"
#include "exact/exact_solver.h"
#include "model/cio_project.h"
#include "solver/search_level.h"

using namespace pinsum;
using namespace pinsum::ui;

wxIMPLEMENT_DYNAMIC_CLASS(CCalcView, wxView);

namespace pinsum::ui {

ViewCalculatorPanel::ViewCalculatorPanel(wxWindow* parent, CCalcView& view)
    : CalculatorPanel(parent, false), m_view(view) {}

void ViewCalculatorPanel::StartSearch(SearchMode mode) {
    ToolTip().HideTip();
    if (Project() == nullptr || !ReadControls(false))
        return;
    UpdateCheckList(true);
    List()->DeleteAllRows();
    Caption()->SetLabel(wxString());
    {
        CbcExactStep exact;
        CIoCompileDialog dialog(this, Project(), Level(),
                                mode == SearchMode::WithExact ? &exact : nullptr);
        dialog.ShowModal();
    }
    ShowSolution(0);
    EnableButtons();
}

void ViewCalculatorPanel::OnModified() {
    if (wxDocument* document = m_view.GetDocument())
        document->Modify(true);
}

bool ViewCalculatorPanel::IsModified() const {
    const wxDocument* document = m_view.GetDocument();
    return document != nullptr && document->IsModified();
}

} // namespace pinsum::ui

bool CCalcView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags))
        return false;
    wxWindow* parent = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
    wxFrame* frame = nullptr;
    if (auto* mdiParent = dynamic_cast<wxDocMDIParentFrame*>(parent))
        frame = new wxDocMDIChildFrame(doc, this, mdiParent, wxID_ANY, doc->GetUserReadableName());
    else
        frame = new wxDocChildFrame(doc, this, dynamic_cast<wxFrame*>(parent), wxID_ANY,
                                    doc->GetUserReadableName());
    m_form = new ViewCalculatorPanel(frame, *this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_form, 1, wxEXPAND);
    frame->SetSizerAndFit(sizer);
    SetFrame(frame);
    // Bound to the view's method, so that wx drops it when the view goes before its frame.
    m_form->Bind(wxEVT_CHILD_FOCUS, &CCalcView::OnFormFocus, this);
    frame->Show();
    return true;
}

void CCalcView::OnFormFocus(wxChildFocusEvent& event) {
    // The document manager sends the host's commands (Save, Close, Print) to the active view; a
    // click into the form makes this one active even where no window manager activates frames.
    Activate(true);
    event.Skip();
}

void CCalcView::OnDraw(wxDC*) {}

CCalcDoc* CCalcView::Document() const {
    return dynamic_cast<CCalcDoc*>(GetDocument());
}

void CCalcView::OnUpdate(wxView*, wxObject*) {
    if (m_form == nullptr)
        return;
    CCalcDoc* document = Document();
    m_form->SetProject(document != nullptr ? document->Project() : nullptr);
    m_form->SetLevel(SearchLevel());
    m_form->FillFromProject();
    // A document from a file shows the check marks it was saved with.
    if (document != nullptr && document->GetDocumentSaved())
        m_form->PostUpdateTree(kNoItem);
}

bool CCalcView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow))
        return false;
    Activate(false);
    if (m_form != nullptr)
        m_form->SetProject(nullptr);
    if (deleteWindow && GetFrame() != nullptr) {
        GetFrame()->Destroy();
        SetFrame(nullptr);
        m_form = nullptr;
    }
    return true;
}

void CCalcView::UpdateCheckList(bool toObjects) {
    if (m_form != nullptr)
        m_form->UpdateCheckList(toObjects);
}

void CCalcView::UpdateResultDirect(int number) {
    if (m_form != nullptr)
        m_form->UpdateResultDirect(number);
}

void CCalcView::EnableButtons() {
    if (m_form != nullptr)
        m_form->EnableButtons();
}

void CCalcView::ClearIoNode(TreeItem item) {
    if (m_form != nullptr)
        m_form->ClearIoNode(item);
}

void CCalcView::ClearTerminalNode(TreeItem item) {
    if (m_form != nullptr)
        m_form->ClearTerminalNode(item);
}

void CCalcView::GotoDlgCtrl(wxWindow* control) {
    if (control != nullptr)
        control->SetFocus();
}
