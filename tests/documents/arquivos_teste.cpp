#include "backup/pasta_backup.h"
#include "documents/arquivos.h"
#include "documents/codificacao.h"

#include "tests/apoio/arquivos.h"
#include "tests/falhas/montagem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::documents {
namespace {

TEST(CodificacaoQt, CadaByteComoOQtDecodifica) {
    QStringDecoder dec("windows-1252");
    ASSERT_TRUE(dec.isValid());
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const QString qt = dec.decode(QByteArray(byte.data(), 1));
        EXPECT_EQ(QString::fromStdString(cp1252_para_utf8(byte)), qt) << "byte " << b;
    }
}

TEST(CodificacaoQt, CadaCaractereComoOQtCodifica) {
    QStringEncoder enc("windows-1252");
    ASSERT_TRUE(enc.isValid());
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = cp1252_para_utf8(std::string(1, static_cast<char>(b)));
        const QByteArray qt = enc.encode(QString::fromStdString(utf8));
        EXPECT_EQ(QByteArray::fromStdString(utf8_para_cp1252(utf8)), qt) << "byte " << b;
    }
}

QByteArray conteudo(const QString& caminho) {
    return testes::ler_arquivo(caminho);
}

TEST(Arquivos, GravarELer) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString caminho = tmp.filePath("a.qvl");
    QString erro;
    ASSERT_TRUE(gravar_atomico(caminho, QByteArray("um\r\n"), &erro)) << erro.toStdString();
    ASSERT_TRUE(gravar_atomico(caminho, QByteArray("dois\r\n"), &erro)) << erro.toStdString();
    const auto lido = ler_arquivo(caminho, &erro);
    ASSERT_TRUE(lido.has_value());
    EXPECT_EQ(*lido, QByteArray("dois\r\n"));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{"a.qvl"}); // no leftovers
}

TEST(Arquivos, LerFalhaComMotivo) {
    QTemporaryDir tmp;
    QString erro;
    EXPECT_FALSE(ler_arquivo(tmp.filePath("nada.qvl"), &erro).has_value());
    EXPECT_FALSE(erro.isEmpty());
    erro.clear();
    EXPECT_FALSE(ler_arquivo(tmp.path(), &erro).has_value()); // a folder
    EXPECT_FALSE(erro.isEmpty());
}

