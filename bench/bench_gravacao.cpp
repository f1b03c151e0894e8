// Saving a document of 50,000 values: renamed over the old file (the usual
// way), written in place behind a copy of the old bytes (a file with another
// hard link), and renamed in a folder of 2,000 other files, where each save
// looks for the leftovers of killed saves.
#include "documents/arquivo_calculo.h"
#include "gravacao/gravar.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace quarvel::bench {
namespace {

std::string documento_50000() {
    documents::Documento d;
    d.config.cabecalho = "Malote";
    d.brutos.assign(50000, "1234,56");
    return documents::escrever_calculo(d);
}

class Pasta {
  public:
    Pasta() {
        char modelo[] = "/tmp/quarvel-bench-XXXXXX";
        caminho = ::mkdtemp(modelo) ? modelo : "/tmp";
    }
    ~Pasta() {
        std::error_code e;
        std::filesystem::remove_all(caminho, e);
    }
    std::string caminho;
};

enum class Modo { Renomeando, NoLugar, PastaCheia };

void gravar(benchmark::State& estado, Modo modo) {
    const std::string bytes = documento_50000();
    Pasta pasta;
    const std::string arquivo = pasta.caminho + "/malote.qvl";
    std::string erro;
    gravacao::gravar_atomico(arquivo, bytes, &erro);
    if (modo == Modo::NoLugar) ::link(arquivo.c_str(), (pasta.caminho + "/outro.qvl").c_str());
    if (modo == Modo::PastaCheia)
        for (int i = 0; i < 2000; ++i)
            gravacao::gravar_atomico(pasta.caminho + "/outro" + std::to_string(i) + ".qvl", "1",
                                     &erro);
    for (auto _ : estado)
        if (!gravacao::gravar_atomico(arquivo, bytes, &erro)) estado.SkipWithError(erro.c_str());
    estado.SetBytesProcessed(static_cast<int64_t>(estado.iterations() * bytes.size()));
}

BENCHMARK_CAPTURE(gravar, renomeando, Modo::Renomeando)
    ->Name("gravar_50000/renomeando")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(gravar, no_lugar, Modo::NoLugar)
    ->Name("gravar_50000/no_lugar")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(gravar, pasta_cheia, Modo::PastaCheia)
    ->Name("gravar_50000/pasta_cheia")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace quarvel::bench
