#include "backup/pasta_backup.h"
#include "documents/arquivos.h"
#include "tests/falhas/montagem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::backup {
namespace {

using documents::ler_arquivo_comum;
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

class PastaBackup : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(tmp_.isValid());
        pasta_ = tmp_.filePath("sub/Backup");
        qputenv("QUARVEL_PASTA_BACKUP", pasta_.toLocal8Bit());
    }
    void TearDown() override { qunsetenv("QUARVEL_PASTA_BACKUP"); }
    void criar(const QString& nome) {
        QFile f(pasta_ + "/" + nome);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("1,00\r\n");
    }
    QTemporaryDir tmp_;
    QString pasta_;
};

TEST_F(PastaBackup, VariavelDeAmbienteCriaAPasta) {
    EXPECT_EQ(pasta_backup(), QDir(pasta_).absolutePath());
    EXPECT_TRUE(QDir(pasta_).exists());
}

TEST_F(PastaBackup, ListaSoArquivosDeBackup) {
    ASSERT_FALSE(pasta_backup().isEmpty());
    criar("malote.qvlbackup");
    criar(".qvlbackup");
    criar("outro.txt");
    criar("quase.qvlbackup.txt");
    criar("recuperacao-2024-01-02-030405.qvl"); // a tape kept after an unclean end
    criar("outro.qvl");
    ASSERT_TRUE(QDir(pasta_).mkdir("pasta.qvlbackup"));
    QStringList nomes = listar_backups(pasta_);
    nomes.sort();
    EXPECT_EQ(nomes,
              (QStringList{".qvlbackup", "malote.qvlbackup", "recuperacao-2024-01-02-030405.qvl"}));
    EXPECT_TRUE(listar_backups(tmp_.filePath("nao_existe")).isEmpty());
}

