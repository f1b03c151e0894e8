#include "backup/local_backup.h"

#include <gtest/gtest.h>

namespace quarvel::backup {
namespace {

struct Caso {
    const char* nome;
    AmbienteBackup ambiente;
    const char* pasta;
};

const Caso kCasos[] = {
    {"Forcada", {"/srv/bk", "/usr/bin", false, "/x", "/home/ana"}, "/srv/bk"},
    // Installed: never beside the program, even where it could write (root).
    {"InstaladoEmUsr",
     {"", "/usr/bin", true, "", "/home/ana"},
     "/home/ana/.local/share/Quarvel/Backup"},
    {"InstaladoEmOpt", {"", "/opt/quarvel/bin", true, "/dados", "/root"}, "/dados/Quarvel/Backup"},
    {"UsrLocal",
     {"", "/usr/local/bin", true, "", "/home/ana"},
     "/home/ana/.local/share/Quarvel/Backup"},
    // Only /usr and /opt themselves, not names that begin the same way.
    {"ParecidoComUsr", {"", "/usrx/bin", true, "", "/home/ana"}, "/usrx/bin/Backup"},
    {"Compilado",
     {"", "/home/ana/quarvel/build/app", true, "", "/home/ana"},
     "/home/ana/quarvel/build/app/Backup"},
    {"CompiladoSemEscrita",
     {"", "/srv/quarvel", false, "/dados", "/home/ana"},
     "/dados/Quarvel/Backup"},
    {"XdgRelativoIgnorado",
     {"", "/usr/bin", false, "dados", "/home/ana"},
     "/home/ana/.local/share/Quarvel/Backup"},
    {"SemCasa", {"", "/usr/bin", false, "", ""}, ""},
};

class LocalBackup : public ::testing::TestWithParam<Caso> {};

TEST_P(LocalBackup, PastaEscolhida) {
    EXPECT_EQ(local_backup(GetParam().ambiente), GetParam().pasta);
}

INSTANTIATE_TEST_SUITE_P(Ambientes, LocalBackup, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& i) { return i.param.nome; });

} // namespace
} // namespace quarvel::backup
