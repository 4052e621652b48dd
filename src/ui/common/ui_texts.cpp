#include "common/ui_texts.h"

#include <string>
#include <unordered_map>

#include "common/wx_text.h"

namespace pinsum::ui {
namespace {

struct Entry {
    const char* text;
    // The command's string: prompt, then "\n" and the tool-tip.
    const char* command = nullptr;
};

const std::unordered_map<int, Entry>& Table() {
    static const std::unordered_map<int, Entry> table = {
        {51000, {"Nápověda\tF5", "Vyvolá zobrazení nápovědy pro grafický prvek"}},
        {52063, {"Bmp soubory (*.BMP)|*.BMP;*.bmp|Jpg Soubory (*.JPG)|*.JPG;*.jpg"}},
        {52064, {"Tučné", "Tučné"}},
        {52065, {"Kurzíva", "Kurzíva"}},
        {52066, {"Podtržené", "Podtržené"}},
        {52067, {"Barva", "Barva"}},
        {52068, {"Obrázek", "Obrázek"}},
        {52072, {"Vložit\tIns", "Vloží novou položku"}},
        {52073, {"Smazat\tDel", "Smaže položku"}},
        {52074, {"Vlastnosti\tEnter", "Spustí editor vlastností"}},
        {52076, {"Vloží IO bod před", "Vloží IO bod před"}},
        {52077, {"Vloží IO bod za", "Vloží IO bod za"}},
        {52078, {"Vloží variantu IO před", "Vloží variantu IO před"}},
        {52079, {"Vloží varinatu IO za", "Vloží varinatu IO za"}},
        {52080, {"Smaže IO bod", "Smaže IO bod"}},
        {52081, {"Smaže variantu IO", "Smaže variantu IO"}},
        {52107, {"Řešení %d z %d"}},
        {52108,
         {"Nastav počet IO", "Nastavit počet požadovaných IO bodů\n"
                             "Nastaví počet požadovaných IO bodů zvoleného typu"}},
        {52109,
         {"Navrhnout řešení", "Spustí proces řešení návrhu IO bodů\n"
                              "Spustí proces řešení návrhu IO bodů"}},
        {52110,
         {"Další řešení", "Posune se na následující řešení\n"
                          "Posune se na následující řešení"}},
        {52111,
         {"Předchozí řešení", "Posune se na předchozí řešení\n"
                              "Posune se na předchozí řešení"}},
        {52112, {"Nápověda", "Zobrazí nápovědu položky\nZobrazí nápovědu položky"}},
        {52118,
         {"Detaily řešení", "Zobrazí detailní rozpis řešení\n"
                            "Zobrazí detailní rozpis řešení"}},
        {52119,
         {"Kopírovat do schránky", "Exportuje popis řešení do standardní schránky\n"
                                   "Exportuje popis řešení do standardní schránky"}},
        {52120, {"Poslední řešení", "Zobrazí poslední řešení"}},
        {52121, {"První řešení", "Zobrazí první řešení"}},
        {52122,
         {"Smazat zadání", "Smaže parametry zadání a seznam řešení\n"
                           "Smaže parametry zadání a seznam řešení"}},
        {52123,
         {"Aktualizovat databázi", "Provede pokus o aktualizaci databáze z internetu\n"
                                   "Aktualizace databáze"}},
        {52132, {"FTP Export", "Uloží databázi na server\nUloží databázi na server"}},
        {52138,
         {"Aktualizovat automaticky", "Zapne/Vypne funkci automatické aktualizace databáze"}},
        {52141,
         {"Nastav počet terminálů", "Nastaví požadovaný počet terminálových rozhraní\n"
                                    "Nastaví počet terminálů"}},
        {52143,
         {"Nejlevnější řešení", "Spustí řešení návrhu IO bodů a najde i nejlevnější "
                                "možné řešení\nNajde nejlevnější možné řešení"}},
        {52146,
         {"Načíst seznam signálů…", "Nastaví počty požadovaných IO podle seznamu signálů "
                                    "(XLSX nebo CSV)\nNačte seznam signálů"}},
        {52147, {"Uložit nabídku…", "Uloží nabídku zobrazeného řešení jako PDF\nUloží nabídku"}},
        {60000, {"Kalkulátor IO bodů"}},
        {60001, {"Požadované IO"}},
        {60002, {"Požadované ovládání a indikace"}},
        {60003, {"Pro návrh použít"}},
        {60004, {"Kalkulátor Verze:"}},
        {60005, {"Výsledky"}},
        {60006, {"Hledání řešení"}},
        {60007, {"Rychle"}},
        {60008, {"Důkladně"}},
        {60009, {"Spustit"}},
        {60010, {"Ukončit "}},
        {60011, {"Ukončit řešení"}},
        {60012, {"Storno"}},
        {60013, {"OK"}},
        {60014, {"Rozpis řešení"}},
        {60015, {"Počet:"}},
        {60016,
         {"Soubor databáze \"iodb.pp\" nebyl nalezen ve složce programu ani ve "
          "složce PROJECT.\nKalkulátor zůstane prázdný."}},
        {60017, {"Soubor databáze \"iodb.pp\" nelze načíst:\n%s\nKalkulátor zůstane prázdný."}},
        {60018, {"Zadejte celé číslo od %d do %d."}},
        {60019, {"Probíhá hledání řešení. Počkejte na jeho konec nebo jej ukončete."}},
        {60020, {"Soubor nelze načíst:\n%s"}},
        {60021, {"Soubor nelze uložit:\n%s"}},
        {60022, {"Soubor není soubor kalkulace; otevře se prázdný."}},
        {60023, {"Kalkulace IO bodů"}},
        {60024, {"Databáze plánovače"}},
        {60025, {"Nastavení aktualizace nelze přečíst:\n%s"}},
        {60026, {"Položka nemá nápovědu"}},
        {60027, {"Editor nápovědy"}},
        {60028, {"Vlastnosti IO Bodu"}},
        {60029, {"Vlastnosti řady automatů"}},
        {60030, {"Vlastnosti IO modulu"}},
        {60031, {"Vlastnosti IO zařízení"}},
        {60032, {"Vlastnosti varianty modulu"}},
        {60033, {"Jméno"}},
        {60034, {"Ikona"}},
        {60035, {"Pravidla"}},
        {60036, {"Vyžaduje se"}},
        {60037, {"Nabízet jako výchozí"}},
        {60038, {"Výhradní přepínač"}},
        {60039, {"Modulární značení"}},
        {60040, {"Cena"}},
        {60041, {"Varianty IO"}},
        {60042, {"Vstupy výstupy"}},
        {60043, {"Popis modulu"}},
        {60044, {"Číslo"}},
        {60045, {"Varianta"}},
        {60046, {"IO bod"}},
        {60047, {"IO Pozice"}},
        {60048, {"Dostupné pozice"}},
        {60049, {"IO Moduly"}},
        {60050, {"Dostupné moduly"}},
        {60051, {"Typ"}},
        {60052, {"Automat"}},
        {60053, {"Periferie"}},
        {60054, {"Rychlost IO"}},
        {60055, {"Vysoká"}},
        {60056, {"Nízká"}},
        {60057, {"Ovládání"}},
        {60058, {"Standardní"}},
        {60059, {"Terminál"}},
        {60060, {"Řada"}},
        {60061, {"Komunikace - propojení"}},
        {60062, {"Komunikační sítě"}},
        {60063, {"Popis varianty"}},
        {60064, {"Seznam pravidel"}},
        {60065, {"Barva"}},
        {60066, {"Zadejte částku, například 1250 nebo 1250,50."}},
        {60067, {"Cena musí být v rozsahu 0 až %s."}},
        {60068, {"Vloží pravidlo před"}},
        {60069, {"Vloží pravidlo za"}},
        {60070, {"Smaže pravidlo"}},
        {60071, {"Všechny soubory|*"}},
        {60072, {"Načíst seznam signálů"}},
        {60073, {"Seznamy signálů (*.xlsx, *.csv)|*.xlsx;*.XLSX;*.csv;*.CSV"}},
        {60074, {"Přiřazení typů signálů"}},
        {60075, {"Přiřazení typů (*.json)|*.json;*.JSON"}},
        {60076, {"Uložit nabídku"}},
        {60077, {"Nabídka PDF (*.pdf)|*.pdf;*.PDF"}},
        {60078, {"nabidka.pdf"}},
        {60079, {"Počty požadovaných IO jsou načteny ze seznamu signálů \"%s\" (signálů: %d)."}},
        {60080,
         {"Počty požadovaných IO jsou načteny ze seznamu signálů \"%s\", list \"%s\" "
          "(signálů: %d)."}},
        {60081, {"Tyto typy signálů nejsou IO body databáze a nebyly započteny:"}},
        {60082, {"%s: %s"}},
        {60083, {"%s; podobné názvy: %s"}},
        {60084, {"… a dalších typů: %d"}},
        {60085, {"Vynechané řádky bez typu: %s"}},
        {60086, {"Vynechané řádky podle přiřazení typů: %s"}},
        {60087, {"řádek %s"}},
        {60088, {"řádky %s"}},
        {60089, {"%s a dalších %d"}},
        {60090, {"Načíst přiřazení typů signálů k IO bodům ze souboru JSON?"}},
    };
    return table;
}

const Entry* Find(int id) {
    const auto& table = Table();
    const auto it = table.find(id);
    return it == table.end() ? nullptr : &it->second;
}

} // namespace

wxString Text(UiText id) {
    const Entry* entry = Find(static_cast<int>(id));
    return entry != nullptr ? wxString::FromUTF8(entry->text) : wxString();
}

wxString CommandPrompt(int command) {
    const Entry* entry = Find(command);
    if (entry == nullptr || entry->command == nullptr)
        return wxString();
    const std::string text = entry->command;
    return FromUtf8(text.substr(0, text.find('\n')));
}

wxString CommandToolTip(int command) {
    const Entry* entry = Find(command);
    if (entry == nullptr || entry->command == nullptr)
        return wxString();
    const std::string text = entry->command;
    const size_t cut = text.find('\n');
    return FromUtf8(cut == std::string::npos ? text : text.substr(cut + 1));
}

wxString Format(UiText id, std::initializer_list<TextArg> values) {
    // The buffer lives only as long as the string it was taken from.
    const wxString text = Text(id);
    const wxScopedCharBuffer pattern = text.utf8_str();
    return FromUtf8(FormatText(std::string_view(pattern.data(), pattern.length()), values));
}

wxString Text(TextId id) {
    return FromModel(ProgramText(id));
}

} // namespace pinsum::ui
