// Where the tape lines sit: random runs of adds, inserts, removals and
// changes, in both forms (one height for all, and heights kept per line),
// against the plain reading of a list of heights.
#include "tape/geometria_linhas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using quarvel::tape::GeometriaLinhas;

namespace {

// The obvious answers, from the heights themselves.
struct Ingenua {
    std::vector<int> alturas;
    int topo(int linha) const {
        int t = 0;
        for (int i = 0; i < linha; ++i)
            t += alturas[static_cast<std::size_t>(i)];
        return t;
    }
    int linha_em(int y) const {
        if (y < 0) return -1;
        for (int i = 0; i < static_cast<int>(alturas.size()); ++i)
            if (y < topo(i + 1)) return i;
        return -1;
    }
    int primeira_com_base_em(int linha, int vista) const {
        for (int r = 0; r <= linha; ++r)
            if (topo(linha + 1) - topo(r) <= vista) return r;
        return linha;
    }
};

void conferir(const GeometriaLinhas& g, const Ingenua& n, int vista, const std::string& passo) {
    const int total = static_cast<int>(n.alturas.size());
    ASSERT_EQ(g.contagem(), total) << passo;
    ASSERT_EQ(g.total(), n.topo(total)) << passo;
    for (int i = 0; i <= total; ++i)
        ASSERT_EQ(g.topo(i), n.topo(i)) << passo << " topo " << i;
    for (int y = -1; y <= n.topo(total); ++y)
        ASSERT_EQ(g.linha_em(y), n.linha_em(y)) << passo << " y " << y;
    for (int i = 0; i < total; ++i)
        ASSERT_EQ(g.primeira_com_base_em(i, vista), n.primeira_com_base_em(i, vista))
            << passo << " linha " << i;
}

struct Forma {
    const char* nome;
    bool uniforme;
};

class GeometriaLinhasTeste : public ::testing::TestWithParam<Forma> {};

TEST_P(GeometriaLinhasTeste, ConcordaComAsAlturasUmaAUma) {
    const bool uniforme = GetParam().uniforme;
    const int altura = 15;
    std::mt19937 gerador(20261209);
    auto sorteio = [&](int de, int ate) {
        return std::uniform_int_distribution<int>(de, ate)(gerador);
    };
    for (int rodada = 0; rodada < 20; ++rodada) {
        GeometriaLinhas g;
        Ingenua n;
        if (uniforme) {
            g.uniforme(0, altura);
        } else {
            g.medidas({});
        }
        const int vista = sorteio(1, 80);
        for (int passo = 0; passo < 40; ++passo) {
            const int tamanho = static_cast<int>(n.alturas.size());
            const int h = uniforme ? altura : sorteio(1, 3) * 14 + 1;
            std::string nome;
            switch (sorteio(0, 3)) {
            case 0: { // add at the end, sometimes a run (a repeat)
                const int quantas = sorteio(1, 3);
                g.inserir(tamanho, quantas, h);
                n.alturas.insert(n.alturas.end(), static_cast<std::size_t>(quantas), h);
                nome = "acrescentar";
                break;
            }
            case 1: {
                const int pos = sorteio(0, tamanho);
                g.inserir(pos, 1, h);
                n.alturas.insert(n.alturas.begin() + pos, h);
                nome = "inserir";
                break;
            }
            case 2: {
                if (tamanho == 0) continue;
                const int pos = sorteio(0, tamanho - 1);
                const int quantas = sorteio(1, tamanho - pos);
                g.remover(pos, quantas);
                n.alturas.erase(n.alturas.begin() + pos, n.alturas.begin() + pos + quantas);
                nome = "remover";
                break;
            }
            default: {
                if (tamanho == 0) continue;
                const int pos = sorteio(0, tamanho - 1);
                g.alterar(pos, h);
                n.alturas[static_cast<std::size_t>(pos)] = h;
                nome = "alterar";
            }
            }
            conferir(g, n, vista,
                     "rodada " + std::to_string(rodada) + " passo " + std::to_string(passo) + " " +
                         nome);
            if (HasFatalFailure()) return;
        }
        // Measured again from scratch, the same answers.
        if (!uniforme) {
            GeometriaLinhas refeita;
            refeita.medidas(n.alturas);
            conferir(refeita, n, vista, "refeita");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fita, GeometriaLinhasTeste,
                         ::testing::Values(Forma{"UmaAlturaParaTodas", true},
                                           Forma{"AlturaPorLinha", false}),
                         [](const ::testing::TestParamInfo<Forma>& i) {
                             return std::string(i.param.nome);
                         });

} // namespace
