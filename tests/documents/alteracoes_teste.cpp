// Whether the unsaved-changes question is asked: the document the window
// holds against the empty one (never saved) or against the one last opened
// or saved.
#include "documents/alteracoes.h"

#include <functional>
#include <gtest/gtest.h>

namespace quarvel::documents {
namespace {

struct Caso {
    const char* nome;
    std::function<void(Retrato&)> mudar; // from the reference itself
    bool sem_nome_alterado;              // compared with the empty document
    bool com_nome_alterado;              // compared with the one last saved
};

void PrintTo(const Caso& c, std::ostream* os) {
    *os << c.nome;
}

class DocumentoAlterado : public ::testing::TestWithParam<Caso> {};

// The reference of a titled document: settings and values as last saved.
Documento salvo() {
    Documento d;
    d.config.cabecalho = "Loja Centro";
    d.config.rodape = "Conferido por:";
    d.config.texto_backup = "malote";
    d.config.backup = true;
    d.config.qtdetempo = 2;
    d.brutos = {"150", "1234.56"};
    return d;
}

TEST_P(DocumentoAlterado, SemNomeContraOVazio) {
    Retrato r;
    GetParam().mudar(r);
    EXPECT_EQ(documento_alterado(r, std::nullopt), GetParam().sem_nome_alterado);
}

TEST_P(DocumentoAlterado, ComNomeContraOUltimoSalvo) {
    Retrato r{salvo(), {}, false};
    GetParam().mudar(r);
    EXPECT_EQ(documento_alterado(r, salvo()), GetParam().com_nome_alterado);
}

INSTANTIATE_TEST_SUITE_P(
    Mudancas, DocumentoAlterado,
    ::testing::Values(
        Caso{"Nada", [](Retrato&) {}, false, false},
        // Typed and not added: only a document never saved keeps it.
        Caso{"TextoNaEntrada", [](Retrato& r) { r.entrada = "12"; }, true, false},
        Caso{"UmValorAMais", [](Retrato& r) { r.doc.brutos.push_back("5"); }, true, true},
        Caso{"ValorTrocadoNoMesmoLugar", [](Retrato& r) { r.doc.brutos.assign(2, "7"); }, true,
             true},
        // Deleting one and adding another keeps the count, not the values.
        Caso{"ApagarUmEAcrescentarOutro",
             [](Retrato& r) {
                 if (!r.doc.brutos.empty()) r.doc.brutos.erase(r.doc.brutos.begin());
                 r.doc.brutos.push_back("9");
             },
             true, true},
        // Modified in place to the same value: still a change.
        Caso{"ModificadoNoLugar", [](Retrato& r) { r.modificado = true; }, false, true},
        Caso{"Cabecalho", [](Retrato& r) { r.doc.config.cabecalho += "x"; }, true, true},
        Caso{"Rodape", [](Retrato& r) { r.doc.config.rodape += "x"; }, true, true},
        Caso{"NomeDoBackup", [](Retrato& r) { r.doc.config.texto_backup += "x"; }, true, true},
        Caso{"Chave", [](Retrato& r) { r.doc.config.backup = !r.doc.config.backup; }, true, true},
        Caso{"Intervalo", [](Retrato& r) { r.doc.config.qtdetempo = 4; }, true, true},
        // The empty document shows the first interval; none selected differs.
        Caso{"SemIntervalo", [](Retrato& r) { r.doc.config.qtdetempo = -1; }, true, true}),
    [](const ::testing::TestParamInfo<Caso>& i) { return std::string(i.param.nome); });

TEST(DocumentoAlterado, ArquivoQueNaoSeLeMaisDifereDoQueAJanelaMostra) {
    // The window compares the settings with the file on disk now; one that
    // can no longer be read gives what ler_configuracao gives for nothing.
    Retrato r{salvo(), {}, false};
    EXPECT_TRUE(documento_alterado(r, Documento{ler_configuracao(""), salvo().brutos}));
    r.doc.config = ler_configuracao("");
    EXPECT_FALSE(documento_alterado(r, Documento{ler_configuracao(""), salvo().brutos}));
}

TEST(DocumentoAlterado, ConfiguracaoMudadaNoDiscoPorOutroPrograma) {
    Documento no_disco = salvo();
    no_disco.config.rodape = "outro";
    EXPECT_TRUE(documento_alterado(Retrato{salvo(), {}, false}, no_disco));
}

} // namespace
} // namespace quarvel::documents
