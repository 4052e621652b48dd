// The calculator's windows as a user meets them, with the real mouse and keys: the context menu's
// states and commands in the host dialog and in the view, Enter in the trees and dialogs, the
// report dialog, a damaged file, and the current document of the document mode.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/docview.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/stockitem.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "bill/bill.h"
#include "calc/calc_doc.h"
#include "calc/calc_view.h"
#include "calc/count_dialog.h"
#include "calc/solution_text_dialog.h"
#include "calc/view_calculator_panel.h"
#include "common/ui_ids.h"
#include "helptext/help_view.h"
#include "host/auto_update_setting.h"
#include "host/memory_settings.h"
#include "host/pinsum_dialog.h"
#include "host/program_folders.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "pinsum-host/host_document_manager.h"
#include "planner/planner_doc.h"
#include "planner/planner_view.h"
#include "quotation/pdf_quotation.h"
#include "solver/search_request.h"
#include "support/ftp_test_server.h"
#include "ui/gui_test_support.h"

namespace pinsum::test {
namespace {

using ui::CalculatorPanel;

struct ItemState {
    bool enabled = false;
    bool checked = false;
};

// What a shown menu offered: its commands in order and each one's state.
struct ShownMenu {
    std::vector<int> order;
    std::map<int, ItemState> states;
    bool Enabled(int command) const { return states.count(command) && states.at(command).enabled; }
    // The keys that choose the command: Down once per enabled item up to it, then Enter.
    std::vector<int> KeysFor(int command) const {
        std::vector<int> keys;
        for (const int item : order) {
            if (Enabled(item))
                keys.push_back(WXK_DOWN);
            if (item == command)
                break;
        }
        keys.push_back(WXK_RETURN);
        return keys;
    }
};

// Watches a window's menus: the first one that opens is read while it is shown, photographed, and
// then answered with the keys chosen for it (Escape when none).
class MenuWatcher : public wxEvtHandler {
public:
    MenuWatcher(wxWindow& window, std::string shot,
                std::function<std::vector<int>(const ShownMenu&)> choose)
        : m_shot(std::move(shot)), m_choose(std::move(choose)) {
        window.Bind(wxEVT_MENU_OPEN, &MenuWatcher::OnOpen, this);
        window.Bind(wxEVT_MENU_CLOSE, &MenuWatcher::OnClose, this);
        m_probe.Bind(wxEVT_TIMER, &MenuWatcher::OnProbe, this);
    }

    ShownMenu shown;
    bool opened = false;
    bool closed = false;

private:
    void OnOpen(wxMenuEvent& event) {
        if (!opened && event.GetMenu() != nullptr) {
            opened = true;
            m_menu = event.GetMenu();
            // Long enough for the menu to be drawn.
            m_probe.StartOnce(300);
        }
        event.Skip();
    }
    void OnClose(wxMenuEvent& event) {
        closed = closed || opened;
        event.Skip();
    }
    void OnProbe(wxTimerEvent&) {
        for (const wxMenuItem* item : m_menu->GetMenuItems()) {
            if (item->IsSeparator())
                continue;
            const int command = ui::CommandOfMenuId(item->GetId());
            shown.order.push_back(command);
            shown.states[command] = {item->IsEnabled(), item->IsCheckable() && item->IsChecked()};
        }
        const wxPoint mouse = wxGetMousePosition();
        SaveScreenshot(wxRect(mouse.x - 20, mouse.y - 20, 440, 480), m_shot);
        std::vector<int> keys = m_choose ? m_choose(shown) : std::vector<int>();
        if (keys.empty())
            keys.push_back(WXK_ESCAPE);
        wxUIActionSimulator sim;
        for (const int key : keys)
            sim.Char(key);
    }

