#include "controls/image_menu.h"

#include "common/ui_ids.h"
#include "common/ui_images.h"
#include "common/ui_texts.h"

namespace pinsum::ui {
namespace {

void AddCommand(wxMenu& menu, int command, wxItemKind kind = wxITEM_NORMAL) {
    auto* item = new wxMenuItem(&menu, MenuId(command), Text(static_cast<UiText>(command)),
                                CommandPrompt(command), kind);
    const wxBitmap image = CommandImage(command);
    if (image.IsOk() && kind == wxITEM_NORMAL)
        item->SetBitmap(image);
    menu.Append(item);
}

} // namespace

std::unique_ptr<wxMenu> CImageMenu::CreateContextMenu() {
    auto menu = std::make_unique<wxMenu>();
    for (const int command :
         {ID_CLEAR_INPUT_LIST, ID_LOAD_SIGNAL_LIST, ID_RESULT_RUN_COMPILE, ID_RESULT_RUN_CHEAPEST,
          ID_RESULT_SET_IO_NUMBER, ID_RESULT_TERMINAL_NO, ID_RESULT_HELP})
        AddCommand(*menu, command);
    menu->AppendSeparator();
    for (const int command : {ID_RESULT_FIRST, ID_RESULT_PREVIOUS, ID_RESULT_NEXT, ID_RESULT_LAST})
        AddCommand(*menu, command);
    menu->AppendSeparator();
    AddCommand(*menu, ID_SHOW_SOLUTION_DETAIL);
    AddCommand(*menu, ID_EXPORT_TO_CLIP);
    AddCommand(*menu, ID_SAVE_QUOTATION);
    menu->AppendSeparator();
    AddCommand(*menu, ID_UPDATE_DATABASE);
    AddCommand(*menu, ID_AUTO_UPDATE, wxITEM_CHECK);
    return menu;
}

std::unique_ptr<wxMenu> CImageMenu::CreatePlannerMenu() {
    auto menu = std::make_unique<wxMenu>();
    for (const int command : {ID_EDIT_ITEM, ID_INSERT_ITEM, ID_DELETE_ITEM, ID_EXPORT_DB_FILE})
        AddCommand(*menu, command);
    menu->AppendSeparator();
    AddCommand(*menu, ID_SHOW_HELP);
    return menu;
}

std::unique_ptr<wxMenu> CImageMenu::CreateFormatMenu() {
    auto menu = std::make_unique<wxMenu>();
    for (const int command : {ID_FORMAT_BOLD, ID_FORMAT_ITALIC, ID_FORMAT_UNDERLINE})
        AddCommand(*menu, command, wxITEM_CHECK);
    for (const int command : {ID_FORMAT_COLOUR, ID_FORMAT_PICTURE})
        AddCommand(*menu, command);
    return menu;
}

std::unique_ptr<wxMenu> CImageMenu::CreateMenu(std::initializer_list<int> commands) {
    auto menu = std::make_unique<wxMenu>();
    for (const int command : commands) {
        if (command == 0)
            menu->AppendSeparator();
        else
            AddCommand(*menu, command);
    }
    return menu;
}

wxString CImageMenu::ToolTipText(int controlId) {
    switch (controlId) {
    case ID_BUTTON_CALC:
        return CommandToolTip(ID_RESULT_RUN_COMPILE);
    case ID_BUTTON_PREVIOUS:
        return CommandToolTip(ID_RESULT_PREVIOUS);
    case ID_BUTTON_NEXT:
        return CommandToolTip(ID_RESULT_NEXT);
    case ID_BUTTON_START:
        return CommandToolTip(ID_RESULT_FIRST);
    case ID_BUTTON_END:
        return CommandToolTip(ID_RESULT_LAST);
    default:
        return wxString();
    }
}

} // namespace pinsum::ui
