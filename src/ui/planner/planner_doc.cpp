#include "planner/planner_doc.h"

#include <wx/app.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include "common/ui_texts.h"
#include "common/wx_messenger.h"
#include "controls/wx_tree_control.h"
#include "host/file_io.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_db.h"
#include "planner/planner_view.h"

using namespace pinsum;
using namespace pinsum::ui;

wxIMPLEMENT_DYNAMIC_CLASS(CPlannerDoc, wxDocument);

namespace {

void ShowProblem(wxWindow* parent, const wxString& text) {
    wxMessageDialog box(parent, text, Text(UiText::PlannerDocument), wxOK | wxICON_ERROR);
    box.ShowModal();
}

bool InHistory(const wxFileHistory& history, const wxString& file) {
    for (size_t i = 0; i < history.GetCount(); ++i)
        if (wxFileName(history.GetHistoryFile(i)) == wxFileName(file))
            return true;
    return false;
}

} // namespace

CPlannerDoc::CPlannerDoc() = default;
CPlannerDoc::~CPlannerDoc() = default;

bool CPlannerDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument())
        return false;
    if (m_database != nullptr) {
        ReleaseViews();
        m_database->RemoveAll();
    } else {
        m_database = std::make_unique<CioDb>();
    }
    UpdateAllViews();
    return m_database != nullptr;
}

void CPlannerDoc::OnChangeFilename(bool notifyViews) {
    wxDocument::OnChangeFilename(notifyViews);
    const wxString filename = GetFilename();
    wxDocManager* manager = GetDocumentManager();
    wxFileHistory* history = manager != nullptr ? manager->GetFileHistory() : nullptr;
    // The framework adds an opened or saved file to the list right after naming the document;
    // a file the list held before stays, one it adds now goes again.
    if (history == nullptr || filename.empty() || InHistory(*history, filename))
        return;
    CallAfter([history, filename] {
        for (size_t i = 0; i < history->GetCount(); ++i)
            if (wxFileName(history->GetHistoryFile(i)) == wxFileName(filename)) {
                history->RemoveFileFromHistory(i);
                return;
            }
    });
}

CPlannerView* CPlannerDoc::GetView() const {
    for (wxView* view : GetViewsVector())
        if (auto* planner = dynamic_cast<CPlannerView*>(view))
            return planner;
    return nullptr;
}

void CPlannerDoc::UpdateFlags(bool apply) {
    CPlannerView* view = GetView();
    if (view == nullptr || view->Tree() == nullptr || m_database == nullptr)
        return;
    m_database->SyncTreeState(*view->Tree(), true);
    if (apply)
        m_database->SyncTreeState(*view->Tree(), false);
}

void CPlannerDoc::ReleaseViews() {
    for (wxView* view : GetViewsVector())
        if (auto* planner = dynamic_cast<CPlannerView*>(view))
            planner->ClearTree();
}

bool CPlannerDoc::DoSaveDocument(const wxString& file) {
    UpdateFlags(false);
    try {
        // Objects loaded from a file keep the identities stored there, which new objects from
        // the process's counter may repeat; fresh ones for all make every stored reference
        // name exactly one object.
        if (m_database != nullptr)
            m_database->RenewIds();
        SaveDatabaseFile(file.utf8_string(), m_database.get());
    } catch (const std::exception& e) {
        ShowProblem(GetDocumentWindow(), Format(UiText::FileNotSaved, {e.what()}));
        return false;
    }
    return true;
}

bool CPlannerDoc::DoOpenDocument(const wxString& file) {
    std::unique_ptr<CioDb> loaded;
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(file.utf8_string());
        ArchiveReader reader(bytes, file.utf8_string());
        WxMessenger messenger(GetDocumentWindow());
        reader.messenger = &messenger;
        LoadDatabaseFile(reader, loaded);
    } catch (const std::exception& e) {
        // The database held so far stays, and so does its tree.
        ShowProblem(GetDocumentWindow(), Format(UiText::FileUnreadable, {e.what()}));
        return false;
    }
    ReleaseViews();
    m_database = std::move(loaded);
    return true;
}
