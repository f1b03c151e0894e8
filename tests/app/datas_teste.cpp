// Dates and times in the Brazilian form whatever the machine's locale: the
// clock of the status bar and the print macros, each row with Qt's system
// locale switched to another one.
#include "tests/apoio/localidade_sistema.h"
#include "tests/app/janela_apoio.h"
#include "tests/printing/apoio_pdf.h"

#include <QRegularExpression>

namespace quarvel::app {
namespace {

struct Localidade {
    const char* nome;
    const char* lc_all; // the machine's setting
    const char* qt;     // the system locale Qt then reports
    friend void PrintTo(const Localidade& l, std::ostream* os) { *os << l.nome; }
};

using testes::ler_localidade_do_sistema;

class DatasBrasileiras : public JanelaTeste, public ::testing::WithParamInterface<Localidade> {
  protected:
    void SetUp() override {
        antes_ = qgetenv("LC_ALL");
        ler_localidade_do_sistema(GetParam().lc_all);
        JanelaTeste::SetUp();
    }
    void TearDown() override {
        JanelaTeste::TearDown();
        ler_localidade_do_sistema(antes_);
    }

  private:
    QByteArray antes_;
};

const QString kData = QStringLiteral("(\\d\\d/\\d\\d/\\d{4})");
const QString kHora = QStringLiteral("(\\d\\d:\\d\\d:\\d\\d)");

TEST_P(DatasBrasileiras, RelogioEMacrosComoNoBrasil) {
    ASSERT_EQ(QLocale::system().name(), QString::fromLatin1(GetParam().qt));
    const QString hoje = QDate::currentDate().toString(u"dd/MM/yyyy");

    const QString relogio = filho<QLabel>("relogio")->text();
    const auto r = QRegularExpression(QStringLiteral("^%1 - %2$").arg(kData, kHora)).match(relogio);
    ASSERT_TRUE(r.hasMatch()) << relogio.toStdString();
    // Written at creation, a moment ago (a midnight in between gives yesterday).
    EXPECT_TRUE(r.captured(1) == hoje ||
                r.captured(1) == QDate::currentDate().addDays(-1).toString(u"dd/MM/yyyy"))
        << relogio.toStdString();

    filho<QLineEdit>("cabecalho")->setText(QStringLiteral("$DATE$ $TIME$"));
    filho<QLineEdit>("rodape")->setText(QStringLiteral("$DATETIME$ | $TIMEDATE$"));
    adicionar(QStringLiteral("5"));
    dlg->aceitar_impressao = true;
    dlg->impressao_pdf = caminho("datas.pdf");
    executar("imprimir");
    const QStringList linhas = apoio::linhas(apoio::paginas_pdf(dlg->impressao_pdf).value(0));
    ASSERT_GE(linhas.size(), 3) << linhas.join('\n').toStdString();
    const QString cabecalho = linhas.first();
    const auto c = QRegularExpression(QStringLiteral("^%1 %2$").arg(kData, kHora)).match(cabecalho);
    ASSERT_TRUE(c.hasMatch()) << cabecalho.toStdString();
    // The footer: the same moment both ways round, then the page numbering.
    EXPECT_EQ(linhas.last().simplified(),
              QStringLiteral("%1 %2 | %2 %1 1/1").arg(c.captured(1), c.captured(2)));
}

INSTANTIATE_TEST_SUITE_P(Maquinas, DatasBrasileiras,
                         ::testing::Values(Localidade{"C", "C.UTF-8", "C"},
                                           Localidade{"EstadosUnidos", "en_US.UTF-8", "en_US"},
                                           Localidade{"Alemanha", "de_DE.UTF-8", "de_DE"},
                                           Localidade{"Japao", "ja_JP.UTF-8", "ja_JP"},
                                           Localidade{"Brasil", "pt_BR.UTF-8", "pt_BR"}),
                         [](const ::testing::TestParamInfo<Localidade>& i) {
                             return std::string(i.param.nome);
                         });

} // namespace
} // namespace quarvel::app
