// The texts of the documents as the window and the command line both show
// them: the formatting of their markers and the refusal each load or import
// outcome ends in.
#include "documents/arquivo_calculo.h"
#include "documents/mensagens.h"
#include "documents/texto.h"
#include "tape/mensagens.h"

#include <gtest/gtest.h>

namespace quarvel::documents {
namespace {

TEST(Formatar, CadaMarcadorPeloSeuValorNumaPassada) {
    EXPECT_EQ(formatar(kArquivoNaoAberto, {"/tmp/a.qvl", "arquivo inexistente"}),
              "O arquivo /tmp/a.qvl não pôde ser aberto: arquivo inexistente");
    // A value holding a marker is not read again, as with QString::arg.
    EXPECT_EQ(formatar("%1 e %2", {"%2", "x"}), "%2 e x");
    EXPECT_EQ(formatar("%2-%1", {"a", "b"}), "b-a");
    // A marker without a value, a lone sign and %0 stay as they are.
    EXPECT_EQ(formatar("%1 %3 %0 100%", {"a"}), "a %3 %0 100%");
    EXPECT_EQ(formatar("", {"a"}), "");
}

TEST(MensagemCarga, CadaDesfechoDaCarga) {
    CargaCalculo c;
    EXPECT_EQ(mensagem_carga(c, "a.qvl"), "");
    c.estado = CargaCalculo::Estado::ExcedeMaximo;
    EXPECT_EQ(mensagem_carga(c, "a.qvl"), tape::kMensagemMaximo);
    c.estado = CargaCalculo::Estado::Danificado;
    c.detalhe = "linha 12: 'abc' não é um valor";
    EXPECT_EQ(mensagem_carga(c, "/pasta/a.qvl"),
              "O arquivo /pasta/a.qvl não pôde ser aberto: linha 12: 'abc' não é um valor");
}

TEST(MensagemLeitura, CadaDesfechoDaImportacao) {
    LeituraTexto l;
    EXPECT_EQ(mensagem_leitura(l, "dados.txt"), "");
    l.estado = LeituraTexto::Estado::Cancelado; // the user's own choice: nothing to say
    EXPECT_EQ(mensagem_leitura(l, "dados.txt"), "");
    l.estado = LeituraTexto::Estado::ExcedeMaximo;
    EXPECT_EQ(mensagem_leitura(l, "dados.txt"), tape::kMensagemMaximo);
    l.estado = LeituraTexto::Estado::LinhaSemValor;
    l.numero_linha = 3;
    l.texto_linha = "total: %1";
    EXPECT_EQ(mensagem_leitura(l, "dados.txt"),
              "A linha 3 de dados.txt não contém um valor: total: %1");
}

TEST(MensagemLeitura, ODesfechoDeUmArquivoDeVerdade) {
    const LeituraTexto l = ler_texto("10\r\nabc\r\n");
    EXPECT_EQ(mensagem_leitura(l, "x.txt"), "A linha 2 de x.txt não contém um valor: abc");
}

} // namespace
} // namespace quarvel::documents
