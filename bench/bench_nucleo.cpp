// The evaluator against muparser on the same typed amounts, the total
// against a bare std::from_chars sum of the same raw values, and the 18-digit
// expansion and the number forms of an amount.
#include "calc/centavos.h"
#include "calc/dinheiro.h"
#include "calc/infix.h"
#include "sessao/diario.h"
#include "tape/fita.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace quarvel::bench {
namespace {

// What a cashier types: products of counts and face values, plain amounts,
// a few parentheses and functions, and long sums. Fixed seed: every run
// evaluates the same strings.
std::vector<std::string> entradas_tipicas() {
    std::mt19937 gerador(20240611);
    auto n = [&](int ate) { return std::to_string(1 + static_cast<int>(gerador() % ate)); };
    std::vector<std::string> r;
    r.reserve(1000);
    while (r.size() < 1000) {
        switch (r.size() % 6) {
        case 0:
            r.push_back(n(99) + "*" + n(100));
            break;
        case 1:
            r.push_back(n(99999) + "." + n(99));
            break;
        case 2:
            r.push_back("(" + n(9) + "+" + n(9) + ")*" + n(9) + "-" + n(9) + "/" + n(9));
            break;
        case 3:
            r.push_back("SQRT(" + n(400) + ")+PI");
            break;
        case 4:
            r.push_back(n(20) + "*100+" + n(20) + "*50+" + n(20) + "*20");
            break;
        default: {
            std::string soma = n(999) + "." + n(99);
            for (int k = 0; k < 11; ++k)
                soma += "+" + n(999) + "." + n(99);
            r.push_back(std::move(soma));
        }
        }
    }
    return r;
}

// The same expressions in muparser's spelling.
std::string para_muparser(std::string s) {
    auto trocar = [&s](const std::string& de, const std::string& para) {
        for (std::size_t p = s.find(de); p != std::string::npos; p = s.find(de, p + para.size()))
            s.replace(p, de.size(), para);
    };
    trocar("SQRT(", "sqrt(");
    trocar("PI", "_pi");
    return s;
}

void avaliar_quarvel(benchmark::State& estado) {
    const auto entradas = entradas_tipicas();
    for (auto _ : estado) {
        for (const auto& e : entradas)
            benchmark::DoNotOptimize(calc::evaluate_expression(e));
    }
    estado.SetItemsProcessed(estado.iterations() * static_cast<long>(entradas.size()));
    // Every entry is well formed: a malformed one would stop early and flatter the figure.
    int erros = 0;
    for (const auto& e : entradas)
        erros += calc::evaluate_expression(e).posicao_erro != 0;
    if (erros > 0) estado.SkipWithError((std::to_string(erros) + " entradas malformadas").c_str());
}
BENCHMARK(avaliar_quarvel)->Name("avaliar/quarvel")->Unit(benchmark::kMicrosecond);

void avaliar_muparser(benchmark::State& estado) {
    std::vector<std::string> entradas;
    for (const auto& e : entradas_tipicas())
        entradas.push_back(para_muparser(e));
    mu::Parser p;
    for (auto _ : estado) {
        // One-shot, as a typed amount is: set the text, evaluate once.
        for (const auto& e : entradas) {
            p.SetExpr(e);
            benchmark::DoNotOptimize(p.Eval());
        }
    }
    estado.SetItemsProcessed(estado.iterations() * static_cast<long>(entradas.size()));
}
BENCHMARK(avaliar_muparser)->Name("avaliar/muparser")->Unit(benchmark::kMicrosecond);

// 50,000 raw values as the list keeps them: decimal comma, no grouping.
std::vector<std::string> brutos_50000() {
    std::mt19937 gerador(7);
    std::vector<std::string> r;
    r.reserve(50000);
    for (int i = 0; i < 50000; ++i) {
        const unsigned v = gerador();
        std::string s = std::to_string(v % 1000000);
        if (v % 3 != 0) s += "," + std::to_string(10 + v % 90);
        if (v % 17 == 0) s.insert(0, "-");
        r.push_back(std::move(s));
    }
    return r;
}

void total_quarvel(benchmark::State& estado) {
    const auto brutos = brutos_50000();
    for (auto _ : estado)
        benchmark::DoNotOptimize(tape::somar_brutos(brutos));
}
BENCHMARK(total_quarvel)->Name("total_50000/quarvel")->Unit(benchmark::kMicrosecond);

void total_from_chars(benchmark::State& estado) {
    auto textos = brutos_50000();
    for (auto& t : textos)
        std::replace(t.begin(), t.end(), ',', '.');
    for (auto _ : estado) {
        double soma = 0;
        for (const auto& t : textos) {
            double v = 0;
            std::from_chars(t.data(), t.data() + t.size(), v);
            soma += v;
        }
        benchmark::DoNotOptimize(soma);
    }
}
BENCHMARK(total_from_chars)->Name("total_50000/from_chars")->Unit(benchmark::kMicrosecond);

// The amounts of a tape read strictly: the values the expansion sees.
std::vector<calc::Estendido> valores_50000() {
    std::vector<calc::Estendido> r;
    for (const auto& b : brutos_50000())
        r.push_back(*calc::ler_estrito(b));
    return r;
}

void expandir_quarvel(benchmark::State& estado) {
    const auto valores = valores_50000();
    for (auto _ : estado)
        for (const auto& v : valores)
            benchmark::DoNotOptimize(calc::expandir(v));
}
BENCHMARK(expandir_quarvel)->Name("expandir_50000/quarvel")->Unit(benchmark::kMicrosecond);

#if QUARVEL_ESTENDIDO_HARDWARE
// What the expansion replaced: printf's own, then the digits read back.
void expandir_snprintf(benchmark::State& estado) {
    const auto valores = valores_50000();
    char buf[64];
    for (auto _ : estado)
        for (const auto& v : valores) {
            std::snprintf(buf, sizeof buf, "%.17Le", v);
            benchmark::DoNotOptimize(buf);
        }
}
BENCHMARK(expandir_snprintf)->Name("expandir_50000/snprintf")->Unit(benchmark::kMicrosecond);
#endif

// A text import's work on each amount: the raw value and its tape line.
void formas_quarvel(benchmark::State& estado) {
    const auto valores = valores_50000();
    for (auto _ : estado)
        for (const auto& v : valores) {
            const std::string bruto = calc::valor_bruto(v);
            benchmark::DoNotOptimize(calc::linha_fita(bruto));
        }
}
BENCHMARK(formas_quarvel)->Name("formas_50000/quarvel")->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quarvel::bench

// A journal no window writes, at the read bound: alternating 50,000-value
// repeats and cuts to nothing, every checksum valid. Replay must refuse it
// within a bounded amount of work (goal: well under 2 s).
namespace quarvel::bench {
namespace {

void diario_hostil_13mib(benchmark::State& estado) {
    using T = tape::Alteracao::Tipo;
    std::string d = documents::iniciar_diario({}, {});
    const std::string par = documents::registro_alteracao({T::Acrescentar, 0, 50000, "1"}) +
                            documents::registro_alteracao({T::Cortar, 0, 1, {}});
    while (d.size() + par.size() <= (13u << 20))
        d += par;
    for (auto _ : estado) {
        std::string motivo;
        const auto s = documents::reler_diario(d, &motivo);
        if (s) {
            estado.SkipWithError("a hostile journal was replayed whole");
            break;
        }
        benchmark::DoNotOptimize(motivo);
    }
    estado.counters["bytes"] = static_cast<double>(d.size());
}
BENCHMARK(diario_hostil_13mib)->Name("reler_diario/hostil_13mib")->Unit(benchmark::kMillisecond);

// A journal as a window writes it before it starts anew: a snapshot of
// 45,000 values, then 4 MB of single adds.
void diario_comum_4mb(benchmark::State& estado) {
    using T = tape::Alteracao::Tipo;
    std::string d = documents::iniciar_diario({}, std::vector<std::string>(45000, "1234,56"));
    const std::string mais = documents::registro_alteracao({T::Acrescentar, 0, 1, "12,5"});
    const std::string menos = documents::registro_alteracao({T::Remover, 45000, 1, {}});
    for (std::size_t antes = d.size(); d.size() - antes < (4u << 20);)
        d += mais + menos;
    for (auto _ : estado) {
        const auto s = documents::reler_diario(d);
        if (!s || s->brutos.size() != 45000) {
            estado.SkipWithError("the journal did not replay");
            break;
        }
    }
}
BENCHMARK(diario_comum_4mb)->Name("reler_diario/comum_4mb")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quarvel::bench