    std::string m_shot;
    std::function<std::vector<int>(const ShownMenu&)> m_choose;
    wxTimer m_probe;
    wxMenu* m_menu = nullptr;
};

// The middle of a tree item on the screen.
wxPoint ItemPoint(wxTreeCtrl& tree, const wxTreeItemId& item) {
    wxRect rect;
    EXPECT_TRUE(tree.GetBoundingRect(item, rect, true));
    return tree.ClientToScreen(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
}

void LeftClickAt(const wxPoint& at) {
    wxUIActionSimulator mouse;
    mouse.MouseMove(at);
    Pump(50);
    mouse.MouseClick();
    Pump(100);
}

void PressRealKey(int key) {
    wxUIActionSimulator keys;
    keys.Char(key);
    Pump(150);
}

// Right-clicks at the point with the real mouse and answers the context menu of window.
ShownMenu PopUpAt(wxWindow& window, const wxPoint& at, const std::string& shot,
                  std::function<std::vector<int>(const ShownMenu&)> choose = {}) {
    MenuWatcher watcher(window, shot, std::move(choose));
    wxUIActionSimulator mouse;
    mouse.MouseMove(at);
    Pump(50);
    mouse.MouseClick(wxMOUSE_BTN_RIGHT);
    EXPECT_TRUE(PumpUntil([&] { return watcher.closed; }, 5000))
        << (watcher.opened ? "the menu did not close" : "no menu opened");
    Pump(100);
    return watcher.shown;
}

// The first top-level item of a tree whose request item has help.
wxTreeItemId ItemWithHelp(ui::WxTreeControl& tree) {
    for (TreeItem item = tree.GetFirstChild(kNoItem); item != kNoItem;
         item = tree.GetNextSibling(item))
        if (const CioType* object = tree.GetItemData(item); object != nullptr && object->HasHelp())
            return ui::WxTreeControl::Id(item);
    return wxTreeItemId();
}

// Answers the file dialogs the code opens as a user does: GTK's dialog is shown, the next path is
// typed into it (a path that starts with "/" opens its location field; a save dialog's name field
// is typed over) and Enter pressed. A dialog still open after a while is cancelled.
class FileDialogTyping {
public:
    explicit FileDialogTyping(std::vector<std::string> paths) : m_paths(std::move(paths)) {}

    std::optional<int> Answer(wxDialog* dialog) {
        auto* chooser = dynamic_cast<wxFileDialog*>(dialog);
        if (chooser == nullptr)
            return std::nullopt;
        // wxGTK's file dialog passes the hook twice on its way to the screen.
        if (chooser == m_current && m_type != nullptr && m_type->IsRunning())
            return wxID_NONE;
        m_current = chooser;
        if (m_paths.empty())
            return wxID_CANCEL;
        const std::string path = m_paths.front();
        m_paths.erase(m_paths.begin());
        const bool save = chooser->HasFlag(wxFD_SAVE);
        m_type = std::make_unique<wxTimer>();
        m_type->Bind(wxEVT_TIMER, [path, save](wxTimerEvent&) {
            wxUIActionSimulator user;
            if (save)
                user.Char('a', wxMOD_CONTROL);
            user.Text(path.c_str());
            wxTheApp->Yield(true);
            wxMilliSleep(300);
            wxTheApp->Yield(true);
            // GTK's dialog is no wx window whose place wx knows.
            SaveScreenshot(wxRect(wxPoint(0, 0), wxGetDisplaySize()),
                           save ? "file_dialog_save.png" : "file_dialog_open.png");
            user.Char(WXK_RETURN);
        });
        m_giveUp = std::make_unique<wxTimer>();
        m_giveUp->Bind(wxEVT_TIMER, [this, dialog](wxTimerEvent&) {
            // Only while that dialog is still there and waiting.
            if (std::find(wxTopLevelWindows.begin(), wxTopLevelWindows.end(), dialog) ==
                    wxTopLevelWindows.end() ||
                !dialog->IsModal())
                return;
            ++stuck;
            dialog->EndModal(wxID_CANCEL);
        });
        m_type->StartOnce(800);
        m_giveUp->StartOnce(10000);
        return wxID_NONE;
    }

    size_t Left() const { return m_paths.size(); }
    int stuck = 0;

private:
    std::vector<std::string> m_paths;
    const wxFileDialog* m_current = nullptr;
    std::unique_ptr<wxTimer> m_type;
    std::unique_ptr<wxTimer> m_giveUp;
};

// An FTP address that accepts the connection and never answers, so that a check keeps running.
class SilentServer {
public:
    SilentServer() {
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        EXPECT_EQ(bind(m_socket, reinterpret_cast<sockaddr*>(&address), size), 0);
        EXPECT_EQ(listen(m_socket, 4), 0);
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size);
        m_url = "ftp://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
    }
    ~SilentServer() { close(m_socket); }
    const std::string& Url() const { return m_url; }

private:
    int m_socket = -1;
    std::string m_url;
};

class CalculatorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(SampleCatalogue(), m_folder.File("iodb.pp"));
        InitGlobals("\"" + m_folder.File("pinsum-host") + "\"");
    }
    void TearDown() override {
        if (m_dialog != nullptr) {
            PumpUntil([this] { return !m_dialog->SearchRunning(); });
            m_dialog->Destroy();
            Pump(20);
        }
        if (m_manager != nullptr)
            CloseDocumentWindows(m_manager, m_frame);
        for (const char* name : {"PINSUM_FTP_URL", "PINSUM_FTP_USER", "PINSUM_FTP_PASSWORD"})
            unsetenv(name);
        ResetProgramFolders();
    }

