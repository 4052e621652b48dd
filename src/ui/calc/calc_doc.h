#pragma once

#include <memory>

#include <wx/docview.h>

namespace pinsum {
class CioProject;
}

// The calculator document: one project (catalogue copy, request, solutions), saved and opened as
// a planner file. A file of another kind opens as a document without a project. Exported with
// its run-time class, so a host creates it by the name "CCalcDoc".
class CCalcDoc : public wxDocument {
public:
    CCalcDoc();
    ~CCalcDoc() override;

    bool OnNewDocument() override;
    pinsum::CioProject* Project() const { return m_project.get(); }

protected:
    bool DoSaveDocument(const wxString& file) override;
    bool DoOpenDocument(const wxString& file) override;

private:
    std::unique_ptr<pinsum::CioProject> m_project;

    wxDECLARE_DYNAMIC_CLASS(CCalcDoc);
};
