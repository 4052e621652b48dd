#pragma once

#include <initializer_list>

#include <wx/string.h>

#include "host/program_texts.h"

namespace pinsum::ui {

// Texts only the windows show. Those with a number in the program's string table keep it; the
// rest are numbered from 60000 on.
enum class UiText : int {
    SolutionCaption = 52107, // "Řešení %d z %d"
    // Menu 4060 and the commands' prompt and tool-tip texts share the command's number.
    MenuSetIoNumber = 52108,
    MenuRunCompile = 52109,
    MenuNext = 52110,
    MenuPrevious = 52111,
    MenuHelp = 52112,
    MenuSolutionDetail = 52118,
    MenuExportToClip = 52119,
    MenuLast = 52120,
    MenuFirst = 52121,
    MenuClearInput = 52122,
    MenuUpdateDatabase = 52123,
    MenuAutoUpdate = 52138,
    MenuTerminalNo = 52141,

    HostCaption = 60000,
    LabelRequiredIo,
    LabelTerminals,
    LabelUseForDesign,
    LabelVersion,
    LabelResults,
    GroupSearch,
    LabelFast,
    LabelThorough,
    ButtonCalc,
    ButtonStop,
    ButtonStopSearch,
    ButtonCancel,
    ButtonOk,
    ReportCaption,
    CountLabel,
    CatalogueMissing,
    CatalogueUnreadable,
    NumberOutOfRange,
    SearchRunning,
    FileUnreadable,
    FileNotSaved,
    NotPlannerFile,
    CalculatorDocument,
    PlannerDocument,
    UpdateConfigError,
};

// A text of the windows (UTF-8 in the source).
wxString Text(UiText id);
// The menu text of a command; its prompt is the part of the command's string before "\n" and its
// tool-tip the part after it (the whole string when it has no "\n").
wxString CommandPrompt(int command);
wxString CommandToolTip(int command);
// Fills "%d" and "%s" in order, as the engine's FormatText does.
wxString Format(UiText id, std::initializer_list<TextArg> values);
// A text of the engine's table, converted for display.
wxString Text(TextId id);

} // namespace pinsum::ui
