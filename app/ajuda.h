#pragma once
// The help file the Ajuda command opens.
#include <QString>

namespace quarvel::app {

// The help file beside the executable; our own guide when it is missing,
// beside the executable in a build, under share/quarvel once installed.
// Empty when there is none.
QString arquivo_ajuda();

} // namespace quarvel::app
