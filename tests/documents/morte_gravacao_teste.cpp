// A save killed with SIGKILL at any moment leaves the old document or the new
// one, complete — never a part of either; the temporary file it may leave
// goes with the next save.
#include "documents/arquivo_calculo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray documento(const char* valor, int n) {
    quarvel::documents::Documento d;
    d.config.cabecalho = "Malote";
    d.brutos.assign(static_cast<std::size_t>(n), valor);
    return QByteArray::fromStdString(quarvel::documents::escrever_calculo(d));
}

void gravar(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ler(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Renamed over the old file, or, for a file with a second hard link,
// written in place behind a copy of its old bytes: after a kill the file is
// whole, or that copy is.
struct Caso {
    const char* nome;
    bool ligacao_dura;
};

class MorteDuranteAGravacao : public ::testing::TestWithParam<Caso> {};

TEST_P(MorteDuranteAGravacao, SempreOAntigoOuONovoInteiro) {
    QTemporaryDir pasta;
    const QByteArray velho = documento("1234,56", 50000);
    const QByteArray novo = documento("7", 40000);
    const QString arquivo = pasta.filePath(QStringLiteral("malote.qvl"));
    gravar(pasta.filePath(QStringLiteral("a")), velho);
    gravar(pasta.filePath(QStringLiteral("b")), novo);
    gravar(arquivo, velho);
    if (GetParam().ligacao_dura) {
        const QByteArray outro = QFile::encodeName(pasta.filePath(QStringLiteral("outro")));
        ASSERT_EQ(::link(QFile::encodeName(arquivo).constData(), outro.constData()), 0);
    }
    const QStringList gravador_args = {arquivo, pasta.filePath(QStringLiteral("a")),
                                       pasta.filePath(QStringLiteral("b"))};
    int partidos = 0;
    for (int espera : {0, 1, 3, 7, 12, 20, 33, 50}) {
        QDir dir(pasta.path());
        for (const QString& c : dir.entryList({"malote.copia-*.qvl"}, QDir::Files))
            dir.remove(c);
        QProcess p;
        p.start(QStringLiteral(QUARVEL_GRAVADOR), gravador_args);
        ASSERT_TRUE(p.waitForStarted());
        if (espera > 0) {
            ASSERT_TRUE(p.waitForReadyRead(10000));
            QThread::msleep(static_cast<unsigned long>(espera));
        }
        p.kill(); // SIGKILL
        p.waitForFinished();
        const QByteArray agora = ler(arquivo);
        const QStringList copias = dir.entryList({"malote.copia-*.qvl"}, QDir::Files);
        if (agora == velho || agora == novo) {
            EXPECT_LE(copias.size(), 1) << "after " << espera << " ms";
        } else {
            // Killed while writing in place: the bytes before are in the copy.
            ++partidos;
            ASSERT_EQ(copias.size(), 1)
                << "after " << espera << " ms: " << agora.size() << " bytes and no copy";
            const QByteArray copia = ler(dir.filePath(copias[0]));
            EXPECT_TRUE(copia == velho || copia == novo) << "after " << espera << " ms";
            EXPECT_TRUE(GetParam().ligacao_dura) << "a renamed save left a partial file";
        }
        QProcess proxima;
        proxima.start(QStringLiteral(QUARVEL_GRAVADOR), gravador_args + QStringList{"uma"});
        ASSERT_TRUE(proxima.waitForFinished(10000));
        EXPECT_EQ(proxima.exitCode(), 0);
        EXPECT_EQ(ler(arquivo), velho);
        EXPECT_TRUE(dir.entryList({".malote.qvl.*"}, QDir::Files | QDir::Hidden).isEmpty())
            << "after " << espera << " ms";
    }
    // How often a kill found the file half written, for the log.
    RecordProperty("partidos", partidos);
}

INSTANTIATE_TEST_SUITE_P(Modos, MorteDuranteAGravacao,
                         ::testing::Values(Caso{"Renomeando", false}, Caso{"NoLugar", true}),
                         [](const ::testing::TestParamInfo<Caso>& i) {
                             return std::string(i.param.nome);
                         });

} // namespace
