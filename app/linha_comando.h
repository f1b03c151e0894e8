#pragma once
// The headless forms of the program: `quarvel --total [ARQUIVO...]` prints a
// tape and its total, `quarvel --pdf SAIDA.pdf ARQUIVO` prints it into a PDF.
// Neither opens a window nor needs a display.

namespace quarvel::app {

// True when the arguments hold an option other than Qt's own: the headless
// forms, --help, --help-all, --version, or one to refuse.
bool modo_sem_janela(int argc, char** argv);

// The window has somewhere to go: a display, or a platform chosen outright
// (QT_QPA_PLATFORM, -platform).
bool tela_disponivel(int argc, char** argv);

// Around the making of the window's application: a display that does not
// answer ends the program with a message and status 1, not Qt's abort.
void vigiar_abertura_da_tela();
void tela_aberta();

// Runs the headless form; the exit status of the program.
int executar_sem_janela(int argc, char** argv);

} // namespace quarvel::app
