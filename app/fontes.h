#pragma once
// The windows and the printed pages are laid out in the Windows faces
// "MS Sans Serif", "Arial" and "Courier New". Liberation Sans and Liberation
// Mono (fonts-liberation) have their metrics; fontconfig does not pair
// "MS Sans Serif" with any face by itself and would give a wider one.

namespace quarvel::app {

// Tells fontconfig which face stands for each of the three. Call it before
// the application object exists, so that Qt's font database sees the rules.
// False when fontconfig refused them (the program goes on with its default).
bool registrar_fontes_equivalentes();

} // namespace quarvel::app
