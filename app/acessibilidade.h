#pragma once
// What a screen reader hears in the main window: a Portuguese name for every
// control (the keypad's pictures included) and a description where the name
// alone does not say enough. The values that change on their own — the
// current tape line, the total and the total in words — are kept in the
// descriptions of the tape, of `valor_final` and of `valor_leitor`; each
// change sends a DescriptionChanged event, which is how it gets announced.
class QMainWindow;

namespace quarvel::app {

// Names the controls of the main window by their object names and starts
// following its values. Called once, at the end of the window's construction.
void tornar_acessivel(QMainWindow& janela);

} // namespace quarvel::app
