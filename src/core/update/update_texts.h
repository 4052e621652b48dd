#pragma once

namespace pinsum {

// Identifiers of the update's messages in the program's texts.
constexpr int kTextUpdateError = 53001;       // "Chyba aktualizace"
constexpr int kTextCannotReplace = 53002;     // "Nelze přepsat soubor databáze"
constexpr int kTextDatabaseCurrent = 53003;   // "Databáze je aktuální"
constexpr int kTextUpdateNotFound = 53004;    // "Aktualizace nebyla nalezena"
constexpr int kTextServerUnreachable = 53005; // "Server je nedostupný"
constexpr int kTextCancelledByUser = 53006;   // "Akce přerušena uživatelem"
constexpr int kTextUploadIncomplete = 53007;  // "Přenos souboru nedokončen!\n..."
constexpr int kTextDatabaseSaved = 53008;     // "Soubor databáze úspěšně uložen"
constexpr int kTextRestartQuestion = 53009; // "Soubor databáze byl úspěšně aktualizován\n..."
constexpr int kTextInstallQuestion = 53010; // "Nalezen aktualizovaný soubor databáze.\n..."
constexpr int kTextCheckingStatus = 53011;  // "Aktualizace ......"

} // namespace pinsum
