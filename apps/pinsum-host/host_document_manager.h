#pragma once

#include <wx/docview.h>
#include <wx/weakref.h>

// The host's document manager. Its File menu lives in the main frame, while every document has a
// frame of its own: going to that menu deactivates the document's frame, and wx's manager then
// knows no current view, so that with two documents open Save, Close and Print were greyed. This
// one keeps the view the user was in last as the current one while it is still open.
class HostDocumentManager : public wxDocManager {
public:
    void ActivateView(wxView* view, bool activate = true) override {
        wxDocManager::ActivateView(view, activate);
        if (activate)
            m_lastActive = view;
    }

    wxView* GetCurrentView() const override {
        if (wxView* view = wxDocManager::GetCurrentView())
            return view;
        return IsOpen(m_lastActive) ? m_lastActive.get() : nullptr;
    }

private:
    // Still a view of an open document and still in its frame (a closing view has left it).
    bool IsOpen(wxView* view) const {
        if (view == nullptr || view->GetFrame() == nullptr)
            return false;
        for (const wxDocument* document : GetDocumentsVector())
            for (const wxView* shown : document->GetViewsVector())
                if (shown == view)
                    return true;
        return false;
    }

    wxWeakRef<wxView> m_lastActive;
};
