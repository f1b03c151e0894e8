#include "backup/intervalo_backup.h"

namespace quarvel::backup {

int minutos_do_indice(int indice) {
    return indice + 1;
}

int intervalo_ms(int minutos) {
    return minutos * kMilissegundosPorMinuto;
}

int indice_do_arquivo(int qtdetempo) {
    return qtdetempo >= 0 && qtdetempo < kIntervalosBackup ? qtdetempo : kSemIntervalo;
}

int indice_ao_abrir(int indice_arquivo, int indice_mostrado) {
    if (indice_do_arquivo(indice_arquivo) >= 0) return indice_arquivo;
    if (indice_do_arquivo(indice_mostrado) >= 0) return indice_mostrado;
    return 0;
}

} // namespace quarvel::backup
