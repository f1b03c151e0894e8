#include "backup/pasta_backup.h"
#include "documents/arquivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

namespace quarvel::backup {
namespace {

using documents::motivo_do_sistema;

// What stands in the way of the Backup folder, and the reason the warning
// gives for it (0: the folder is there afterwards, and no warning).
struct CasoCriar {
    const char* nome;
    const char* arquivo; // a plain file made first, or nullptr
    const char* ligacao; // a symbolic link made first, or nullptr
    const char* destino; // where it leads
    const char* backup;  // QUARVEL_PASTA_BACKUP, under the test's folder
    int numero;          // errno the reason is worded from
    friend void PrintTo(const CasoCriar& c, std::ostream* os) { *os << c.nome; }
};

const CasoCriar kCasosCriar[] = {
    {"PastasQueFaltam", nullptr, nullptr, nullptr, "a/b/Backup", 0},
    {"LigacaoParaUmaPasta", nullptr, "Backup", ".", "Backup", 0},
    {"ArquivoNoLugar", "Backup", nullptr, nullptr, "Backup", ENOTDIR},
    {"ArquivoNoCaminho", "a", nullptr, nullptr, "a/b/Backup", ENOTDIR},
    // A link to nothing cannot be made into a folder; the reason is the
    // missing target, not that the name is taken.
    {"LigacaoParaNadaNoLugar", nullptr, "Backup", "nada", "Backup", ENOENT},
    {"LigacaoParaNadaNoCaminho", nullptr, "a", "nada", "a/Backup", ENOENT},
    {"LigacaoParaUmArquivo", "f", "Backup", "f", "Backup", ENOTDIR},
};

class CriarPastaBackup : public ::testing::TestWithParam<CasoCriar> {
  protected:
    void TearDown() override { qunsetenv("QUARVEL_PASTA_BACKUP"); }
    QTemporaryDir pasta_;
};

TEST_P(CriarPastaBackup, FazAsQueFaltamOuNomeiaOMotivo) {
    const CasoCriar& c = GetParam();
    ASSERT_TRUE(pasta_.isValid());
    const QDir raiz(pasta_.path());
    if (c.arquivo) {
        QFile f(raiz.filePath(QString::fromUtf8(c.arquivo)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    if (c.ligacao) {
        ASSERT_TRUE(
            QFile::link(QString::fromUtf8(c.destino), raiz.filePath(QString::fromUtf8(c.ligacao))));
    }
    const QString backup = raiz.filePath(QString::fromUtf8(c.backup));
    qputenv("QUARVEL_PASTA_BACKUP", backup.toUtf8());

    QString erro;
    const QString feita = pasta_backup(&erro);
    if (c.numero == 0) {
        EXPECT_EQ(feita, backup);
        EXPECT_TRUE(erro.isEmpty()) << erro.toStdString();
        EXPECT_TRUE(QFileInfo(backup).isDir());
    } else {
        EXPECT_TRUE(feita.isEmpty());
        EXPECT_EQ(erro.toStdString(),
                  QStringLiteral("Não foi possível criar a pasta %1: %2")
                      .arg(QDir::toNativeSeparators(backup), motivo_do_sistema(c.numero))
                      .toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(Obstaculos, CriarPastaBackup, ::testing::ValuesIn(kCasosCriar),
                         [](const ::testing::TestParamInfo<CasoCriar>& i) {
                             return std::string(i.param.nome);
                         });

} // namespace
} // namespace quarvel::backup
