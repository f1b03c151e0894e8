// The print commands over their narrow context, no main window: what they
// print, under which title, and the warning when printing fails.
#include "printing/comandos_impressao.h"
#include "tests/apoio/impressao_qt.h"
#include "tests/printing/roteiro_impressao.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include "apoio_pdf.h"

namespace quarvel::printing {
namespace {

// Remembers the document it was shown, to read what the command prepared.
class Roteiro : public RoteiroImpressao {
  public:
    void visualizar(QWidget* dono, DocumentoImpressao& doc) override {
        RoteiroImpressao::visualizar(dono, doc);
        titulo = doc.titulo();
        corpo = doc.corpo();
    }
    QString titulo;
    QStringList corpo;
};

class ComandosImpressaoTeste : public ::testing::Test {
  protected:
    QTemporaryDir pasta;
    QWidget janela;
    Roteiro dlg;
    int pedidos = 0; // each command reads the content once, when it runs
    ComandosImpressao comandos{ContextoImpressao{
        [this] {
            ++pedidos;
            return apoio::fita(2, QStringLiteral("Loja"), {}, QStringLiteral("ignorado"));
        },
        dlg, &janela}};
};

TEST_F(ComandosImpressaoTeste, VisualizarMostraAFitaComOTituloDaPrevia) {
    comandos.visualizar();
    EXPECT_EQ(dlg.previas, 1);
    EXPECT_EQ(pedidos, 1);
    EXPECT_EQ(dlg.titulo, QStringLiteral("Quarvel"));
    EXPECT_EQ(dlg.corpo.value(0), QStringLiteral("R$ 1,00"));
}

TEST_F(ComandosImpressaoTeste, ImprimirCanceladoNaoLeNemImprime) {
    comandos.imprimir();
    EXPECT_EQ(dlg.impressoes, 1);
    EXPECT_EQ(pedidos, 0);
    EXPECT_TRUE(dlg.avisos.isEmpty());
}

TEST_F(ComandosImpressaoTeste, ImprimirParaPdfUsaOTituloDoTrabalho) {
    dlg.aceitar_impressao = true;
    dlg.impressao_pdf = pasta.filePath(QStringLiteral("fita.pdf"));
    comandos.imprimir();
    EXPECT_TRUE(dlg.avisos.isEmpty()) << dlg.avisos.join('\n').toStdString();
    EXPECT_TRUE(apoio::info_pdf(dlg.impressao_pdf).contains(QStringLiteral("Quarvel 1.0")));
}

TEST_F(ComandosImpressaoTeste, FalhaAoImprimirAvisaComOMotivo) {
    dlg.aceitar_impressao = true;
    dlg.impressao_pdf = pasta.filePath(QStringLiteral("nao_existe/fita.pdf"));
    comandos.imprimir();
    ASSERT_EQ(dlg.avisos.size(), 1);
    EXPECT_TRUE(dlg.avisos[0].startsWith(QStringLiteral("Não foi possível imprimir: ")))
        << dlg.avisos[0].toStdString();
}

} // namespace
} // namespace quarvel::printing