    CalculatorPanel& OpenDialog(std::unique_ptr<Settings> settings = nullptr) {
        m_dialog = new ui::CPinsumDialog(nullptr, settings != nullptr
                                                      ? std::move(settings)
                                                      : std::make_unique<MemorySettings>());
        m_dialog->Show();
        Pump(150);
        return m_dialog->Form();
    }
    // The document mode as the host sets it up: a calculation's and a catalogue's template.
    void OpenDocumentMode() {
        m_manager = new HostDocumentManager();
        m_calculation = new wxDocTemplate(m_manager, "Kalkulace", "*.ppl", "", "ppl", "Calc Doc",
                                          "Calc View", CLASSINFO(CCalcDoc), CLASSINFO(CCalcView));
        new wxDocTemplate(m_manager, "Katalog", "*.pp", "", "pp", "Planner Doc", "Planner View",
                          CLASSINFO(CPlannerDoc), CLASSINFO(CPlannerView));
        m_frame = ShowDocumentFrame(m_manager);
    }
    CCalcDoc* OpenCalculation() {
        if (m_manager == nullptr)
            OpenDocumentMode();
        // As the host starts: a new document of the calculation's template, no template choice.
        auto* doc = dynamic_cast<CCalcDoc*>(m_calculation->CreateDocument(wxString(), wxDOC_NEW));
        EXPECT_NE(doc, nullptr);
        if (doc != nullptr) {
            EXPECT_TRUE(doc->OnNewDocument());
        }
        Pump(150);
        return doc;
    }
    static ui::ViewCalculatorPanel& FormOf(wxDocument* doc) {
        return *dynamic_cast<CCalcView*>(doc->GetFirstView())->Form();
    }
    // Sets counts, terminals and series as the request file says.
    static void Request(CalculatorPanel& form, CioProject& project, const char* json) {
        ApplySearchRequest(ParseSearchRequest(json), project);
        form.FillFromProject();
        form.UpdateCheckList(false);
    }
    std::vector<wxString> Shown(const char* kind) const {
        std::vector<wxString> titles;
        for (const DialogScript::Shown& entry : m_script.shown)
            if (entry.kind == kind)
                titles.push_back(entry.message);
        return titles;
    }

    TempFolder m_folder;
    DialogScript m_script;
    ui::CPinsumDialog* m_dialog = nullptr;
    HostDocumentManager* m_manager = nullptr;
    wxDocTemplate* m_calculation = nullptr;
    wxDocParentFrame* m_frame = nullptr;
};

// wxGTK used to send the popup's update events past the dialog's handlers: every item looked
// enabled and the automatic update's check mark was never shown.
TEST_F(CalculatorWindowTest, TheDialogsMenuShowsWhichCommandsApply) {
    SilentServer silent;
    setenv("PINSUM_FTP_URL", silent.Url().c_str(), 1);
    setenv("PINSUM_FTP_USER", FtpTestServer::kUser, 1);
    setenv("PINSUM_FTP_PASSWORD", FtpTestServer::kPassword, 1);
    auto settings = std::make_unique<MemorySettings>();
    WriteAutoUpdate(*settings, true);
    CalculatorPanel& form = OpenDialog(std::move(settings));
    ASSERT_TRUE(PumpUntil([this] { return m_dialog->UpdateRunning(); }, 5000));
    wxWindow& rows = form.List()->Rows();
    const ShownMenu menu = PopUpAt(form, rows.GetScreenRect().GetPosition() + wxPoint(60, 60),
                                   "context_menu_dialog.png");
    ASSERT_EQ(menu.order.size(), 16u);
    // No solution is shown, so there is no quotation to save.
    for (const int command : {ui::ID_RESULT_TERMINAL_NO, ui::ID_RESULT_FIRST, ui::ID_RESULT_LAST,
                              ui::ID_UPDATE_DATABASE, ui::ID_SHOW_SOLUTION_DETAIL,
                              ui::ID_EXPORT_TO_CLIP, ui::ID_SAVE_QUOTATION})
        EXPECT_FALSE(menu.Enabled(command)) << command;
    for (const int command : {ui::ID_CLEAR_INPUT_LIST, ui::ID_LOAD_SIGNAL_LIST,
                              ui::ID_RESULT_RUN_COMPILE, ui::ID_AUTO_UPDATE})
        EXPECT_TRUE(menu.Enabled(command)) << command;
    EXPECT_TRUE(menu.states.at(ui::ID_AUTO_UPDATE).checked);
}

