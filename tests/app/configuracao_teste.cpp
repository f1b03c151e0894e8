// The three text settings take only what the calculation file holds exactly,
// so a saved document never counts as changed right after the save.
#include "tests/app/janela_apoio.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quarvel::app {
namespace {

// Types each character as a keyboard would, whatever it is (QTest only
// types ASCII).
void digitar(QWidget* w, const QString& texto) {
    for (const QChar c : texto) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

struct Colagem {
    const char* nome;
    QString texto;
    friend void PrintTo(const Colagem& c, std::ostream* os) { *os << c.nome; }
};

class ConfiguracaoTeste : public JanelaTeste, public ::testing::WithParamInterface<Colagem> {};

TEST_P(ConfiguracaoTeste, ColarOQueOArquivoNaoGuardaDeixaOCampoComoEstava) {
    for (const char* nome : {"cabecalho", "rodape", "nome_arquivo"}) {
        auto* c = filho<QLineEdit>(nome);
        c->setFocus();
        QTest::keyClicks(c, QStringLiteral("Loja"));
        QGuiApplication::clipboard()->setText(GetParam().texto);
        c->paste();
        EXPECT_EQ(c->text(), QStringLiteral("Loja")) << nome;
    }
}

INSTANTIATE_TEST_SUITE_P(Textos, ConfiguracaoTeste,
                         ::testing::Values(Colagem{"Seta", QStringLiteral(" \u2192 fim")},
                                           Colagem{"QuebraDeLinha", QStringLiteral(" Centro\nSul")},
                                           Colagem{"Longo", QString(2044, QLatin1Char('x'))}),
                         [](const ::testing::TestParamInfo<Colagem>& i) {
                             return std::string(i.param.nome);
                         });

TEST_F(JanelaTeste, DigitarOQueOArquivoNaoGuardaNaoMudaOCampo) {
    auto* c = filho<QLineEdit>("cabecalho");
    c->setFocus();
    digitar(c, QStringLiteral("R$ 5 \u2192 \u20AC 5 \u00E7"));
    EXPECT_EQ(c->text(), QStringLiteral("R$ 5  \u20AC 5 \u00E7"));
}

TEST_F(JanelaTeste, FecharLogoDepoisDeSalvarNaoPergunta) {
    adicionar(QStringLiteral("150"));
    auto* c = filho<QLineEdit>("cabecalho");
    c->setFocus();
    QGuiApplication::clipboard()->setText(QString(2047, QChar(0x00E9)));
    c->paste();
    QGuiApplication::clipboard()->setText(QStringLiteral("a\u2192b"));
    filho<QLineEdit>("rodape")->paste(); // refused
    dlg->arquivos_salvar = {caminho("longo.qvl")};
    executar("salvar_padrao");
    ASSERT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
    EXPECT_EQ(c->text().size(), 2047);
    janela->close();
    EXPECT_TRUE(dlg->perguntas.isEmpty());
    EXPECT_FALSE(janela->isVisible());
}

} // namespace
} // namespace quarvel::app
