#pragma once
// The text display as a screen reader sees it: its whole text, readable by character, word, line and
// paragraph, its selection, and where each character stands, so that AT-SPI readers can follow the game.

namespace gr {

// Makes the text display known to Qt's accessibility; once per program, harmless when called again.
void InstallTextAccess();

} // namespace gr
