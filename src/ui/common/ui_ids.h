#pragma once

// The numeric identifiers of the windows and commands of the calculator and the planner; dialogs,
// tests and the host find controls by them.
namespace pinsum::ui {

enum ControlId : int {
    ID_VERSION_LABEL = 1001,
    ID_TREE_IO = 4212,
    ID_TREE_SELECTOR = 4213,
    ID_RESULT_LIST = 4214,
    ID_BUTTON_CALC = 4215,
    ID_BUTTON_PREVIOUS = 4216,
    ID_BUTTON_NEXT = 4217,
    ID_CAPTION = 4218,
    ID_BUTTON_STOP = 4220,
    ID_BUTTON_START = 4221,
    ID_BUTTON_END = 4222,
    ID_SOLUTION_NUMBER = 4223,
    ID_SLIDER_LEVEL = 4225,
    ID_TREE_TERMINAL = 4231,
    // The progress dialogs' status text and bar, and the report dialog's text.
    ID_STATUS_TEXT = 4221,
    ID_PROGRESS_BAR = 4224,
    ID_REPORT_TEXT = 4222,

    // The help editor and the planner's property dialogs.
    ID_PICK_LIST = 1031,
    ID_RICH_EDIT = 4012,
    ID_NAME = 4201,
    ID_MARKING = 4203,
    ID_VARIANT_LIST = 4206,
    ID_PRICE = 4207,
    ID_RULE_LIST = 4208,
    ID_POINT_LIST = 4209,
    ID_DEVICE_TYPE = 4210,
    ID_IO_SPEED = 4211,
    ID_SERIES = 4212,
    ID_CONTROL = 4213,
    ID_NETWORKS = 4214,
    ID_OFFER_DEFAULT = 4220,
    ID_CATEGORY_ORDINARY = 4226,
    ID_CATEGORY_TERMINAL = 4227,
    ID_IMAGE_ORDINARY = 4228,
    ID_IMAGE_TERMINAL = 4229,
    ID_REQUIRED = 4230,
    ID_EXCLUSIVE = 4232,
};

enum CommandId : int {
    ID_SCRM = 40204,
    ID_SHOW_HELP = 51000,
    ID_FORMAT_BOLD = 52064,
    ID_FORMAT_ITALIC = 52065,
    ID_FORMAT_UNDERLINE = 52066,
    ID_FORMAT_COLOUR = 52067,
    ID_FORMAT_PICTURE = 52068,
    ID_INSERT_ITEM = 52072,
    ID_DELETE_ITEM = 52073,
    ID_EDIT_ITEM = 52074,
    ID_INSERT_POINT_BEFORE = 52076,
    ID_INSERT_POINT_AFTER = 52077,
    ID_INSERT_VARIANT_BEFORE = 52078,
    ID_INSERT_VARIANT_AFTER = 52079,
    ID_DELETE_POINT = 52080,
    ID_DELETE_VARIANT = 52081,
    ID_RESULT_SET_IO_NUMBER = 52108,
    ID_RESULT_RUN_COMPILE = 52109,
    ID_RESULT_NEXT = 52110,
    ID_RESULT_PREVIOUS = 52111,
    ID_RESULT_HELP = 52112,
    ID_SHOW_SOLUTION_DETAIL = 52118,
    ID_EXPORT_TO_CLIP = 52119,
    ID_RESULT_LAST = 52120,
    ID_RESULT_FIRST = 52121,
    ID_CLEAR_INPUT_LIST = 52122,
    ID_UPDATE_DATABASE = 52123,
    ID_EXPORT_DB_FILE = 52132,
    ID_AUTO_UPDATE = 52138,
    ID_RESULT_TERMINAL_NO = 52141,
    // "Nejlevnější řešení": the search and the exact mode together.
    ID_RESULT_RUN_CHEAPEST = 52143,
    // "Načíst seznam signálů…" and "Uložit nabídku…".
    ID_LOAD_SIGNAL_LIST = 52146,
    ID_SAVE_QUOTATION = 52147,
};

// wx takes menu and tool ids below 0x7FFF only (it asserts otherwise); the command numbers
// (up to 52147) are moved into that range for the windows and back for the handlers.
constexpr int kMenuIdOffset = 40000;
constexpr int MenuId(int command) {
    return command - kMenuIdOffset;
}
constexpr int CommandOfMenuId(int id) {
    return id + kMenuIdOffset;
}

} // namespace pinsum::ui
