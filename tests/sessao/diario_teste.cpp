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

// Journals no window writes, with valid checksums: each is refused with a
// reason, or replayed up to the record that cannot apply, and never costs
// unbounded work.
struct CasoHostil {
    const char* nome;
    std::string diario;
    bool recusado;      // no session at all
    const char* motivo; // the start of the reason given
    Brutos brutos;      // when not refused
};

std::string alternando(std::size_t pares) {
    std::string d = iniciar_diario({}, {});
    const std::string acrescentar = registro_alteracao({T::Acrescentar, 0, 50000, "1"});
    const std::string cortar = registro_alteracao({T::Cortar, 0, 1, {}});
    for (std::size_t i = 0; i < pares; ++i)
        d += acrescentar + cortar;
    return d;
}

class DiarioHostil : public ::testing::TestWithParam<CasoHostil> {};

TEST_P(DiarioHostil, RecusadoComMotivoOuRelidoAteOndeVale) {
    const CasoHostil& c = GetParam();
    std::string motivo;
    const auto s = reler_diario(c.diario, &motivo);
    if (c.recusado) {
        EXPECT_FALSE(s);
        EXPECT_EQ(motivo.rfind(c.motivo, 0), 0u) << motivo;
    } else {
        ASSERT_TRUE(s) << motivo;
        EXPECT_EQ(s->brutos, c.brutos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Diario, DiarioHostil,
    ::testing::Values(CasoHostil{"instantaneo_com_1E400",
                                 iniciar_diario({}, {"1", "1E400"}),
                                 true,
                                 "a fita guardada nele tem um valor",
                                 {}},
                      CasoHostil{"instantaneo_com_menos_1E4000",
                                 iniciar_diario({}, {"-1E4000"}),
                                 true,
                                 "a fita guardada nele tem um valor",
                                 {}},
                      CasoHostil{"registro_com_1E400",
                                 iniciar_diario({}, {"1"}) +
                                     registro_alteracao({T::Acrescentar, 0, 1, "2"}) +
                                     registro_alteracao({T::Substituir, 0, 1, "1E400"}),
                                 false,
                                 "",
                                 {"1", "2"}},
                      CasoHostil{"versao_mais_nova",
                                 "QVLDIARIO2\n" + iniciar_diario({}, {"1"}).substr(11),
                                 true,
                                 "é de outra versão",
                                 {}},
                      CasoHostil{"versao_mais_antiga",
                                 "QVLDIARIO0\n" + iniciar_diario({}, {"1"}).substr(11),
                                 true,
                                 "é de outra versão",
                                 {}},
                      CasoHostil{"nao_e_diario", "[CONFIG]\r\n", true, "não é um diário", {}},
                      // Alternating 50,000-value repeats and cuts to 0, as many as fit in
                      // the read bound: refused after a bounded amount of work.
                      CasoHostil{"acrescimos_e_cortes_alternados",
                                 alternando((13u << 20) / 30),
                                 true,
                                 "as alterações dele dão trabalho demais",
                                 {}},
                      // A few of them are what a window could have written: replayed.
                      CasoHostil{"poucos_acrescimos_e_cortes", alternando(20), false, "", {}}),
    [](const ::testing::TestParamInfo<CasoHostil>& caso) { return std::string(caso.param.nome); });

} // namespace