// During a popup wxGTK names the window that opened it as the focus: the tree the user was in
// was forgotten, and "Nastav počet IO" and "Nápověda" did nothing.
TEST_F(CalculatorWindowTest, TheDialogsMenuCommandsActOnTheTreeTheUserWasIn) {
    CalculatorPanel& form = OpenDialog();
    wxTreeCtrl& tree = *form.IoTree();
    const wxTreeItemId item = ItemWithHelp(form.IoTreeControl());
    ASSERT_TRUE(item.IsOk());
    const wxPoint at = ItemPoint(tree, item);
    LeftClickAt(at);
    ASSERT_EQ(wxWindow::FindFocus(), &tree);
    const ShownMenu menu =
        PopUpAt(form, at, "context_menu_dialog_tree.png",
                [](const ShownMenu& m) { return m.KeysFor(ui::ID_RESULT_SET_IO_NUMBER); });
    EXPECT_TRUE(menu.Enabled(ui::ID_RESULT_SET_IO_NUMBER));
    EXPECT_TRUE(menu.Enabled(ui::ID_RESULT_HELP));
    // The host dialog has no handler for it.
    EXPECT_FALSE(menu.Enabled(ui::ID_RESULT_TERMINAL_NO));
    ASSERT_EQ(Shown("count").size(), 1u);
    EXPECT_EQ(Shown("count")[0], tree.GetItemText(item).AfterFirst('x').Trim(false));

    PopUpAt(form, at, "context_menu_dialog_help.png",
            [](const ShownMenu& m) { return m.KeysFor(ui::ID_RESULT_HELP); });
    EXPECT_TRUE(form.ToolTip().IsVisible());
    form.ToolTip().HideTip();
}

TEST_F(CalculatorWindowTest, TheViewsMenuCommandsActOnTheTreeTheUserWasIn) {
    CCalcDoc* doc = OpenCalculation();
    ASSERT_NE(doc, nullptr);
    ui::ViewCalculatorPanel& form = FormOf(doc);
    wxTreeCtrl& terminals = *form.TerminalTree();
    const wxTreeItemId terminal = ItemWithHelp(form.TerminalTreeControl());
    ASSERT_TRUE(terminal.IsOk());
    const wxPoint at = ItemPoint(terminals, terminal);
    LeftClickAt(at);
    const ShownMenu menu = PopUpAt(form, at, "context_menu_view.png", [](const ShownMenu& m) {
        return m.KeysFor(ui::ID_RESULT_TERMINAL_NO);
    });
    EXPECT_TRUE(menu.Enabled(ui::ID_RESULT_TERMINAL_NO));
    EXPECT_TRUE(menu.Enabled(ui::ID_RESULT_HELP));
    EXPECT_FALSE(menu.Enabled(ui::ID_RESULT_SET_IO_NUMBER));
    // The view handles none of these.
    for (const int command : {ui::ID_RESULT_FIRST, ui::ID_RESULT_PREVIOUS, ui::ID_RESULT_NEXT,
                              ui::ID_RESULT_LAST, ui::ID_UPDATE_DATABASE, ui::ID_AUTO_UPDATE})
        EXPECT_FALSE(menu.Enabled(command)) << command;
    EXPECT_EQ(Shown("count").size(), 1u);

    wxTreeCtrl& io = *form.IoTree();
    const wxTreeItemId kind = ItemWithHelp(form.IoTreeControl());
    const wxPoint ioAt = ItemPoint(io, kind);
    LeftClickAt(ioAt);
    const ShownMenu ioMenu =
        PopUpAt(form, ioAt, "context_menu_view_io.png",
                [](const ShownMenu& m) { return m.KeysFor(ui::ID_RESULT_SET_IO_NUMBER); });
    EXPECT_TRUE(ioMenu.Enabled(ui::ID_RESULT_SET_IO_NUMBER));
    EXPECT_FALSE(ioMenu.Enabled(ui::ID_RESULT_TERMINAL_NO));
    EXPECT_EQ(Shown("count").size(), 2u);
}

