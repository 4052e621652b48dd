#include "ui/planner_test_support.h"

#include <wx/app.h>
#include <wx/button.h>

#include "common/wx_text.h"
#include "host/program_folders.h"
#include "model/catalogue_file.h"
#include "support/small_catalogue.h"

namespace pinsum::test {

void PlannerTest::SetUp() {
    InitGlobals("\"" + m_folder.File("pinsum-host") + "\"");
    m_manager = new wxDocManager();
    new wxDocTemplate(m_manager, "Databáze", "*.pp", "", "pp", "Planner Doc", "Planner View",
                      CLASSINFO(CPlannerDoc), CLASSINFO(CPlannerView));
    m_frame = ShowDocumentFrame(m_manager);
}

void PlannerTest::TearDown() {
    CloseDocumentWindows(m_manager, m_frame);
    ResetProgramFolders();
}

CPlannerDoc* PlannerTest::Open(const std::string& path) {
    m_doc = dynamic_cast<CPlannerDoc*>(m_manager->CreateDocument(path, wxDOC_SILENT));
    if (m_doc != nullptr) {
        View().GetFrame()->SetSize(wxSize(360, 480));
        Pump(50);
    }
    return m_doc;
}

std::string PlannerTest::SmallCatalogueFile(const std::string& name) {
    const SmallCatalogue c = BuildSmallCatalogue();
    const std::string path = m_folder.File(name);
    SaveDatabaseFile(path, c.db.get());
    return path;
}

CioType* PlannerTest::Element(int list, const char* name) const {
    for (const auto& child : Db().Lists()[list]->children)
        if (child->name == ui::ToModel(wxString::FromUTF8(name)))
            return child.get();
    return nullptr;
}

void PlannerTest::Select(const CioType* object) {
    Tree().EnsureVisible(Id(object));
    Tree().SelectItem(Id(object));
    Tree().SetFocus();
    Pump(20);
}

CioType* PlannerTest::Selected() const {
    const wxTreeItemId id = Tree().GetSelection();
    return id.IsOk() ? Control().GetItemData(ui::WxTreeControl::Handle(id)) : nullptr;
}

wxPoint PlannerTest::LabelCentre(const CioType* object) const {
    wxRect rect;
    EXPECT_TRUE(Tree().GetBoundingRect(Id(object), rect, true)) << object->name;
    return rect.GetPosition() + wxSize(rect.GetWidth() / 2, rect.GetHeight() / 2);
}

void PlannerTest::Key(int keyCode) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = keyCode;
    event.SetEventObject(&Tree());
    Tree().GetEventHandler()->ProcessEvent(event);
    Pump(20);
}

void PlannerTest::Mouse(wxEventType type, const wxPoint& point, int wheelRotation) {
    wxMouseEvent event(type);
    event.SetPosition(point);
    event.m_wheelRotation = wheelRotation;
    event.m_wheelDelta = 120;
    event.m_linesPerAction = 3;
    event.m_leftDown = type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK;
    event.SetEventObject(&Tree());
    Tree().GetEventHandler()->ProcessEvent(event);
    Pump(20);
}

int EditAndPressOk(wxDialog* dialog, const std::function<void()>& edit) {
    dialog->Show();
    Pump(50);
    edit();
    Click(wxWindow::FindWindowById(wxID_OK, dialog));
    Pump(20);
    const bool closed = !dialog->IsShown();
    dialog->Hide();
    return closed ? wxID_OK : wxID_CANCEL;
}

} // namespace pinsum::test
