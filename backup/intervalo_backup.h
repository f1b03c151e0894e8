#pragma once
// The backup interval: the box offers 1 to 5 minutes, and the file's
// QTDETEMPO keeps the index 0..4 of the item chosen (kIntervalosBackup and
// kSemIntervalo belong to the file: documents/arquivo_calculo.h).
#include "documents/arquivo_calculo.h"

namespace quarvel::backup {

using documents::kIntervalosBackup;
using documents::kSemIntervalo;

inline constexpr int kMilissegundosPorMinuto = 60000;

// The minutes of the item at `indice` (0 is one minute).
int minutos_do_indice(int indice);
// The timer's interval for that many minutes, in milliseconds.
int intervalo_ms(int minutos);

// The item a file's QTDETEMPO selects: itself when the box has it, else
// kSemIntervalo.
int indice_do_arquivo(int qtdetempo);

// A file that turns the switch on runs with its own interval when it has
// one, else with the item shown, else with one minute: opening never stops
// to ask for an interval. Both are item indexes, kSemIntervalo for none; the
// result is the item that is then shown, and runs.
int indice_ao_abrir(int indice_arquivo, int indice_mostrado);

} // namespace quarvel::backup
