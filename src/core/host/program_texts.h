#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace pinsum {

// Identifiers of the program's own texts; the numbers are those of the original string table.
enum class TextId : int {
    CountOutOfRange = 40002,      // "Hodnota \"%s\" musí být v rozsahu"
    CountBadCharacter = 40004,    // "Chybný znak nebo příliš dlouhé číslo"
    CountBadDecimalPoint = 40005, // "Chybná pozice desetinné tečky"
    DuplicateIdentity = 40036,    // "... zdvojený id kód na symbol %1. Pokračovat ?"
    ListIoKinds = 52069,          // "IO Body"
    ListModules = 52070,          // "IO Moduly"
    ListDevices = 52071,          // "Automaty a periferie"
    ListSeries = 52075,           // "Typová řada/PLC/Periferie"
    NoCountsRequested = 52095,
    NoControllerSelected = 52096,
    NoPlcSelected = 52097,
    SolutionCount = 52098, // "Zadání vyhovují(e) %d řešení"
    ColumnDevice = 52099,
    ColumnPrice = 52100,
    ColumnUsedIo = 52101,
    ColumnUnusedIo = 52102,
    RowTotal = 52103,
    UnplacedIo = 52104,
    ColumnIoKind = 52105,
    ColumnCount = 52106,
    SearchProgress = 52115,     // "Řešení %d - rozpracovaných %d"
    ReportModuleLine = 52116,   // "Modul %s\r\n"
    ReportSolutionLine = 52117, // "Řešení: %d, Cena: %s, Použité IO %d,  Nepoužité IO %d\r\n"
    SortingProgress = 52136,    // "Třídění výsledků %d"
    DeduplicationProgress = 52137,
    // The exact mode's texts, numbered after the search's.
    ProvenCheapest = 52140,     // "Nejlevnější možné řešení"
    NoCompleteSolution = 52141, // "Z vybraných zařízení nelze sestavit úplné řešení zadání"
    ExactTimeLimit = 52142, // "Nejlevnější řešení se nepodařilo v časovém limitu prokázat"
    ExactFailed = 52144,    // "Výpočet nejlevnějšího řešení selhal"
    ExactProgress = 52145,  // "Hledání nejlevnějšího řešení"
    SearchFailed = 52146,   // "Hledání řešení selhalo"
    UpdateError = 53001,
    CannotReplaceDatabase = 53002,
    DatabaseCurrent = 53003,
    UpdateNotFound = 53004,
    ServerUnreachable = 53005,
    CancelledByUser = 53006,
    UploadIncomplete = 53007,
    DatabaseSaved = 53008,
    RestartQuestion = 53009,
    InstallQuestion = 53010,
    CheckingStatus = 53011,
};

// The program's text as Windows-1250 bytes; an identifier without a text gives an empty text.
const std::string& ProgramText(TextId id);

// One value for a placeholder: a number or a text (Windows-1250 bytes, inserted as they are).
class TextArg {
public:
    TextArg(std::string_view text) : m_text(text) {}
    TextArg(const std::string& text) : m_text(text) {}
    TextArg(const char* text) : m_text(text) {}
    TextArg(long long value) : m_text(std::to_string(value)) {}
    TextArg(long value) : m_text(std::to_string(value)) {}
    TextArg(int value) : m_text(std::to_string(value)) {}
    TextArg(unsigned long long value) : m_text(std::to_string(value)) {}
    TextArg(unsigned long value) : m_text(std::to_string(value)) {}
    TextArg(unsigned value) : m_text(std::to_string(value)) {}

    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

// Fills a text's placeholders: "%d" and "%s" take the values in order, as printf would, and "%1"
// to "%9" name a value by its position. A placeholder without a value stays as it is and a value
// without a placeholder is dropped, so a text that lacks its placeholder never fails.
std::string FormatText(std::string_view pattern, std::initializer_list<TextArg> values);
std::string FormatText(TextId id, std::initializer_list<TextArg> values);

} // namespace pinsum
