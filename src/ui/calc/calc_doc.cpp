#include "calc/calc_doc.h"

#include <wx/msgdlg.h>

#include "calc/calc_view.h"
#include "common/ui_texts.h"
#include "common/wx_messenger.h"
#include "common/wx_text.h"
#include "host/file_io.h"
#include "host/program_folders.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_project.h"

using namespace pinsum;
using namespace pinsum::ui;

wxIMPLEMENT_DYNAMIC_CLASS(CCalcDoc, wxDocument);

namespace {

// Over the document's own window, which the framework has shown before the file is read.
void ShowProblem(wxWindow* parent, const wxString& text, long icon = wxICON_ERROR) {
    wxMessageDialog box(parent, text, Text(UiText::HostCaption), wxOK | icon);
    box.ShowModal();
}

} // namespace

CCalcDoc::CCalcDoc() = default;

CCalcDoc::~CCalcDoc() = default;

bool CCalcDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument())
        return false;
    if (m_project == nullptr)
        m_project = std::make_unique<CioProject>();
    else
        m_project->CioArray::RemoveAll();
    WxMessenger messenger(GetDocumentWindow());
    std::string error;
    const auto path = FindDataFile("iodb.pp");
    if (!path)
        ShowProblem(GetDocumentWindow(), Text(UiText::CatalogueMissing));
    else if (m_project->LoadDatabase(nullptr, &messenger, nullptr, &error) == 0 ||
             m_project->database == nullptr)
        ShowProblem(GetDocumentWindow(),
                    Format(UiText::CatalogueUnreadable, {error.empty() ? *path : error}));
    UpdateAllViews();
    return true;
}

bool CCalcDoc::DoSaveDocument(const wxString& file) {
    if (auto* view = dynamic_cast<CCalcView*>(GetFirstView()))
        view->UpdateCheckList(true);
    try {
        ArchiveWriter writer;
        StorePlannerFile(writer, m_project.get());
        WriteFileAtomic(file.utf8_string(), writer.Bytes());
    } catch (const std::exception& e) {
        ShowProblem(GetDocumentWindow(), Format(UiText::FileNotSaved, {e.what()}));
        return false;
    }
    return true;
}

bool CCalcDoc::DoOpenDocument(const wxString& file) {
    std::unique_ptr<CioProject> loaded;
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(file.utf8_string());
        ArchiveReader reader(bytes, file.utf8_string());
        WxMessenger messenger(GetDocumentWindow());
        reader.messenger = &messenger;
        LoadPlannerFile(reader, loaded);
    } catch (const std::exception& e) {
        ShowProblem(GetDocumentWindow(), Format(UiText::FileUnreadable, {e.what()}));
        return false;
    }
    m_project = std::move(loaded);
    if (m_project == nullptr)
        ShowProblem(GetDocumentWindow(), Text(UiText::NotPlannerFile), wxICON_INFORMATION);
    return true;
}