TEST_F(PastaBackup, LimparApagaSoOsBackupsECriaAPastaQueFalta) {
    ASSERT_FALSE(pasta_backup().isEmpty());
    criar("a.qvlbackup");
    criar("recuperacao-2024-01-02-030405.qvl");
    criar("outro.qvl");
    ASSERT_TRUE(QDir(pasta_).mkpath("dentro/mais"));
    criar("dentro/b.qvlbackup");
    QString erro;
    ASSERT_TRUE(limpar_pasta_backup(pasta_, &erro)) << erro.toStdString();
    EXPECT_EQ(
        QDir(pasta_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
        (QStringList{"dentro", "outro.qvl"}));
    EXPECT_TRUE(QFile::exists(pasta_ + "/dentro/b.qvlbackup"));
    // A folder that did not exist is simply made.
    ASSERT_TRUE(QDir(pasta_).removeRecursively());
    EXPECT_TRUE(limpar_pasta_backup(pasta_, &erro));
    EXPECT_TRUE(QDir(pasta_).exists());
}

// The temporary files killed backup saves left go with the backups, and the
// lock files no window holds; a temporary file whose save still runs (its
// lock held) stays and is named.
TEST_F(PastaBackup, LimparApagaAsSobrasDeGravacoesMortas) {
    ASSERT_FALSE(pasta_backup().isEmpty());
    struct Entrada {
        const char* nome;
        bool travada; // a save in progress holds it
        bool apagada;
    };
    const Entrada entradas[] = {
        {".malote.qvlbackup.quarvel-Ab12Cd", false, true},
        {".recuperacao-2024-01-02-030405.qvl.quarvel-Zz09Yy", false, true},
        {".dia.qvlbackup.quarvel-Qw34Er", true, false},
        {".notas.txt.quarvel-Ab12Cd", false, false}, // not a file Quarvel writes there
        {".malote.qvlbackup.Ab12Cd", false, false},  // without the mark: not ours
        // A window's hold on a name: deleted once nobody holds it, and
        // never named as a failure.
        {".malote.qvlbackup.trava", false, true},
        {".dia.qvlbackup.trava", true, false},
    };
    std::vector<int> travas;
    for (const Entrada& e : entradas) {
        criar(QString::fromLatin1(e.nome));
        if (!e.travada) continue;
        const QByteArray nome = QFile::encodeName(pasta_ + "/" + e.nome);
        const int fd = ::open(nome.constData(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        travas.push_back(fd);
    }
    QString erro;
    EXPECT_FALSE(limpar_pasta_backup(pasta_, &erro));
    EXPECT_EQ(erro,
              QStringLiteral("o arquivo .dia.qvlbackup.quarvel-Qw34Er (em uso por uma gravação em "
                             "andamento) não foi apagado."));
    for (const Entrada& e : entradas)
        EXPECT_EQ(QFile::exists(pasta_ + "/" + e.nome), !e.apagada) << e.nome;
    // Once that save is gone, its file goes too.
    for (const int fd : travas)
        ::close(fd);
    EXPECT_TRUE(limpar_pasta_backup(pasta_, &erro)) << erro.toStdString();
    EXPECT_FALSE(QFile::exists(pasta_ + "/.dia.qvlbackup.Qw34Er"));
}

TEST_F(PastaBackup, LimparSemPastaDefinidaFalha) {
    QString erro;
    EXPECT_FALSE(limpar_pasta_backup(QString(), &erro));
    EXPECT_FALSE(erro.isEmpty());
}

// Files that cannot be deleted are named, each with its reason: on a
// read-only tmpfs where the test may mount one, else in a folder without
// write permission.
TEST_F(PastaBackup, FalhaAoLimparNomeiaCadaArquivo) {
    ASSERT_TRUE(QDir().mkpath(pasta_));
    std::optional<testes::Tmpfs> tmpfs;
    QString motivo = QStringLiteral("Permissão negada");
    if (geteuid() == 0) {
        tmpfs.emplace(pasta_, "size=64k");
        if (!tmpfs->montado()) GTEST_SKIP() << tmpfs->motivo.toStdString();
        motivo = QStringLiteral("Sistema de arquivos somente para leitura");
    }
    criar("a.qvlbackup");
    criar("recuperacao-2024-01-02-030405.qvl");
    if (tmpfs)
        ASSERT_TRUE(tmpfs->somente_leitura());
    else
        QFile::setPermissions(pasta_, QFile::ReadOwner | QFile::ExeOwner);
    QString erro;
    const bool ok = limpar_pasta_backup(pasta_, &erro);
    if (!tmpfs)
        QFile::setPermissions(pasta_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(ok);
    const QString a = QStringLiteral("a.qvlbackup (%1)").arg(motivo);
    const QString r = QStringLiteral("recuperacao-2024-01-02-030405.qvl (%1)").arg(motivo);
    EXPECT_TRUE(erro == QStringLiteral("os arquivos %1 e %2 não foram apagados.").arg(a, r) ||
                erro == QStringLiteral("os arquivos %1 e %2 não foram apagados.").arg(r, a))
        << erro.toStdString();
}

TEST_F(PastaBackup, ListarELerIgnoramLigacoesEOQueNaoEArquivo) {
    ASSERT_FALSE(pasta_backup().isEmpty());
    criar("dia.qvlbackup");
    const QString fora = tmp_.filePath("fora.txt");
    QFile f(fora);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("5,00\r\n");
    f.close();
    ASSERT_TRUE(QFile::link(fora, pasta_ + "/ligacao.qvlbackup"));
    ASSERT_TRUE(QFile::link(tmp_.filePath("nada"), pasta_ + "/pendente.qvlbackup"));
    const QByteArray fifo = QFile::encodeName(pasta_ + "/fila.qvlbackup");
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    EXPECT_EQ(listar_backups(pasta_), QStringList{"dia.qvlbackup"});
    QString erro;
    EXPECT_FALSE(ler_arquivo_comum(pasta_ + "/ligacao.qvlbackup", &erro).has_value());
    EXPECT_EQ(erro, QStringLiteral("É uma ligação simbólica, que não é seguida"));
    // A FIFO would block the reader; it is refused at once.
    EXPECT_FALSE(ler_arquivo_comum(pasta_ + "/fila.qvlbackup", &erro).has_value());
    EXPECT_EQ(erro, QStringLiteral("É um pipe nomeado (FIFO), não um arquivo"));
    EXPECT_EQ(ler_arquivo_comum(pasta_ + "/dia.qvlbackup", &erro), QByteArray("1,00\r\n"));
}

TEST_F(PastaBackup, PastaQueNaoPodeSerCriadaTemOMotivo) {
    QFile f(tmp_.filePath("sub"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)); // a plain file where a folder should be
    f.close();
    QString erro;
    EXPECT_TRUE(pasta_backup(&erro).isEmpty());
    EXPECT_EQ(erro,
              QStringLiteral("Não foi possível criar a pasta %1: Não é uma pasta").arg(pasta_));
}

} // namespace
} // namespace quarvel::backup
