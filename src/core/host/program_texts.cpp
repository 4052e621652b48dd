#include "host/program_texts.h"

#include <unordered_map>

#include "host/text_codec.h"

namespace pinsum {
namespace {

// Kept in UTF-8 here and converted once, so the source stays readable.
const std::unordered_map<int, const char*> kTexts = {
    {40002, "Hodnota \"%s\" musí být v rozsahu"},
    {40004, "Chybný znak nebo příliš dlouhé číslo"},
    {40005, "Chybná pozice desetinné tečky"},
    {40036, "Během čtení symbolu byl nalezen zdvojený id kód na symbol %1. Pokračovat ?"},
    {52069, "IO Body"},
    {52070, "IO Moduly"},
    {52071, "Automaty a periferie"},
    {52075, "Typová řada/PLC/Periferie"},
    {52095, "Nejsou zadány požadované počty IO bodů"},
    {52096, "Výběr neobsahuje žádné řídicí zařízení"},
    {52097, "Výběr neobsahuje žádné programovatelné zařízení typu automat"},
    {52098, "Zadání vyhovují(e) %d řešení"},
    {52099, "Typ zařízení"},
    {52100, "Cena"},
    {52101, "Použité IO"},
    {52102, "Nepoužité IO"},
    {52103, "Celkem"},
    {52104, "Neumístěné IO"},
    {52105, "Typ IO"},
    {52106, "Počet"},
    {52115, "Řešení %d - rozpracovaných %d"},
    {52116, "Modul %s\r\n"},
    {52117, "Řešení: %d, Cena: %s, Použité IO %d,  Nepoužité IO %d\r\n"},
    {52136, "Třídění výsledků %d"},
    {52137, "Odstranění duplikací %d"},
    {53001, "Chyba aktualizace"},
    {53002, "Nelze přepsat soubor databáze"},
    {53003, "Databáze je aktuální"},
    {53004, "Aktualizace nebyla nalezena"},
    {53005, "Server je nedostupný"},
    {53006, "Akce přerušena uživatelem"},
    {53007, "Přenos souboru nedokončen!\nSoubor na FTP serveru byl smazán."},
    {53008, "Soubor databáze úspěšně uložen"},
    {53009, "Soubor databáze byl úspěšně aktualizován\nPřejete si restartovat projekt s "
            "aktualizovaným souborem ?"},
    {53010, "Nalezen aktualizovaný soubor databáze.\nStáhnout aktualizaci a instalovat ?"},
    {53011, "Aktualizace ......"},
};

} // namespace

const std::string& ProgramText(int id) {
    static const auto converted = [] {
        std::unordered_map<int, std::string> map;
        for (const auto& [key, utf8] : kTexts)
            map.emplace(key, Utf8ToCp1250(utf8));
        return map;
    }();
    static const std::string empty;
    const auto it = converted.find(id);
    return it == converted.end() ? empty : it->second;
}

} // namespace pinsum