// Enter in the terminal tree opens the count editor in the host dialog and is consumed in the
// view; in the count editor Enter takes the typed count, also with the focus off the field.
TEST_F(CalculatorWindowTest, EnterInTheTreesAndInTheCountEditor) {
    CCalcDoc* doc = OpenCalculation();
    ASSERT_NE(doc, nullptr);
    ui::ViewCalculatorPanel& view = FormOf(doc);
    LeftClickAt(ItemPoint(*view.TerminalTree(), ItemWithHelp(view.TerminalTreeControl())));
    PressRealKey(WXK_RETURN);
    EXPECT_TRUE(Shown("count").empty());
    m_manager->CloseDocuments(true);
    Pump(50);

    m_script.Clear();
    CalculatorPanel& form = OpenDialog();
    LeftClickAt(ItemPoint(*form.TerminalTree(), ItemWithHelp(form.TerminalTreeControl())));
    PressRealKey(WXK_RETURN);
    EXPECT_EQ(Shown("count").size(), 1u);

    // The editor shown for real: the count typed over the selected one, then Enter.
    wxTimer type;
    wxTimer giveUp;
    bool stuck = false;
    m_script.answer = [&](wxDialog* dialog) -> std::optional<int> {
        if (dynamic_cast<ui::CParameterDialog*>(dialog) == nullptr)
            return std::nullopt;
        type.Bind(wxEVT_TIMER, [dialog](wxTimerEvent&) {
            wxUIActionSimulator user;
            user.Text("12");
            // Enter with the focus in the kind's help, off the field.
            for (wxWindow* child : dialog->GetChildren())
                if (dynamic_cast<ui::HelpView*>(child) != nullptr) {
                    user.MouseMove(child->GetScreenRect().GetPosition() + wxPoint(30, 30));
                    user.MouseClick();
                }
            // The click reaches the dialog before its picture is taken.
            wxTheApp->Yield(true);
            wxMilliSleep(200);
            wxTheApp->Yield(true);
            SaveScreenshot(dialog->GetScreenRect(), "count_dialog.png");
            user.Char(WXK_RETURN);
        });
        giveUp.Bind(wxEVT_TIMER, [&stuck, dialog](wxTimerEvent&) {
            stuck = true;
            dialog->EndModal(wxID_CANCEL);
        });
        type.StartOnce(300);
        giveUp.StartOnce(3000);
        return wxID_NONE;
    };
    wxTreeCtrl& io = *form.IoTree();
    const wxTreeItemId item = ItemWithHelp(form.IoTreeControl());
    const size_t shownBefore = Shown("count").size();
    LeftClickAt(ItemPoint(io, item));
    PressRealKey(WXK_RETURN);
    EXPECT_EQ(Shown("count").size(), shownBefore + 1);
    giveUp.Stop();
    EXPECT_FALSE(stuck) << "Enter left the count editor open";
    EXPECT_TRUE(io.GetItemText(item).StartsWith("12 x ")) << io.GetItemText(item);
}

// "Ukončit " updates the buttons at once; the progress text no longer stands in the caption.
TEST_F(CalculatorWindowTest, StoppingASearchEmptiesTheCaption) {
    CalculatorPanel& form = OpenDialog();
    Request(form, m_dialog->Project(),
            R"({"counts": {"DI 24V DC": 400, "DO tranzistor": 300, "AI 4-20mA": 100}})");
    form.SetLevel(6);
    Click(wxWindow::FindWindowById(ui::ID_BUTTON_CALC, m_dialog));
    ASSERT_TRUE(PumpUntil(
        [&] { return !m_dialog->SearchRunning() || !form.Caption()->GetLabel().empty(); }));
    ASSERT_TRUE(m_dialog->SearchRunning()) << "the search ended before it could be stopped";
    Click(wxWindow::FindWindowById(ui::ID_BUTTON_STOP, m_dialog));
    EXPECT_EQ(form.Caption()->GetLabel(), "");
}

// The running search reads the request and writes the solutions.
TEST_F(CalculatorWindowTest, NeitherAListNorAQuotationDuringASearch) {
    CalculatorPanel& form = OpenDialog();
    Request(form, m_dialog->Project(),
            R"({"counts": {"DI 24V DC": 4000, "DO tranzistor": 3000, "AI 4-20mA": 1000,
                           "DO relé": 1000, "AI 0-10V": 1000}})");
    form.SetLevel(6);
    Click(wxWindow::FindWindowById(ui::ID_BUTTON_CALC, m_dialog));
    const ShownMenu menu =
        PopUpAt(form, form.List()->Rows().GetScreenRect().GetPosition() + wxPoint(60, 60),
                "context_menu_dialog_searching.png");
    ASSERT_TRUE(m_dialog->SearchRunning()) << "the search ended before the menu was read";
    for (const int command :
         {ui::ID_LOAD_SIGNAL_LIST, ui::ID_SAVE_QUOTATION, ui::ID_RESULT_RUN_COMPILE})
        EXPECT_FALSE(menu.Enabled(command)) << command;
    Click(wxWindow::FindWindowById(ui::ID_BUTTON_STOP, m_dialog));
}

const std::string kData = PINSUM_DATA_DIR;

// The counts of the request items (terminals included) that are not 0, by kind.
std::map<std::string, int> RequestedCounts(const CioProject& project) {
    std::map<std::string, int> counts;
    for (const auto& child : project.requestList.children)
        if (const auto* item = dynamic_cast<const CioNode*>(child.get());
            item != nullptr && item->Kind() != nullptr && item->count != 0)
            counts[item->Kind()->name] = item->count;
    return counts;
}

