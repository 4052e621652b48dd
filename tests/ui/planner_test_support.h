#pragma once

// The planner in a document manager as a host registers it, and the few ways a test acts on its
// tree and dialogs as a user would.
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <wx/docview.h>
#include <wx/treectrl.h>

#include "controls/wx_tree_control.h"
#include "model/cio_db.h"
#include "planner/planner_doc.h"
#include "planner/planner_view.h"
#include "support/ftp_test_server.h"
#include "ui/gui_test_support.h"

namespace pinsum::test {

class PlannerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a catalogue file as File > Open does; the document's view is the current one.
    CPlannerDoc* Open(const std::string& path);
    // The small test catalogue written to a file of the temporary folder.
    std::string SmallCatalogueFile(const std::string& name = "katalog.pp");

    CPlannerView& View() const { return *m_doc->GetView(); }
    wxTreeCtrl& Tree() const { return *View().TreeCtrl(); }
    ui::WxTreeControl& Control() const { return *View().Tree(); }
    CioDb& Db() const { return *m_doc->Database(); }
    // The element of the list (0 to 3) with this name (UTF-8).
    CioType* Element(int list, const char* name) const;
    wxTreeItemId Id(const CioType* object) const { return ui::WxTreeControl::Id(object->treeItem); }
    void Select(const CioType* object);
    CioType* Selected() const;
    // The centre of the item's label in the tree's client coordinates.
    wxPoint LabelCentre(const CioType* object) const;
    void Key(int keyCode);
    void Mouse(wxEventType type, const wxPoint& point, int wheelRotation = 0);

    TempFolder m_folder;
    DialogScript m_script;
    wxDocManager* m_manager = nullptr;
    wxDocParentFrame* m_frame = nullptr;
    CPlannerDoc* m_doc = nullptr;
};

// Shows a dialog that the code under test opened modally, lets edit act on it, then presses OK
// as the user would: the answer for DialogScript (OK when the dialog closed, else Cancel).
int EditAndPressOk(wxDialog* dialog, const std::function<void()>& edit);

} // namespace pinsum::test
