#include "documents/arquivos.h"
#include "documents/codificacao.h"

#include "tests/apoio/arquivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
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
