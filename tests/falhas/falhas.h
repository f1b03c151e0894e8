#pragma once
// The test side of the fault-injection library (falhas.cpp): its control
// functions, found with dlsym in a process that has it preloaded.
#include <QFile>
#include <QString>

#include <cstddef>
#include <dlfcn.h>

namespace quarvel::testes {

// The calls the library can fail, as it names them.
enum class Chamada { Escrita, Sincronia, Renomeacao };

inline const char* nome_chamada(Chamada c) {
    switch (c) {
    case Chamada::Escrita:
        return "write";
    case Chamada::Sincronia:
        return "sync"; // fsync and fdatasync
    case Chamada::Renomeacao:
        return "rename"; // rename, renameat, renameat2
    }
    return "";
}

class Falhas {
  public:
    // Whether the library is loaded in this process.
    static bool carregada() { return simbolo("quarvel_falhas_armar") != nullptr; }

    // From now on, calls on files under `pasta` are counted; the `ordem`-th
    // call (1-based) of `chamada` fails with `erro`, once. Ordem 0 only counts.
    static void armar(const QString& pasta, Chamada chamada, int ordem, int erro) {
        const QByteArray p = QFile::encodeName(pasta);
        funcao<void (*)(const char*, const char*, int, int)>("quarvel_falhas_armar")(
            p.constData(), nome_chamada(chamada), ordem, erro);
    }
    static void contar(const QString& pasta) { armar(pasta, Chamada::Escrita, 0, 0); }
    // Every write under the folder writes at most `maximo` bytes (0: whole).
    static void escritas_curtas(std::size_t maximo) {
        funcao<void (*)(std::size_t)>("quarvel_falhas_escritas_curtas")(maximo);
    }
    // Every write and sync under the folder is first interrupted (EINTR).
    static void interrupcoes(bool ligadas) {
        funcao<void (*)(int)>("quarvel_falhas_interrupcoes")(ligadas ? 1 : 0);
    }
    // Every sync under the folder takes `ms` longer (0: no longer).
    static void atrasar_sync(int ms) { funcao<void (*)(int)>("quarvel_falhas_atrasar_sync")(ms); }
    // Every sync under the folder waits, like one on a stalled network file
    // system, until parar_sync(false).
    static void parar_sync(bool parado) {
        funcao<void (*)(int)>("quarvel_falhas_parar_sync")(parado ? 1 : 0);
    }
    // Syncs waiting now.
    static int syncs_parados() { return funcao<int (*)()>("quarvel_falhas_syncs_parados")(); }
    static void desarmar() { funcao<void (*)()>("quarvel_falhas_desarmar")(); }

    static int contagem(Chamada chamada) {
        return funcao<int (*)(const char*)>("quarvel_falhas_contagem")(nome_chamada(chamada));
    }
    static bool disparou() { return funcao<int (*)()>("quarvel_falhas_disparou")() != 0; }
    // Renames under the folder that went through before the fault fired.
    static int renomeacoes_antes_da_falha() {
        return funcao<int (*)()>("quarvel_falhas_renomeacoes_antes_da_falha")();
    }

  private:
    static void* simbolo(const char* nome) { return dlsym(RTLD_DEFAULT, nome); }
    template <class F> static F funcao(const char* nome) {
        return reinterpret_cast<F>(simbolo(nome));
    }
};

// Disarms when the scope ends, whatever the test's outcome, and lets every
// slowed or stalled sync go.
struct Desarmar {
    ~Desarmar() {
        Falhas::parar_sync(false);
        Falhas::atrasar_sync(0);
        Falhas::desarmar();
    }
};

} // namespace quarvel::testes
