#pragma once

#include <memory>

#include <wx/docview.h>

namespace pinsum {
class CioDb;
}

// The planner document: a catalogue file opened, shown and saved unchanged. Editing comes with
// the planner's own views and dialogs. Exported with its run-time class ("CPlannerDoc").
class CPlannerDoc : public wxDocument {
public:
    CPlannerDoc();
    ~CPlannerDoc() override;
    pinsum::CioDb* Database() const { return m_database.get(); }

protected:
    bool DoSaveDocument(const wxString& file) override;
    bool DoOpenDocument(const wxString& file) override;

private:
    std::unique_ptr<pinsum::CioDb> m_database;

    wxDECLARE_DYNAMIC_CLASS(CPlannerDoc);
};

// The planner's view: the catalogue as a tree, read only for now ("CPlannerView").
class CPlannerView : public wxView {
public:
    CPlannerView();
    ~CPlannerView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC* dc) override;
    void OnUpdate(wxView* sender, wxObject* hint = nullptr) override;
    bool OnClose(bool deleteWindow = true) override;

private:
    class Tree;
    std::unique_ptr<Tree> m_tree;

    wxDECLARE_DYNAMIC_CLASS(CPlannerView);
};
