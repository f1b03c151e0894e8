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

TEST(LinhaDeComando, AjudaEmPortugues) {
    const Saida s = rodar({"--help"});
    EXPECT_EQ(s.status, 0);
    const QString ajuda = QString::fromUtf8(s.saida);
    for (const char* texto :
         {"Uso:", "Opções:", "Argumentos:", "Mostra a ajuda", "Mostra informações sobre a versão."})
        EXPECT_TRUE(ajuda.contains(QString::fromUtf8(texto))) << texto << "\n"
                                                              << s.saida.toStdString();
    for (const char* ingles : {"Usage:", "Options:", "Arguments:", "Displays"})
        EXPECT_FALSE(ajuda.contains(QString::fromUtf8(ingles))) << ingles;
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

namespace {

struct PdfRecusado {
    const char* nome;
    QByteArray arquivo; // the input, written as entrada.qvl or entrada.txt
    const char* extensao;
    const char* saida; // relative to the temporary folder
    const char* erro;  // what standard error must hold
    friend void PrintTo(const PdfRecusado& p, std::ostream* os) { *os << p.nome; }
};

class PdfRecusadoTeste : public ::testing::TestWithParam<PdfRecusado> {};

TEST_P(PdfRecusadoTeste, SaiComErroSemGravarNada) {
    const PdfRecusado& c = GetParam();
    QTemporaryDir pasta;
    const QString entrada = pasta.filePath(QStringLiteral("entrada.") + c.extensao);
    QFile g(entrada);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(c.arquivo);
    g.close();
    const QString pdf = pasta.filePath(QString::fromUtf8(c.saida));
    const Saida s = rodar({"--pdf", pdf, entrada});
    EXPECT_EQ(s.status, 1);
    EXPECT_TRUE(QString::fromUtf8(s.erros).contains(QString::fromUtf8(c.erro)))
        << s.erros.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PdfRecusadoTeste,
    ::testing::Values(PdfRecusado{"FitaVaziaDeTexto", "", "txt", "s.pdf",
                                  "A fita está vazia: não há o que imprimir."},
                      PdfRecusado{"FitaVaziaDeCalculo",
                                  "[CONFIG]\r\n[LER]\r\nINICIO=4\r\nFIM=3\r\n\r\n", "qvl", "s.pdf",
                                  "A fita está vazia: não há o que imprimir."},
                      PdfRecusado{"PastaDeSaidaInexistente", "1\r\n", "txt", "nao/existe/s.pdf",
                                  "nao/existe/s.pdf"}),
    [](const ::testing::TestParamInfo<PdfRecusado>& i) { return std::string(i.param.nome); });

} // namespace