// "Načíst seznam signálů…" in the dialog's menu: the list typed into GTK's file dialog sets every
// count; its types that are no IO kind are listed with their rows and the names like them, and a
// map file chosen then counts them too.
TEST_F(CalculatorWindowTest, ASignalListSetsTheDialogsCountsAndAMapCountsTheRest) {
    CalculatorPanel& form = OpenDialog();
    Request(form, m_dialog->Project(), R"({"counts": {"DI 230V AC": 5}})");
    FileDialogTyping files({kData + "/signal-list.csv", kData + "/signal-map.json"});
    wxTimer yes;
    m_script.answer = [&](wxDialog* dialog) -> std::optional<int> {
        if (const std::optional<int> answer = files.Answer(dialog))
            return answer;
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        if (box == nullptr || (box->GetMessageDialogStyle() & wxYES_NO) == 0)
            return std::nullopt;
        // The question shown for real, photographed and answered with Enter: Yes.
        yes.Bind(wxEVT_TIMER, [box](wxTimerEvent&) {
            SaveScreenshot(box->GetScreenRect(), "signal_list_unmapped.png");
            wxUIActionSimulator().Char(WXK_RETURN);
        });
        yes.StartOnce(800);
        return wxID_NONE;
    };
    wxTreeCtrl& io = *form.IoTree();
    wxTreeItemIdValue cookie;
    const wxTreeItemId first = io.GetFirstChild(io.GetRootItem(), cookie);
    const ShownMenu menu =
        PopUpAt(form, ItemPoint(io, first), "context_menu_signal_list.png",
                [](const ShownMenu& m) { return m.KeysFor(ui::ID_LOAD_SIGNAL_LIST); });
    EXPECT_TRUE(menu.Enabled(ui::ID_LOAD_SIGNAL_LIST));
    EXPECT_EQ(files.stuck, 0) << "a file dialog did not take the typed path";
    EXPECT_EQ(files.Left(), 0u);

    const std::vector<wxString> messages = m_script.Messages();
    ASSERT_EQ(messages.size(), 2u) << (messages.empty() ? wxString() : messages[0]);
    EXPECT_TRUE(messages[0].Contains(
        "'DI': řádky 5, 6, 7, 8, 9, 10, 11, 12, 13, 14 a dalších 30; podobné názvy: "
        "'DI 24V DC'"))
        << messages[0];
    EXPECT_TRUE(messages[0].Contains("'Rezerva': řádky 45, 71")) << messages[0];
    EXPECT_TRUE(messages[0].Contains("Vynechané řádky bez typu: řádky 4, 46, 72")) << messages[0];
    EXPECT_TRUE(messages[1].StartsWith("Počty požadovaných IO jsou načteny ze seznamu signálů "
                                       "\"signal-list.csv\" (signálů: 73)."))
        << messages[1];
    EXPECT_TRUE(messages[1].Contains("Vynechané řádky podle přiřazení typů: řádky 45, 71"))
        << messages[1];
    EXPECT_FALSE(messages[1].Contains("nejsou IO body")) << messages[1];

    const std::map<std::string, int> expected = {
        {"DI 24V DC", 40}, {"DO tranzistor", 24}, {"AI 4-20mA", 8}, {"Port RS-485", 1}};
    EXPECT_EQ(RequestedCounts(m_dialog->Project()), expected);
    for (wxTreeItemId item = io.GetFirstChild(io.GetRootItem(), cookie); item.IsOk();
         item = io.GetNextChild(io.GetRootItem(), cookie))
        if (io.GetItemText(item).EndsWith(" x DI 24V DC")) {
            EXPECT_EQ(io.GetItemText(item), "40 x DI 24V DC");
        }
}

