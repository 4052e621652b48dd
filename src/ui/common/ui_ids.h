#pragma once

// The numeric identifiers of the calculator's windows and commands; dialogs, tests and the host
// find controls by them.
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
};

enum CommandId : int {
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
    ID_AUTO_UPDATE = 52138,
    ID_RESULT_TERMINAL_NO = 52141,
};

} // namespace pinsum::ui
