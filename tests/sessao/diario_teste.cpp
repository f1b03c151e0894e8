#include "sessao/diario.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quarvel::documents;
using quarvel::tape::Alteracao;
using T = quarvel::tape::Alteracao::Tipo;

namespace {

using Brutos = std::vector<std::string>;

EstadoDocumento estado_exemplo() {
    EstadoDocumento e;
    e.arquivo = "/tmp/malote.qvl";
    e.config.cabecalho = "Loja Centro – caixa 2";
    e.config.rodape = "Conferido";
    e.config.texto_backup = "malote.dia";
    e.config.backup = true;
    e.config.qtdetempo = -1;
    return e;
}

struct CasoRegistro {
    const char* nome;
    Alteracao alteracao;
    Brutos depois; // from the snapshot {"1", "2,5", "3"}; empty = does not apply
};

class ReplayDeCadaRegistro : public ::testing::TestWithParam<CasoRegistro> {};

TEST_P(ReplayDeCadaRegistro, AplicaSobreOInstantaneo) {
    const CasoRegistro& c = GetParam();
    const std::string diario =
        iniciar_diario(estado_exemplo(), {"1", "2,5", "3"}) + registro_alteracao(c.alteracao);
    const auto s = reler_diario(diario);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->estado, estado_exemplo());
    if (c.depois.empty()) {
        // A record that does not apply ends the replay like a torn one.
        EXPECT_EQ(s->brutos, (Brutos{"1", "2,5", "3"}));
        EXPECT_TRUE(s->cauda_descartada);
        EXPECT_EQ(s->registros, 0u);
    } else {
        EXPECT_EQ(s->brutos, c.depois);
        EXPECT_FALSE(s->cauda_descartada);
        EXPECT_EQ(s->registros, 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Diario, ReplayDeCadaRegistro,
    ::testing::Values(
        CasoRegistro{"acrescentar", {T::Acrescentar, 0, 1, "600"}, {"1", "2,5", "3", "600"}},
        CasoRegistro{
            "repetir", {T::Acrescentar, 0, 3, "-0,5"}, {"1", "2,5", "3", "-0,5", "-0,5", "-0,5"}},
        CasoRegistro{"inserir_no_inicio", {T::Inserir, 0, 1, "9"}, {"9", "1", "2,5", "3"}},
        CasoRegistro{"inserir_no_fim", {T::Inserir, 3, 1, "9"}, {"1", "2,5", "3", "9"}},
        CasoRegistro{"substituir", {T::Substituir, 1, 1, "1E20"}, {"1", "1E20", "3"}},
        CasoRegistro{"remover", {T::Remover, 0, 1, {}}, {"2,5", "3"}},
        CasoRegistro{"cortar", {T::Cortar, 1, 1, {}}, {"1"}},
        CasoRegistro{"remover_fora_da_fita", {T::Remover, 3, 1, {}}, {}},
        CasoRegistro{"inserir_fora_da_fita", {T::Inserir, 4, 1, "9"}, {}},
        CasoRegistro{"cortar_alem_do_fim", {T::Cortar, 4, 1, {}}, {}},
        CasoRegistro{"bruto_que_nao_le", {T::Substituir, 0, 1, "1.234"}, {}},
        CasoRegistro{"alem_do_maximo", {T::Acrescentar, 0, 49998, "1"}, {}}),
    [](const ::testing::TestParamInfo<CasoRegistro>& caso) {
        return std::string(caso.param.nome);
    });

// Three records after the snapshot; each state of the document it passes.
struct Historia {
    std::string diario;
    std::vector<std::size_t> fins; // where each record ends
    std::vector<Brutos> estados;   // the tape after the snapshot, then after each record
};

Historia historia() {
    Historia h;
    h.diario = iniciar_diario({}, {"10"});
    h.fins.push_back(h.diario.size());
    h.estados.push_back({"10"});
    auto mais = [&h](const std::string& registro, Brutos depois) {
        h.diario += registro;
        h.fins.push_back(h.diario.size());
        h.estados.push_back(std::move(depois));
    };
    mais(registro_alteracao({T::Acrescentar, 0, 5000, "12,5"}), {});
    h.estados.back() = Brutos(1, "10");
    h.estados.back().insert(h.estados.back().end(), 5000, "12,5");
    mais(registro_estado(estado_exemplo()), h.estados.back());
    mais(registro_alteracao({T::Cortar, 1, 1, {}}), {"10"});
    return h;
}

TEST(Diario, CadaCorteDaCaudaDevolveOEstadoDoUltimoRegistroInteiro) {
    // A power cut may leave any prefix of the last write: every one of them
    // gives the document as the record before left it.
    const Historia h = historia();
    for (std::size_t r = 1; r < h.fins.size(); ++r) {
        for (std::size_t corte = h.fins[r - 1] + 1; corte < h.fins[r]; ++corte) {
            const auto s = reler_diario(std::string_view(h.diario).substr(0, corte));
            ASSERT_TRUE(s) << corte;
            EXPECT_EQ(s->brutos, h.estados[r - 1]) << "registro " << r << ", corte " << corte;
            EXPECT_TRUE(s->cauda_descartada);
            EXPECT_EQ(s->registros, r - 1);
        }
    }
    const auto inteiro = reler_diario(h.diario);
    ASSERT_TRUE(inteiro);
    EXPECT_EQ(inteiro->brutos, h.estados.back());
    EXPECT_EQ(inteiro->estado, estado_exemplo());
    EXPECT_FALSE(inteiro->cauda_descartada);
    // A file system may also show a grown file as zeros after a power cut.
    const auto zeros = reler_diario(h.diario + std::string(64, '\0'));
    ASSERT_TRUE(zeros);
    EXPECT_EQ(zeros->brutos, h.estados.back());
    EXPECT_TRUE(zeros->cauda_descartada);
}

TEST(Diario, UmByteTrocadoParaOReplayNoRegistroQueOContem) {
    const Historia h = historia();
    for (std::size_t r = 1; r < h.fins.size(); ++r) {
        std::string d = h.diario;
        d[h.fins[r] - 1] ^= 0x01; // the record's last byte: its checksum fails
        const auto s = reler_diario(d);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->brutos, h.estados[r - 1]) << r;
        EXPECT_EQ(s->registros, r - 1);
    }
}

TEST(Diario, SemCabecalhoOuComInstantaneoIncompletoNaoHaSessao) {
    const std::string d = iniciar_diario(estado_exemplo(), {"1", "2"});
    EXPECT_FALSE(reler_diario("[CONFIG]\r\n"));
    EXPECT_FALSE(reler_diario(d.substr(0, d.size() - 1)));
    std::string trocado = d;
    trocado[d.size() - 2] ^= 0x40;
    EXPECT_FALSE(reler_diario(trocado));
    // A snapshot holding a raw value that does not read is no snapshot.
    EXPECT_FALSE(reler_diario(iniciar_diario({}, {"abc"})));
}

} // namespace
