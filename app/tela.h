#pragma once
// Whether the window's start has a display to open on, and the words said
// when the one tried does not answer.

namespace quarvel::app {

// The window has somewhere to go: a display, or a platform chosen outright
// (QT_QPA_PLATFORM, -platform).
bool tela_disponivel(int argc, char** argv);

// Around the making of the window's application: a display that does not
// answer ends the program with a message and status 1, not Qt's abort.
void vigiar_abertura_da_tela();
void tela_aberta();

} // namespace quarvel::app
