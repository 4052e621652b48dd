#include "planner/planner_doc.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/treectrl.h>

#include "common/ui_images.h"
#include "common/ui_texts.h"
#include "common/wx_messenger.h"
#include "controls/wx_tree_control.h"
#include "host/file_io.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"

using namespace pinsum;
using namespace pinsum::ui;

wxIMPLEMENT_DYNAMIC_CLASS(CPlannerDoc, wxDocument);
wxIMPLEMENT_DYNAMIC_CLASS(CPlannerView, wxView);

namespace {

void ShowProblem(const wxString& text) {
    wxMessageDialog box(wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr, text,
                        Text(UiText::PlannerDocument), wxOK | wxICON_ERROR);
    box.ShowModal();
}

} // namespace

CPlannerDoc::CPlannerDoc() = default;
CPlannerDoc::~CPlannerDoc() = default;

bool CPlannerDoc::DoSaveDocument(const wxString& file) {
    try {
        ArchiveWriter writer;
        StoreDatabaseFile(writer, m_database.get());
        WriteFileAtomic(file.utf8_string(), writer.Bytes());
    } catch (const std::exception& e) {
        ShowProblem(Format(UiText::FileNotSaved, {e.what()}));
        return false;
    }
    return true;
}

bool CPlannerDoc::DoOpenDocument(const wxString& file) {
    std::unique_ptr<CioDb> loaded;
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(file.utf8_string());
        ArchiveReader reader(bytes, file.utf8_string());
        WxMessenger messenger;
        reader.messenger = &messenger;
        LoadDatabaseFile(reader, loaded);
    } catch (const std::exception& e) {
        ShowProblem(Format(UiText::FileUnreadable, {e.what()}));
        return false;
    }
    m_database = std::move(loaded);
    return true;
}

class CPlannerView::Tree {
public:
    explicit Tree(wxWindow* parent)
        : control(new wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(360, 480),
                                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT)),
          tree(*control, false) {
        // The control owns its images: its frame may be destroyed after this view.
        control->AssignImageList(CreateTreeImageList().release());
    }
    wxTreeCtrl* control;
    WxTreeControl tree;
};

CPlannerView::CPlannerView() = default;
CPlannerView::~CPlannerView() = default;

bool CPlannerView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags))
        return false;
    auto* frame = new wxDocChildFrame(doc, this,
                                      dynamic_cast<wxFrame*>(wxTheApp->GetTopWindow()),
                                      wxID_ANY, doc->GetUserReadableName());
    m_tree = std::make_unique<Tree>(frame);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_tree->control, 1, wxEXPAND);
    frame->SetSizerAndFit(sizer);
    SetFrame(frame);
    frame->Show();
    return true;
}

void CPlannerView::OnDraw(wxDC*) {}

void CPlannerView::OnUpdate(wxView*, wxObject*) {
    if (m_tree == nullptr)
        return;
    m_tree->tree.DeleteAll();
    if (auto* document = dynamic_cast<CPlannerDoc*>(GetDocument()))
        if (CioDb* database = document->Database())
            database->InsertToTree(kNoItem, m_tree->tree, kInsertLast);
}

bool CPlannerView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow))
        return false;
    Activate(false);
    if (deleteWindow && GetFrame() != nullptr) {
        GetFrame()->Destroy();
        SetFrame(nullptr);
    }
    return true;
}
