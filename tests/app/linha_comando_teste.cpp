// The headless forms, run as a user's script would run them: with no display
// at all (no DISPLAY, WAYLAND_DISPLAY nor QT_QPA_PLATFORM).
#include "app/versao.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Saida {
    int status;
    QByteArray saida;
    QByteArray erros;
    bool normal = true; // ended by exit, not by a signal (abort)
};

Saida rodar(const QStringList& argumentos, const QByteArray& entrada = {},
            const QStringList& ambiente = {}, const QString& arquivo_saida = {}) {
    QProcess p;
    if (!arquivo_saida.isEmpty()) p.setStandardOutputFile(arquivo_saida);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(v));
    for (const QString& par : ambiente)
        env.insert(par.section(QLatin1Char('='), 0, 0), par.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUARVEL_BINARIO), argumentos);
    p.waitForStarted();
    p.write(entrada);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError(),
            p.exitStatus() == QProcess::NormalExit};
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
         {"Uso:", "Opções:", "Argumentos:", "Mostra a ajuda nas opções da linha de comando.",
          "Mostra a ajuda com inclusão das opções", "Mostra informações sobre a versão."})
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

namespace {

// Every form of the command line with no display: what it prints and its
// status. %SAIDA% is a PDF to write, %TEXTO% a text file, %BACKUP% a backup
// file, %LONGO% a text file of 1,500 lines; ambiente adds variables to the
// empty display environment; saida_em is where standard output goes.
struct Forma {
    const char* nome;
    QStringList argumentos;
    int status;
    const char* saida; // what standard output holds
    const char* erros; // what standard error holds
    bool gera_pdf = false;
    QStringList ambiente = {};
    const char* saida_em = nullptr;
    friend void PrintTo(const Forma& f, std::ostream* os) { *os << f.nome; }
};

class FormaSemTela : public ::testing::TestWithParam<Forma> {};

TEST_P(FormaSemTela, TerminaComOStatusEATextoEsperados) {
    const Forma& f = GetParam();
    QTemporaryDir pasta;
    auto escrever = [&pasta](const char* nome, const QByteArray& bytes) {
        QFile a(pasta.filePath(QString::fromLatin1(nome)));
        EXPECT_TRUE(a.open(QIODevice::WriteOnly));
        a.write(bytes);
        return a.fileName();
    };
    const QString texto = escrever("notas.txt", "1\r\n2\r\n");
    const QString backup = escrever("malote.qvlbackup", "1.234,56\r\n600,00\r\n");
    const QString longo = escrever("longo.txt", QByteArray("1.234,56\r\n").repeated(1500));
    const QString pdf = pasta.filePath(QStringLiteral("s.pdf"));
    QStringList argumentos;
    for (QString a : f.argumentos)
        argumentos << a.replace(QLatin1String("%SAIDA%"), pdf)
                          .replace(QLatin1String("%TEXTO%"), texto)
                          .replace(QLatin1String("%BACKUP%"), backup)
                          .replace(QLatin1String("%LONGO%"), longo);
    const Saida s =
        rodar(argumentos, {}, f.ambiente, f.saida_em ? QString::fromUtf8(f.saida_em) : QString());
    EXPECT_TRUE(s.normal) << "abortou: " << s.erros.toStdString();
    EXPECT_EQ(s.status, f.status) << s.erros.toStdString();
    EXPECT_TRUE(QString::fromUtf8(s.saida).contains(QString::fromUtf8(f.saida)))
        << s.saida.toStdString();
    EXPECT_TRUE(QString::fromUtf8(s.erros).contains(QString::fromUtf8(f.erros)))
        << s.erros.toStdString();
    QFile p(pdf);
    EXPECT_EQ(p.open(QIODevice::ReadOnly) && p.readAll().startsWith("%PDF"), f.gera_pdf);
}

const char* const kSemTela = "Sem janela: quarvel --total ou quarvel --pdf";
const char* const kSaidaCheia = "Não foi possível escrever o total na saída padrão: Não há espaço "
                                "disponível no dispositivo";

INSTANTIATE_TEST_SUITE_P(
    Formas, FormaSemTela,
    ::testing::Values(
        Forma{"Total", {"--total", "%TEXTO%"}, 0, "R$ 3,00\nTRES REAIS\n", ""},
        Forma{"TotalDeBackup", {"--total", "%BACKUP%"}, 0, "600,00\nR$ 1.834,56\n", ""},
        Forma{"Pdf", {"--pdf", "%SAIDA%", "%TEXTO%"}, 0, "", "", true},
        Forma{"PdfComIgual", {"--pdf=%SAIDA%", "%TEXTO%"}, 0, "", "", true},
        Forma{"Ajuda", {"--help"}, 0, "--help-all", ""},
        Forma{"AjudaCompleta", {"--help-all"}, 0, "--platform", ""},
        Forma{"Versao", {"--version"}, 0, "quarvel " QUARVEL_VERSAO "\n", ""},
        Forma{"OpcaoDesconhecida", {"--xyz"}, 1, "", "Opção desconhecida: --xyz"},
        Forma{"PdfSemSaida", {"--pdf"}, 1, "", "Uso: quarvel --pdf SAIDA.pdf ARQUIVO"},
        Forma{"TotalComValor", {"--total=3"}, 1, "", "A opção --total não leva valor."},
        Forma{"OpcaoCurtaDesconhecida", {"-x", "%TEXTO%"}, 1, "", "Opção desconhecida: -x"},
        Forma{"DesconhecidaComTotal",
              {"--total", "--xyz", "%TEXTO%"},
              1,
              "",
              "Use \"quarvel --help\" para ver as opções."},
        // The window form needs a display: it says so and ends, never aborts.
        Forma{"JanelaSemTela", {}, 1, "", kSemTela},
        Forma{"JanelaComArquivoSemTela", {"%TEXTO%"}, 1, "", kSemTela},
        Forma{"JanelaNumaTelaQueNaoResponde", {}, 1, "", "(DISPLAY=:97)", false, {"DISPLAY=:97"}},
        Forma{
            "JanelaXcbSemTela", {}, 1, "", "(QT_QPA_PLATFORM=xcb)", false, {"QT_QPA_PLATFORM=xcb"}},
        // A platform asked for by the user does not reach the forms without
        // a window.
        Forma{"TotalComXcbPedido",
              {"--total", "%TEXTO%"},
              0,
              "R$ 3,00",
              "",
              false,
              {"QT_QPA_PLATFORM=xcb"}},
        // A total that could not be written is an error with its reason,
        // whether it fits the C library's buffer or not.
        Forma{"TotalCurtoNumDiscoCheio",
              {"--total", "%TEXTO%"},
              1,
              "",
              kSaidaCheia,
              false,
              {},
              "/dev/full"},
        Forma{"TotalLongoNumDiscoCheio",
              {"--total", "%LONGO%"},
              1,
              "",
              kSaidaCheia,
              false,
              {},
              "/dev/full"}),
    [](const ::testing::TestParamInfo<Forma>& i) { return std::string(i.param.nome); });

} // namespace
