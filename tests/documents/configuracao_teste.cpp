// The three text settings take only what the calculation file holds exactly
// (their validators, as the window installs them), so a saved document never
// counts as changed right after the save.
#include "tests/documents/comandos_apoio.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quarvel::documents {
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

class ConfiguracaoTeste : public ComandosTeste, public ::testing::WithParamInterface<Colagem> {};

TEST_P(ConfiguracaoTeste, ColarOQueOArquivoNaoGuardaDeixaOCampoComoEstava) {
    for (QLineEdit* c : {cabecalho, rodape, nome_arquivo}) {
        c->setFocus();
        QTest::keyClicks(c, QStringLiteral("Loja"));
        QGuiApplication::clipboard()->setText(GetParam().texto);
        c->paste();
        EXPECT_EQ(c->text(), QStringLiteral("Loja")) << c->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Textos, ConfiguracaoTeste,
                         ::testing::Values(Colagem{"Seta", QStringLiteral(" \u2192 fim")},
                                           Colagem{"QuebraDeLinha", QStringLiteral(" Centro\nSul")},
                                           Colagem{"Longo", QString(2044, QLatin1Char('x'))}),
                         [](const ::testing::TestParamInfo<Colagem>& i) {
                             return std::string(i.param.nome);
                         });

TEST_F(ComandosTeste, DigitarOQueOArquivoNaoGuardaNaoMudaOCampo) {
    QLineEdit* c = cabecalho;
    c->setFocus();
    digitar(c, QStringLiteral("R$ 5 \u2192 \u20AC 5 \u00E7"));
    EXPECT_EQ(c->text(), QStringLiteral("R$ 5  \u20AC 5 \u00E7"));
}

TEST_F(ComandosTeste, FecharLogoDepoisDeSalvarNaoPergunta) {
    adicionar(QStringLiteral("150"));
    QLineEdit* c = cabecalho;
    c->setFocus();
    QGuiApplication::clipboard()->setText(QString(2047, QChar(0x00E9)));
    c->paste();
    QGuiApplication::clipboard()->setText(QStringLiteral("a\u2192b"));
    rodape->paste(); // refused
    dlg->arquivos_salvar = {caminho("longo.qvl")};
    comandos_documento.salvar_padrao();
    ASSERT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
    EXPECT_EQ(c->text().size(), 2047);
    EXPECT_TRUE(comandos_documento.confirmar_alteracoes()); // as closing asks
    EXPECT_TRUE(dlg->perguntas.isEmpty());
}

} // namespace
} // namespace quarvel::documents
