#pragma once

#include <initializer_list>

#include <wx/string.h>

#include "host/program_texts.h"

namespace pinsum::ui {

// Texts only the windows show. Those with a number in the program's string table keep it; the
// rest are numbered from 60000 on.
enum class UiText : int {
    MenuShowHelp = 51000,
    PictureFilter = 52063, // the picture dialog's filter
    MenuBold = 52064,
    MenuItalic = 52065,
    MenuUnderline = 52066,
    MenuColour = 52067,
    MenuPicture = 52068,
    MenuInsertItem = 52072,
    MenuDeleteItem = 52073,
    MenuEditItem = 52074,
    MenuInsertPointBefore = 52076,
    MenuInsertPointAfter = 52077,
    MenuInsertVariantBefore = 52078,
    MenuInsertVariantAfter = 52079,
    MenuDeletePoint = 52080,
    MenuDeleteVariant = 52081,
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
    MenuExportDbFile = 52132,
    MenuAutoUpdate = 52138,
    MenuTerminalNo = 52141,
    MenuRunCheapest = 52143,
    MenuLoadSignalList = 52146,
    MenuSaveQuotation = 52147,

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
    NoHelp,
    HelpEditorCaption,
    TypePropertyCaption,
    LinePropertyCaption,
    ModulePropertyCaption,
    DevicePropertyCaption,
    VariantPropertyCaption,
    LabelName,
    GroupIcon,
    GroupRules,
    CheckRequired,
    CheckOfferDefault,
    CheckExclusive,
    LabelMarking,
    LabelPrice,
    LabelVariants,
    LabelPoints,
    LabelModuleHelp,
    ColumnNumber,
    ColumnVariant,
    ColumnPoint,
    LabelPositions,
    ColumnPositions,
    LabelModules,
    ColumnModules,
    LabelType,
    TypeController,
    TypePeripheral,
    LabelIoSpeed,
    SpeedHigh,
    SpeedLow,
    LabelControl,
    ControlStandard,
    ControlTerminal,
    LabelSeries,
    LabelNetworks,
    ColumnNetworks,
    LabelVariantHelp,
    LabelRules,
    ColourCaption,
    PriceInvalid,
    PriceOutOfRange,
    MenuInsertRuleBefore,
    MenuInsertRuleAfter,
    MenuDeleteRule,
    AllFilesFilter,
    SignalListCaption,
    SignalListFilter,
    SignalMapCaption,
    SignalMapFilter,
    QuotationCaption,
    QuotationFilter,
    QuotationFileName,
    SignalListLoaded,
    SignalListLoadedFromSheet,
    SignalTypesUnmapped,
    SignalTypeRows,
    SignalTypeHints,
    SignalMoreTypes,
    SignalRowsWithoutType,
    SignalRowsLeftOut,
    SignalRow,
    SignalRows,
    SignalRowsMore,
    SignalMapQuestion,
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
