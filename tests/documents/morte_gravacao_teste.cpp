// A save killed with SIGKILL at any moment leaves the old document or the new
// one, complete — never a part of either; the temporary file it may leave
// goes with the next save.
#include "documents/arquivo_calculo.h"
#include "tests/apoio/arquivos.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QByteArray documento(const char* valor, int n) {
    quarvel::documents::Documento d;
    d.config.cabecalho = "Malote";
    d.brutos.assign(static_cast<std::size_t>(n), valor);
    return QByteArray::fromStdString(quarvel::documents::escrever_calculo(d));
}

using quarvel::testes::escrever_arquivo;

TEST(MorteDuranteAGravacao, SempreOAntigoOuONovoInteiro) {
    QTemporaryDir pasta;
    const QByteArray velho = documento("1234,56", 50000);
    const QByteArray novo = documento("7", 40000);
    const QString arquivo = pasta.filePath(QStringLiteral("malote.qvl"));
    escrever_arquivo(pasta.filePath(QStringLiteral("a")), velho);
    escrever_arquivo(pasta.filePath(QStringLiteral("b")), novo);
    escrever_arquivo(arquivo, velho);
    for (int espera : {0, 1, 3, 7, 12, 20, 33, 50}) {
        QProcess p;
        p.start(QStringLiteral(QUARVEL_GRAVADOR), {arquivo, pasta.filePath(QStringLiteral("a")),
                                                   pasta.filePath(QStringLiteral("b"))});
        ASSERT_TRUE(p.waitForStarted());
        if (espera > 0) {
            ASSERT_TRUE(p.waitForReadyRead(10000));
            QThread::msleep(static_cast<unsigned long>(espera));
        }
        p.kill(); // SIGKILL
        p.waitForFinished();
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << espera;
        const QByteArray agora = f.readAll();
        EXPECT_TRUE(agora == velho || agora == novo)
            << "after " << espera << " ms: " << agora.size() << " bytes";
        QProcess proxima;
        proxima.start(QStringLiteral(QUARVEL_GRAVADOR),
                      {arquivo, pasta.filePath(QStringLiteral("a")),
                       pasta.filePath(QStringLiteral("b")), QStringLiteral("uma")});
        ASSERT_TRUE(proxima.waitForFinished(10000));
        EXPECT_EQ(proxima.exitCode(), 0);
        EXPECT_TRUE(
            QDir(pasta.path()).entryList({".malote.qvl.*"}, QDir::Files | QDir::Hidden).isEmpty())
            << "after " << espera << " ms";
    }
}

} // namespace
