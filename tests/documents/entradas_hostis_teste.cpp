// Names that are not files a user would mean, and files past what 50,000
// values make (tests/documents/entradas_hostis.h): Open, Import and the file
// named on the command line each answer at once with the same message and
// leave the tape as it was.
#include "tests/documents/comandos_apoio.h"
#include "tests/documents/entradas_hostis.h"

#include <vector>

namespace quarvel::documents {
namespace {

using testes::Hostil;
using testes::Tipo;
using testes::Vigia;

class EntradaHostil : public ComandosTeste, public ::testing::WithParamInterface<Hostil> {
  protected:
    void TearDown() override {
        if (soquete_ >= 0) ::close(soquete_);
        ComandosTeste::TearDown();
    }
    int soquete_ = -1;
};

TEST_P(EntradaHostil, RespondeLogoEAFitaFicaComoEstava) {
    const Hostil& h = GetParam();
    const QString arquivo = testes::criar_hostil(h, caminho("hostil.txt"), &soquete_);
    const QString esperado = testes::aviso_esperado(h, arquivo);
    adicionar(QStringLiteral("10"));
    adicionar(QStringLiteral("20"));
    // Open and Import.
    for (const bool importa : {false, true}) {
        const char* comando = importa ? "abrir_txt" : "abrir";
        const Vigia vigia(std::string(h.nome) + " " + comando);
        dlg->avisos.clear();
        dlg->respostas = {Resposta::Nao}; // Open: keep the tape unsaved
        dlg->arquivos_abrir = {arquivo};
        if (importa)
            comandos_texto.abrir_txt();
        else
            comandos_documento.abrir();
        if (h.motivo || (importa && h.recusa)) {
            EXPECT_EQ(dlg->avisos, QStringList{esperado}) << comando;
            EXPECT_EQ(brutos(), (QStringList{"10", "20"})) << comando;
        } else if (importa) { // blank lines only: an empty tape
            EXPECT_TRUE(dlg->avisos.isEmpty()) << comando;
            EXPECT_TRUE(brutos().isEmpty()) << comando;
        }
    }
    // The file named on the command line, opened as the window shows.
    if (h.motivo) {
        const QStringList antes = brutos();
        const Vigia vigia(std::string(h.nome) + " ao iniciar");
        dlg->avisos.clear();
        comandos_documento.abrir_inicial(arquivo);
        EXPECT_EQ(dlg->avisos, QStringList{esperado}) << "ao iniciar";
        EXPECT_EQ(brutos(), antes);
    }
}

// The rows that name a file; standard input is the command line's alone.
std::vector<Hostil> arquivos_hostis() {
    std::vector<Hostil> r;
    for (const Hostil& h : testes::kHostis)
        if (h.tipo != Tipo::Entrada) r.push_back(h);
    return r;
}

INSTANTIATE_TEST_SUITE_P(Hostis, EntradaHostil, ::testing::ValuesIn(arquivos_hostis()),
                         testes::nome_hostil);

} // namespace
} // namespace quarvel::documents