// In the view a list that cannot be read changes nothing; "Uložit nabídku…" writes the
// quotation of the solution shown, not of the first.
TEST_F(CalculatorWindowTest, TheViewRefusesADamagedListAndSavesTheShownSolutionsQuotation) {
    CCalcDoc* doc = OpenCalculation();
    ASSERT_NE(doc, nullptr);
    ui::ViewCalculatorPanel& form = FormOf(doc);
    Request(form, *doc->Project(), R"({"counts": {"DI 24V DC": 40, "DO tranzistor": 24}})");
    doc->Modify(false);
    const std::string damaged = m_folder.File("poskozeny.xlsx");
    std::ofstream(damaged, std::ios::binary) << "PK\x03\x04 no zip file after all";
    FileDialogTyping files({damaged});
    m_script.answer = [&](wxDialog* dialog) { return files.Answer(dialog); };
    wxTreeCtrl& io = *form.IoTree();
    const wxPoint at = ItemPoint(io, ItemWithHelp(form.IoTreeControl()));
    LeftClickAt(at);
    ShownMenu menu = PopUpAt(form, at, "context_menu_view_signal_list.png",
                             [](const ShownMenu& m) { return m.KeysFor(ui::ID_LOAD_SIGNAL_LIST); });
    EXPECT_FALSE(menu.Enabled(ui::ID_SAVE_QUOTATION));
    EXPECT_EQ(files.stuck, 0);
    ASSERT_EQ(m_script.Messages().size(), 1u);
    EXPECT_TRUE(m_script.Messages()[0].StartsWith("Soubor nelze načíst:\nposkozeny.xlsx: "))
        << m_script.Messages()[0];
    EXPECT_EQ(RequestedCounts(*doc->Project()),
              (std::map<std::string, int>{{"DI 24V DC", 40}, {"DO tranzistor", 24}}));
    EXPECT_FALSE(doc->IsModified());

    Click(wxWindow::FindWindowById(ui::ID_BUTTON_CALC, &form));
    ASSERT_GT(form.SolutionCount(), 1);
    form.OnButtonNext();
    const std::string pdf = m_folder.File("nabidka-2.pdf");
    FileDialogTyping save({pdf});
    m_script.answer = [&](wxDialog* dialog) { return save.Answer(dialog); };
    LeftClickAt(at);
    menu = PopUpAt(form, at, "context_menu_view_quotation.png",
                   [](const ShownMenu& m) { return m.KeysFor(ui::ID_SAVE_QUOTATION); });
    EXPECT_TRUE(menu.Enabled(ui::ID_SAVE_QUOTATION));
    EXPECT_EQ(save.stuck, 0);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const std::string expected = m_folder.File("expected.pdf");
    WriteQuotationPdf(expected, MakeBill(*doc->Project(), {1}), CzechDate(std::time(nullptr)));
    auto text = [](const std::string& path) {
        const std::string command = "pdftotext -layout '" + path + "' -";
        std::string out;
        FILE* pipe = popen(command.c_str(), "r");
        for (int c; pipe != nullptr && (c = fgetc(pipe)) != EOF;)
            out += static_cast<char>(c);
        if (pipe != nullptr)
            pclose(pipe);
        return out;
    };
    EXPECT_EQ(text(pdf), text(expected));
    EXPECT_NE(text(pdf).find("Řešení 2"), std::string::npos) << text(pdf);
    const std::string page = ScreenshotFolder() + "/quotation_desktop";
    EXPECT_EQ(
        std::system(
            ("pdftoppm -png -r 70 -f 1 -l 1 -singlefile '" + pdf + "' '" + page + "'").c_str()),
        0);
}

// The report closes with Escape, as every dialog does, and its field keeps the template's margins.
TEST_F(CalculatorWindowTest, TheReportClosesWithEscape) {
    CalculatorPanel& form = OpenDialog();
    Request(form, m_dialog->Project(), R"({"counts": {"DI 24V DC": 8}, "series": ["Řada MK"]})");
    Click(wxWindow::FindWindowById(ui::ID_BUTTON_CALC, m_dialog));
    ASSERT_TRUE(PumpUntil([this] { return !m_dialog->SearchRunning(); }));
    wxTimer escape;
    wxTimer giveUp;
    bool stuck = false;
    wxRect field;
    wxSize client;
    m_script.answer = [&](wxDialog* dialog) -> std::optional<int> {
        auto* report = dynamic_cast<ui::CioSolutionText*>(dialog);
        if (report == nullptr)
            return std::nullopt;
        escape.Bind(wxEVT_TIMER, [&, report](wxTimerEvent&) {
            field = report->Field()->GetRect();
            client = report->GetClientSize();
            SaveScreenshot(report->GetScreenRect(), "solution_report.png");
            wxUIActionSimulator keys;
            keys.Char(WXK_ESCAPE);
        });
        giveUp.Bind(wxEVT_TIMER, [&stuck, dialog](wxTimerEvent&) {
            stuck = true;
            dialog->EndModal(wxID_OK);
        });
        escape.StartOnce(400);
        giveUp.StartOnce(3000);
        return wxID_NONE;
    };
    form.OnShowSolutionDetail();
    giveUp.Stop();
    ASSERT_EQ(Shown("report").size(), 1u);
    EXPECT_FALSE(stuck) << "Escape left the report open";
    // The template's margin round the text field.
    EXPECT_GT(field.x, 4);
    EXPECT_GT(field.y, 4);
    EXPECT_GT(client.x - field.GetRight(), 4);
    EXPECT_GT(client.y - field.GetBottom(), 4);
}

