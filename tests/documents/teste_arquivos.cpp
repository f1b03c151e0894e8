#include "documents/arquivos.h"
#include "documents/codificacao.h"
#include "documents/pasta_backup.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

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
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
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
    ASSERT_TRUE(QDir(pasta_).mkdir("pasta.qvlbackup"));
    QStringList nomes = listar_backups(pasta_);
    nomes.sort();
    EXPECT_EQ(nomes, (QStringList{".qvlbackup", "malote.qvlbackup"}));
    EXPECT_TRUE(listar_backups(tmp_.filePath("nao_existe")).isEmpty());
}

TEST_F(PastaBackup, LimparApagaTudoERecria) {
    ASSERT_FALSE(pasta_backup().isEmpty());
    criar("a.qvlbackup");
    ASSERT_TRUE(QDir(pasta_).mkpath("dentro/mais"));
    QString erro;
    ASSERT_TRUE(limpar_pasta_backup(pasta_, &erro)) << erro.toStdString();
    EXPECT_TRUE(QDir(pasta_).exists());
    EXPECT_TRUE(QDir(pasta_).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    // A folder that did not exist is simply made.
    ASSERT_TRUE(QDir(pasta_).removeRecursively());
    EXPECT_TRUE(limpar_pasta_backup(pasta_, &erro));
    EXPECT_TRUE(QDir(pasta_).exists());
}

TEST_F(PastaBackup, LimparSemPastaDefinidaFalha) {
    QString erro;
    EXPECT_FALSE(limpar_pasta_backup(QString(), &erro));
    EXPECT_FALSE(erro.isEmpty());
}

TEST_F(PastaBackup, FalhaAoLimparEInformada) {
    ASSERT_FALSE(pasta_backup().isEmpty());
    ASSERT_TRUE(QDir(pasta_).mkpath("trancada"));
    criar("trancada/x.qvlbackup");
    const QString trancada = pasta_ + "/trancada";
    QFile::setPermissions(trancada, QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray p = QFile::encodeName(trancada);
    const bool pode = geteuid() == 0 || access(p.constData(), W_OK) == 0;
    QString erro;
    const bool ok = limpar_pasta_backup(pasta_, &erro);
    QFile::setPermissions(trancada, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (pode) GTEST_SKIP() << "the folder stays writable for this user";
    EXPECT_FALSE(ok);
    EXPECT_FALSE(erro.isEmpty());
}

} // namespace
} // namespace quarvel::documents