TEST(Arquivos, PastaSomenteLeituraMantemOArquivoAntigo) {
    QTemporaryDir tmp;
    const QString pasta = tmp.filePath("trancada");
    ASSERT_TRUE(QDir().mkpath(pasta));
    const QString caminho = pasta + "/a.qvl";
    ASSERT_TRUE(gravar_atomico(caminho, QByteArray("antigo"), nullptr));
    QFile::setPermissions(pasta, QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray p = QFile::encodeName(pasta);
    if (geteuid() == 0 || access(p.constData(), W_OK) == 0) {
        QFile::setPermissions(pasta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "the folder stays writable for this user";
    }
    QString erro;
    EXPECT_FALSE(gravar_atomico(caminho, QByteArray("novo"), &erro));
    EXPECT_FALSE(erro.isEmpty());
    EXPECT_EQ(conteudo(caminho), QByteArray("antigo"));
    QFile::setPermissions(pasta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(Arquivos, PastaInexistenteFalha) {
    QTemporaryDir tmp;
    QString erro;
    EXPECT_FALSE(gravar_atomico(tmp.filePath("nao/existe.qvl"), QByteArray("x"), &erro));
    EXPECT_FALSE(erro.isEmpty());
}

TEST(Arquivos, NomeSemPasta) {
    EXPECT_EQ(nome_sem_pasta("/home/ana/malote1.qvl"), "malote1.qvl");
    EXPECT_EQ(nome_sem_pasta("C:\\Calculos\\malote1.qvl"), "malote1.qvl");
    EXPECT_EQ(nome_sem_pasta("malote1.qvl"), "malote1.qvl");
    EXPECT_EQ(nome_sem_pasta("/pasta/"), "");
}

using backup::limpar_pasta_backup;
using backup::listar_backups;
using backup::pasta_backup;

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

// A symbolic link at the name being written: a document's link is followed
// (the link stays and its file gets the bytes); a backup's link is replaced.
TEST(Gravacao, LigacaoSeguidaOuSubstituida) {
    QTemporaryDir tmp;
    struct Caso {
        Ligacao ligacao;
        bool alvo_existe;
    };
    for (const Caso c : {Caso{Ligacao::Seguir, true}, Caso{Ligacao::Seguir, false},
                         Caso{Ligacao::Substituir, true}, Caso{Ligacao::Substituir, false}}) {
        const QString alvo = tmp.filePath("alvo.qvl");
        const QString ligacao = tmp.filePath("ligacao.qvl");
        QFile::remove(alvo);
        QFile::remove(ligacao);
        if (c.alvo_existe) {
            ASSERT_TRUE(gravar_atomico(alvo, "antigo", nullptr));
        }
        ASSERT_TRUE(QFile::link("alvo.qvl", ligacao)); // relative, as users make them
        QString erro;
        ASSERT_TRUE(gravar_atomico(ligacao, "novo", &erro, c.ligacao)) << erro.toStdString();
        const bool seguir = c.ligacao == Ligacao::Seguir;
        EXPECT_EQ(QFileInfo(ligacao).isSymLink(), seguir);
        EXPECT_EQ(conteudo(ligacao), QByteArray("novo"));
        EXPECT_EQ(conteudo(alvo), seguir          ? QByteArray("novo")
                                  : c.alvo_existe ? QByteArray("antigo")
                                                  : QByteArray("<ausente>"));
        // No temporary file stays.
        EXPECT_TRUE(QDir(tmp.path()).entryList({".*"}, QDir::Files | QDir::Hidden).isEmpty());
    }
}

TEST(Gravacao, SubstituirMantemAsPermissoes) {
    QTemporaryDir tmp;
    const QString caminho = tmp.filePath("a.qvl");
    const QByteArray nome = QFile::encodeName(caminho);
    ASSERT_TRUE(gravar_atomico(caminho, "um", nullptr));
    ASSERT_EQ(chmod(nome.constData(), 0640), 0);
    ASSERT_TRUE(gravar_atomico(caminho, "dois", nullptr));
    struct stat st {};
    ASSERT_EQ(stat(nome.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(conteudo(caminho), QByteArray("dois"));
}

TEST(Gravacao, FalhasTemOMotivoDoSistema) {
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir("pasta.qvl"));
    ASSERT_TRUE(QFile::link("laco", tmp.filePath("laco")));
    struct Caso {
        QString caminho;
        const char* motivo;
    };
    const Caso casos[] = {
        {tmp.filePath("pasta.qvl"), "É uma pasta"},
        {tmp.filePath("nao/existe.qvl"), "Arquivo ou pasta inexistente"},
        {tmp.filePath("laco"), "Ligações simbólicas demais no caminho"},
        {tmp.filePath(QString(300, QLatin1Char('n'))), "Nome de arquivo muito longo"},
    };
    for (const Caso& c : casos) {
        QString erro;
        EXPECT_FALSE(gravar_atomico(c.caminho, "x", &erro)) << c.motivo;
        EXPECT_EQ(erro, QString::fromUtf8(c.motivo));
    }
    EXPECT_EQ(QDir(tmp.path())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name),
              (QStringList{"laco", "pasta.qvl"}));
    EXPECT_EQ(motivo_do_sistema(ENOSPC), QStringLiteral("Não há espaço disponível no dispositivo"));
    EXPECT_FALSE(motivo_do_sistema(12345).isEmpty());
}

} // namespace
} // namespace quarvel::documents
