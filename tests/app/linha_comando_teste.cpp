// The headless forms, run as a user's script would run them.
#include "app/versao.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Saida {
    int status;
    QByteArray saida;
    QByteArray erros;
};

Saida rodar(const QStringList& argumentos, const QByteArray& entrada = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY")); // it must not need one
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUARVEL_BINARIO), argumentos);
    p.waitForStarted();
    p.write(entrada);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

TEST(LinhaDeComando, TotalDaEntradaPadrao) {
    const Saida s = rodar({"--total", "-"}, "12*50\n1.234,56\n\n10/3\n");
    EXPECT_EQ(s.status, 0) << s.erros.toStdString();
    EXPECT_EQ(s.saida,
              QByteArray("600,00\n1.234,56\n0,00\n3,33\nR$ 1.837,89\n"
                         "UM MIL, OITOCENTOS E TRINTA E SETE REAIS E OITENTA E NOVE CENTAVOS\n"));
}

TEST(LinhaDeComando, EntradaMalFormadaSaiComErro) {
    const Saida s = rodar({"--total"}, "1\n2*-3\n");
    EXPECT_EQ(s.status, 1);
    EXPECT_TRUE(s.saida.isEmpty());
    EXPECT_TRUE(s.erros.contains("linha 2")) << s.erros.toStdString();
    EXPECT_TRUE(s.erros.contains("posição 3")) << s.erros.toStdString();
}

TEST(LinhaDeComando, PosicaoDoErroContaOsPontosComoAJanela) {
    // The window says "posição 7" for the same text: the point is counted.
    const Saida s = rodar({"--total", "-"}, "1.234*-3\n");
    EXPECT_EQ(s.status, 1);
    EXPECT_EQ(s.erros, QByteArray("entrada, linha 1: Expressão inválida: 1.234*-3 (posição 7)\n"));
}

TEST(LinhaDeComando, VersaoDoProjeto) {
    const Saida s = rodar({"--version"});
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.saida, QByteArray("quarvel " QUARVEL_VERSAO "\n"));
}

TEST(LinhaDeComando, TotalDeArquivosDeCalculoEDeTexto) {
    QTemporaryDir pasta;
    const QString qvl = pasta.filePath(QStringLiteral("a.qvl"));
    const QString txt = pasta.filePath(QStringLiteral("b.txt"));
    QFile f(qvl);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[CONFIG]\r\n[LER]\r\nINICIO=5\r\nFIM=5\r\n\r\n150\r\n");
    f.close();
    QFile g(txt);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("R$ 1,50\r\n");
    g.close();
    const Saida s = rodar({"--total", qvl, txt});
    EXPECT_EQ(s.status, 0) << s.erros.toStdString();
    EXPECT_EQ(
        s.saida,
        QByteArray("150,00\n1,50\nR$ 151,50\nCENTO E CINQUENTA E UM REAIS E CINQUENTA CENTAVOS\n"));
    const Saida ruim = rodar({"--total", pasta.filePath(QStringLiteral("nao_existe.qvl"))});
    EXPECT_EQ(ruim.status, 1);
}

TEST(LinhaDeComando, PdfSemJanela) {
    QTemporaryDir pasta;
    const QString txt = pasta.filePath(QStringLiteral("b.txt"));
    QFile g(txt);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("1\r\n2\r\n");
    g.close();
    const QString pdf = pasta.filePath(QStringLiteral("s.pdf"));
    const Saida s = rodar({"--pdf", pdf, txt});
    EXPECT_EQ(s.status, 0) << s.erros.toStdString();
    QFile p(pdf);
    ASSERT_TRUE(p.open(QIODevice::ReadOnly));
    EXPECT_TRUE(p.readAll().startsWith("%PDF"));
}

} // namespace
