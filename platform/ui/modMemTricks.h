// Window-style tricks: the title bar switch.
#pragma once

class QWidget;

namespace modMemTricks {

// Shows or hides the window's title bar and frame; a repeated call with the same value changes nothing.
void ShowTitleBar(QWidget& form, bool on);

} // namespace modMemTricks