// The framework shows the document's window before it reads the file: the message about a
// damaged file belongs over that window, not behind it over the main frame.
TEST_F(CalculatorWindowTest, TheDamagedFileMessageStandsOverTheDocumentsWindow) {
    OpenDocumentMode();
    const std::string path = m_folder.File("poskozeny.ppl");
    std::ofstream(path, std::ios::binary) << "PINSUM-PLANNER-VERSION-1.0\n\x01";
    bool overTheDocument = false;
    m_script.answer = [&](wxDialog* dialog) -> std::optional<int> {
        const auto* frame = dynamic_cast<wxDocChildFrame*>(dialog->GetParent());
        overTheDocument = frame != nullptr && frame->IsShown() &&
                          dynamic_cast<CCalcView*>(frame->GetView()) != nullptr;
        return std::nullopt;
    };
    EXPECT_EQ(m_manager->CreateDocument(path, wxDOC_SILENT), nullptr);
    ASSERT_EQ(m_script.Messages().size(), 1u);
    EXPECT_TRUE(overTheDocument) << "the message's parent is not the document's window";
}

// The host's File menu, in its main frame, works on the document the user was in last: with a
// calculation and a catalogue open, Save, Close and Print used to stay greyed.
TEST_F(CalculatorWindowTest, TheFileMenuFollowsTheWindowTheUserWasIn) {
    OpenDocumentMode();
    auto* file = new wxMenu();
    for (const int id : {wxID_SAVE, wxID_SAVEAS, wxID_CLOSE, wxID_PRINT})
        file->Append(id, wxGetStockLabel(id));
    auto* bar = new wxMenuBar();
    bar->Append(file, "Soubor");
    m_frame->SetMenuBar(bar);
    m_frame->SetSize(0, 0, 400, 120);
    CCalcDoc* calculation = OpenCalculation();
    ASSERT_NE(calculation, nullptr);
    calculation->GetFirstView()->GetFrame()->Move(0, 180);
    const std::string catalogue = m_folder.File("katalog.pp");
    std::filesystem::copy_file(SampleCatalogue(), catalogue);
    wxDocument* planner = m_manager->CreateDocument(catalogue, wxDOC_SILENT);
    ASSERT_NE(planner, nullptr);
    planner->GetFirstView()->GetFrame()->Move(840, 180);
    Pump(200);

    // Into the calculation's tree, then to the main frame's menu.
    ui::ViewCalculatorPanel& form = FormOf(calculation);
    LeftClickAt(ItemPoint(*form.IoTree(), ItemWithHelp(form.IoTreeControl())));
    const wxPoint menuTitle = m_frame->GetScreenPosition() + wxPoint(25, 12);
    auto openFileMenu = [&](const std::string& shot, int choose) {
        MenuWatcher watcher(*m_frame, shot, [choose](const ShownMenu& shown) {
            return choose != 0 ? shown.KeysFor(ui::CommandOfMenuId(choose)) : std::vector<int>();
        });
        LeftClickAt(menuTitle);
        EXPECT_TRUE(PumpUntil([&] { return watcher.closed; }, 5000))
            << (watcher.opened ? "the menu did not close" : "no menu opened");
        Pump(100);
        return watcher.shown;
    };
    ShownMenu menu = openFileMenu("file_menu_calculation.png", 0);
    for (const int id : {wxID_SAVE, wxID_SAVEAS, wxID_CLOSE, wxID_PRINT})
        EXPECT_TRUE(menu.Enabled(ui::CommandOfMenuId(id))) << id;
    EXPECT_EQ(m_manager->GetCurrentDocument(), calculation);

    // Into the catalogue's tree: "Zavřít" closes the catalogue, the calculation stays.
    auto* plannerView = dynamic_cast<CPlannerView*>(planner->GetFirstView());
    wxTreeCtrl* plannerTree = plannerView->TreeCtrl();
    LeftClickAt(ItemPoint(*plannerTree, plannerTree->GetSelection()));
    EXPECT_EQ(m_manager->GetCurrentDocument(), planner);
    menu = openFileMenu("file_menu_catalogue.png", wxID_CLOSE);
    for (const int id : {wxID_SAVEAS, wxID_CLOSE, wxID_PRINT})
        EXPECT_TRUE(menu.Enabled(ui::CommandOfMenuId(id))) << id;
    Pump(100);
    ASSERT_EQ(m_manager->GetDocumentsVector().size(), 1u);
    EXPECT_EQ(m_manager->GetDocumentsVector()[0], calculation);
}

} // namespace
} // namespace pinsum::test
