// The print commands over their narrow context: printing through the print
// dialog's choice, the preview, each with what the window shows.
#include "tests/apoio/arquivos.h"
#include "tests/printing/impressao_apoio.h"

namespace quarvel::printing {
namespace {

using ComandosImpressaoTeste = ImpressaoTeste;

TEST_F(ComandosImpressaoTeste, ImprimirParaPdfEVisualizar) {
    conteudo = apoio::fita(1, QStringLiteral("Loja Centro"), QStringLiteral("Conferido"));
    dlg->aceitar_impressao = true;
    dlg->impressao_pdf = caminho("fita.pdf");
    comandos.imprimir();
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
    EXPECT_EQ(dlg->impressoes, 1);
    EXPECT_TRUE(testes::ler_arquivo(dlg->impressao_pdf).startsWith("%PDF"));
    const QStringList linhas = apoio::linhas(apoio::paginas_pdf(dlg->impressao_pdf).value(0));
    EXPECT_TRUE(linhas.contains(QStringLiteral("Loja Centro"))) << linhas.join('\n').toStdString();
    EXPECT_TRUE(linhas.contains(QStringLiteral("R$ 1,00"))) << linhas.join('\n').toStdString();
    comandos.visualizar();
    EXPECT_EQ(dlg->previas, 1);
    EXPECT_FALSE(comandos.ocupado());
}

TEST_F(ComandosImpressaoTeste, DialogoCanceladoNaoImprimeNemAvisa) {
    conteudo = apoio::fita(3);
    dlg->impressao_pdf = caminho("fita.pdf");
    comandos.imprimir();
    EXPECT_EQ(dlg->impressoes, 1);
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
    EXPECT_FALSE(QFile::exists(dlg->impressao_pdf));
}

} // namespace
} // namespace quarvel::printing
