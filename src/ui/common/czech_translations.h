#pragma once

namespace pinsum::ui {

// Makes the texts that wx and GTK draw themselves Czech, as the library's own are: wx's standard
// catalogue (stock buttons, the document framework's names, questions and file dialogs) and
// GTK's messages (the stock buttons of message boxes, the file chooser). A host that has chosen a
// language of its own keeps it.
void UseCzechTranslations();

} // namespace pinsum::ui
