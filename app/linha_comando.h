#pragma once
// The headless forms of the program: `quarvel --total [ARQUIVO...]` prints a
// tape and its total, `quarvel --pdf SAIDA.pdf ARQUIVO` prints it into a PDF.
// Neither opens a window nor needs a display.

namespace quarvel::app {

// True when the arguments ask for one of the headless forms (or --help/--version).
bool modo_sem_janela(int argc, char** argv);

// Runs the headless form; the exit status of the program.
int executar_sem_janela(int argc, char** argv);

} // namespace quarvel::app
