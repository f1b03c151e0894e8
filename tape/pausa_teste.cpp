#include "tape/pausa_teste.h"

#include <csignal>
#include <cstdlib>
#include <string>

namespace quarvel::tape {
namespace {

struct Pausa {
    std::string ponto;
    long vez = 1;
    long contadas = 0;

    Pausa() {
        const char* v = std::getenv("QUARVEL_TESTE_PAUSA");
        if (!v) return;
        ponto = v;
        if (const auto dois_pontos = ponto.find(':'); dois_pontos != std::string::npos) {
            vez = std::strtol(ponto.c_str() + dois_pontos + 1, nullptr, 10);
            ponto.resize(dois_pontos);
        }
    }
};

} // namespace

void pausa_de_teste(const char* ponto) {
    static Pausa pausa;
    if (pausa.ponto.empty() || pausa.ponto != ponto) return;
    if (++pausa.contadas == pausa.vez) std::raise(SIGSTOP);
}

} // namespace quarvel::tape
