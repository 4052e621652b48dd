#pragma once

class wxWindow;

namespace pinsum::ui {

// Moves a window's top left corner to the mouse cursor, as far as the screen under the cursor
// lets the whole window stay on it.
void MoveToMouse(wxWindow& window);

} // namespace pinsum::ui
