#include "common/czech_translations.h"

#include <clocale>

#include <wx/translation.h>

namespace pinsum::ui {

void UseCzechTranslations() {
    if (wxTranslations::Get() != nullptr)
        return;
    auto* translations = new wxTranslations();
    translations->SetLanguage(wxLANGUAGE_CZECH);
    wxTranslations::Set(translations);
    translations->AddStdCatalog();
    // Only the messages: numbers keep the C locale the engine's texts and files are written in.
    // Without the Czech locale installed GTK's texts stay as they were.
    std::setlocale(LC_MESSAGES, "cs_CZ.UTF-8");
}

} // namespace pinsum::ui
