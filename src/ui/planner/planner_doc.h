#pragma once

#include <memory>

#include <wx/docview.h>

namespace pinsum {
class CioDb;
}

class CPlannerView;

// The planner document: one catalogue database, read from and written to a catalogue file.
// Saving keeps the tree's state (open branches, selection) in the objects' flags, so that the
// next opening shows the tree as it was left. The planner's files never enter the host's list of
// recent files. Exported with its run-time class ("CPlannerDoc"); all editing is the view's.
class CPlannerDoc : public wxDocument {
public:
    CPlannerDoc();
    ~CPlannerDoc() override;

    // Empties the database it has (the same object stays) or makes an empty one.
    bool OnNewDocument() override;
    // Follows every naming of the document (open, save): keeps the file out of the recent-file
    // list.
    void OnChangeFilename(bool notifyViews) override;

    pinsum::CioDb* Database() const { return m_database.get(); }
    // Reads the tree state of every shown object into its flags and, when apply, puts it back
    // onto the tree; nothing without a planner view or a database.
    void UpdateFlags(bool apply);
    // The first planner view of the document, or none.
    CPlannerView* GetView() const;

protected:
    bool DoSaveDocument(const wxString& file) override;
    bool DoOpenDocument(const wxString& file) override;

private:
    // The views show objects that are about to go: they let go of them first.
    void ReleaseViews();

    std::unique_ptr<pinsum::CioDb> m_database;

    wxDECLARE_DYNAMIC_CLASS(CPlannerDoc);
};
