#pragma once
// The program keeps its own light look on every desktop. Its colours are
// fixed (blue captions, black labels, a white tape, lime-green figures on
// black, pale fields) and were chosen against a light window; a dark desktop
// palette under them would leave blue and black text on dark grey. So the
// whole application, its dialogs and Qt's own, is drawn with Fusion and
// Fusion's light palette, every role set, whatever the desktop's theme says.
class QPalette;

namespace quarvel::app {

// Fusion's light palette with every colour role of every group set, so that
// neither a platform theme nor a later change of it resolves any to a desktop
// colour.
QPalette paleta_clara();

// Fusion and paleta_clara() for the application; before any window is made.
void aplicar_aparencia_clara();

} // namespace quarvel::app
