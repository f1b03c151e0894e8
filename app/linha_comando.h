#pragma once
// The headless forms of the program: `quarvel --total [ARQUIVO...]` prints a
// tape and its total, `quarvel --pdf SAIDA.pdf ARQUIVO` prints it into a PDF.
// Neither opens a window nor needs a display.

namespace quarvel::app {

// True when the arguments hold an option other than Qt's own: the headless
// forms, --help, --help-all, --version, or one to refuse.
bool modo_sem_janela(int argc, char** argv);

// Runs the headless form; the exit status of the program.
int executar_sem_janela(int argc, char** argv);

} // namespace quarvel::app
