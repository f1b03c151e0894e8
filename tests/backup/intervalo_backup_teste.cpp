// The backup interval: the box's items, the timer's milliseconds, and what a
// file that turns the switch on runs with.
#include "backup/intervalo_backup.h"

#include <gtest/gtest.h>

namespace quarvel::backup {
namespace {

TEST(IntervaloBackup, CadaItemEUmMinutoAMais) {
    EXPECT_EQ(kIntervalosBackup, 5);
    for (int i = 0; i < kIntervalosBackup; ++i)
        EXPECT_EQ(minutos_do_indice(i), i + 1);
    EXPECT_EQ(intervalo_ms(1), 60000);
    EXPECT_EQ(intervalo_ms(minutos_do_indice(2)), 3 * 60000);
    EXPECT_EQ(intervalo_ms(minutos_do_indice(kIntervalosBackup - 1)), 300000);
}

TEST(IntervaloBackup, QtdetempoForaDaCaixaNaoSelecionaNada) {
    const struct {
        int qtdetempo;
        int indice;
    } casos[] = {{0, 0}, {4, 4}, {2, 2}, {-1, -1}, {5, -1}, {-7, -1}, {1000, -1}};
    for (const auto& c : casos)
        EXPECT_EQ(indice_do_arquivo(c.qtdetempo), c.indice) << c.qtdetempo;
}

TEST(IntervaloBackup, AoAbrirODoArquivoDepoisOMostradoDepoisUmMinuto) {
    const struct {
        int do_arquivo;
        int mostrado;
        int indice;
    } casos[] = {
        {2, 0, 2},   // the file's own interval wins
        {4, -1, 4},  // even with nothing shown
        {-1, 3, 3},  // a file without one: the item shown
        {9, 1, 1},   // an index the box has not: as if the file had none
        {-1, -1, 0}, // nothing anywhere: one minute, and no question asked
        {7, 12, 0},
    };
    for (const auto& c : casos)
        EXPECT_EQ(indice_ao_abrir(c.do_arquivo, c.mostrado), c.indice)
            << c.do_arquivo << " " << c.mostrado;
}

} // namespace
} // namespace quarvel::backup
