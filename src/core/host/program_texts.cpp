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
    {52140, "Nejlevnější možné řešení"},
    {52141, "Z vybraných zařízení nelze sestavit úplné řešení zadání"},
    {52142, "Nejlevnější řešení se nepodařilo v časovém limitu prokázat"},
    {52144, "Výpočet nejlevnějšího řešení selhal"},
    {52145, "Hledání nejlevnějšího řešení"},
    {52146, "Hledání řešení selhalo"},
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

const std::string& ProgramText(TextId id) {
    static const auto converted = [] {
        std::unordered_map<int, std::string> map;
        for (const auto& [key, utf8] : kTexts)
            map.emplace(key, Utf8ToCp1250(utf8));
        return map;
    }();
    static const std::string empty;
    const auto it = converted.find(static_cast<int>(id));
    return it == converted.end() ? empty : it->second;
}

std::string FormatText(std::string_view pattern, std::initializer_list<TextArg> values) {
    std::string text;
    text.reserve(pattern.size());
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char after = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        size_t index = values.size();
        if (c == '%' && (after == 'd' || after == 's'))
            index = next++;
        else if (c == '%' && after >= '1' && after <= '9')
            index = static_cast<size_t>(after - '1');
        else {
            text += c;
            continue;
        }
        if (index < values.size())
            text += values.begin()[index].Text();
        else
            text.append(pattern.substr(i, 2));
        ++i;
    }
    return text;
}

std::string FormatText(TextId id, std::initializer_list<TextArg> values) {
    return FormatText(ProgramText(id), values);
}

} // namespace pinsum
