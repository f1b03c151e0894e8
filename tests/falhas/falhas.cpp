// Fault injection for the tests, loaded with LD_PRELOAD. It stands in front
// of the C library's write, fsync, fdatasync and rename family. Disarmed, every
// call goes straight through. Armed by a test (quarvel_falhas_armar, found with
// dlsym), the calls on files under one folder are counted by kind, and the
// chosen one of the chosen kind fails with the chosen errno, once. It can also
// cut every write short and interrupt calls with EINTR, to try the loops that
// must carry on, slow every sync down, or hold every sync until released (a
// stalled network file system). Calls elsewhere (the test's own output) are
// never touched.
//
// Apart from all that, QUARVEL_FALHAS_PARAR="chamada:parte:n[:metade]", read
// when the library loads, stops the process (SIGSTOP) right after the n-th
// call of `chamada` (write, read, fsync, fdatasync or rename) on a file whose
// path contains `parte`, so a test can kill the real program at that moment.
// With ":metade" the n-th write writes only the first half of its bytes, as a
// power cut leaves a record torn.
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <unistd.h>

#define QUARVEL_EXPORTA extern "C" __attribute__((visibility("default")))

namespace {

enum Tipo { kEscrita, kSincronia, kRenomeacao, kTipos };

struct Estado {
    bool armado;
    std::string pasta; // resolved, without a trailing slash
    int tipo;          // the kind that fails, or -1
    int ordem;         // 1-based; 0 only counts
    int erro;
    int contagem[kTipos];
    bool disparou;
    int renomeacoes;            // renames that went through under the folder
    int renomeacoes_disparo;    // how many had gone through when the fault fired
    std::size_t escrita_maxima; // 0: writes are not cut
    bool interromper;
    bool interrompida[kTipos]; // the next call of the kind goes through
};

std::mutex trava;
Estado estado{};

int tipo_de(const char* nome) {
    if (!nome) return -1;
    if (std::strcmp(nome, "write") == 0) return kEscrita;
    if (std::strcmp(nome, "sync") == 0) return kSincronia;
    if (std::strcmp(nome, "rename") == 0) return kRenomeacao;
    return -1;
}

bool sob_a_pasta(const std::string& caminho) {
    const std::string& p = estado.pasta;
    return caminho.compare(0, p.size(), p) == 0 &&
           (caminho.size() == p.size() || caminho[p.size()] == '/');
}

std::string caminho_do_descritor(int fd) {
    char ligacao[64];
    std::snprintf(ligacao, sizeof ligacao, "/proc/self/fd/%d", fd);
    char alvo[PATH_MAX];
    const ssize_t n = readlink(ligacao, alvo, sizeof alvo - 1);
    return n > 0 ? std::string(alvo, static_cast<std::size_t>(n)) : std::string();
}

// An absolute path with its folder resolved; the last name is kept as given
// (a rename's target need not exist yet).
std::string resolver(int dirfd, const char* caminho) {
    if (!caminho) return {};
    std::string c(caminho);
    if (c.empty() || c[0] != '/') {
        std::string base;
        if (dirfd == AT_FDCWD) {
            char cwd[PATH_MAX];
            if (!getcwd(cwd, sizeof cwd)) return {};
            base = cwd;
        } else {
            base = caminho_do_descritor(dirfd);
        }
        c = base + '/' + c;
    }
    const std::size_t barra = c.rfind('/');
    const std::string pasta = barra == 0 ? std::string("/") : c.substr(0, barra);
    char real[PATH_MAX];
    if (!realpath(pasta.c_str(), real)) return c;
    return std::string(real) + c.substr(barra);
}

struct Decisao {
    int erro = 0;           // fail with this errno
    std::size_t limite = 0; // or cut the write to this many bytes
    bool conta_renomeacao = false;
};

// What happens to one call of `tipo` on `caminho`.
Decisao decidir(int tipo, const std::string& caminho) {
    Decisao d;
    if (!estado.armado || !sob_a_pasta(caminho)) return d;
    if (estado.interromper && tipo != kRenomeacao) {
        estado.interrompida[tipo] = !estado.interrompida[tipo];
        if (estado.interrompida[tipo]) {
            d.erro = EINTR;
            return d;
        }
    }
    const int n = ++estado.contagem[tipo];
    if (!estado.disparou && tipo == estado.tipo && n == estado.ordem) {
        estado.disparou = true;
        estado.renomeacoes_disparo = estado.renomeacoes;
        d.erro = estado.erro;
        return d;
    }
    if (tipo == kEscrita) d.limite = estado.escrita_maxima;
    d.conta_renomeacao = tipo == kRenomeacao;
    return d;
}

Decisao decidir_descritor(int tipo, int fd) {
    std::lock_guard<std::mutex> l(trava);
    if (!estado.armado) return {};
    return decidir(tipo, caminho_do_descritor(fd));
}

Decisao decidir_caminho(int tipo, int dirfd, const char* caminho) {
    std::lock_guard<std::mutex> l(trava);
    if (!estado.armado) return {};
    return decidir(tipo, resolver(dirfd, caminho));
}

void renomeou(const Decisao& d, int r) {
    if (!d.conta_renomeacao || r != 0) return;
    std::lock_guard<std::mutex> l(trava);
    ++estado.renomeacoes;
}

// Slowed and stalled syncs, apart from the armed state: they outlive a
// disarm until set back, so a test can let a stalled sync go at its end.
std::mutex trava_sync;
std::condition_variable sync_solto;
int atraso_sync_ms = 0;
bool sync_parado = false;
int syncs_parados = 0; // syncs waiting now

// Sleeps or waits as the knobs say, for a sync of a file under the folder.
void esperar_sync(int fd) {
    {
        std::lock_guard<std::mutex> l(trava);
        if (!estado.armado || !sob_a_pasta(caminho_do_descritor(fd))) return;
    }
    std::unique_lock<std::mutex> l(trava_sync);
    if (atraso_sync_ms > 0) {
        const auto ate =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(atraso_sync_ms);
        sync_solto.wait_until(l, ate, [] { return atraso_sync_ms == 0; });
    }
    ++syncs_parados;
    sync_solto.wait(l, [] { return !sync_parado; });
    --syncs_parados;
}

// The stop QUARVEL_FALHAS_PARAR names. Plain data, zero until the library's
// constructor fills it: a wrapped call may come before that.
enum Parar { kNaoPara, kPararWrite, kPararRead, kPararFsync, kPararFdatasync, kPararRename };

struct Parada {
    int chamada; // Parar
    char parte[PATH_MAX];
    long ordem;
    bool metade;
    long contadas;
};

std::mutex trava_parada;
Parada parada{};

__attribute__((constructor)) void ler_parada() {
    const char* valor = std::getenv("QUARVEL_FALHAS_PARAR");
    if (!valor) return;
    // The part may hold ':' itself: the ordinal and the option are taken
    // from the end.
    std::string v(valor);
    constexpr const char* kMetade = ":metade";
    if (v.size() > std::strlen(kMetade) &&
        v.compare(v.size() - std::strlen(kMetade), std::string::npos, kMetade) == 0) {
        parada.metade = true;
        v.resize(v.size() - std::strlen(kMetade));
    }
    const std::size_t primeiro = v.find(':'), ultimo = v.rfind(':');
    const std::string chamada = v.substr(0, primeiro);
    const struct {
        const char* nome;
        int parar;
    } chamadas[] = {{"write", kPararWrite},
                    {"read", kPararRead},
                    {"fsync", kPararFsync},
                    {"fdatasync", kPararFdatasync},
                    {"rename", kPararRename}};
    int escolhida = kNaoPara;
    for (const auto& c : chamadas)
        if (chamada == c.nome) escolhida = c.parar;
    char* fim = nullptr;
    const long ordem =
        ultimo == std::string::npos ? 0 : std::strtol(v.c_str() + ultimo + 1, &fim, 10);
    const std::string parte =
        ultimo > primeiro ? v.substr(primeiro + 1, ultimo - primeiro - 1) : std::string();
    if (escolhida == kNaoPara || ordem < 1 || !fim || *fim || parte.empty() ||
        parte.size() >= sizeof parada.parte) {
        std::fprintf(stderr, "QUARVEL_FALHAS_PARAR: not chamada:parte:n[:metade]: %s\n", valor);
        std::abort();
    }
    std::memcpy(parada.parte, parte.c_str(), parte.size() + 1);
    parada.ordem = ordem;
    parada.chamada = escolhida;
}

// Whether this call is the one to stop after; every call of the kind on a
// matching path is counted, whatever it returns.
bool parar_em(const char* caminho) {
    if (!caminho || !std::strstr(caminho, parada.parte)) return false;
    std::lock_guard<std::mutex> l(trava_parada);
    return ++parada.contadas == parada.ordem;
}

bool parar_no_descritor(int chamada, int fd) {
    return parada.chamada == chamada && parar_em(caminho_do_descritor(fd).c_str());
}

bool parar_no_nome(const char* de, const char* para) {
    if (parada.chamada != kPararRename) return false;
    return parar_em(de && std::strstr(de, parada.parte) ? de : para);
}

// The result of the call, once the process is let go again (SIGCONT).
template <class R> R depois(bool parar, R r) {
    if (!parar) return r;
    const int numero = errno;
    std::raise(SIGSTOP);
    errno = numero;
    return r;
}

template <class F> F real(const char* nome) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, nome));
}

} // namespace

// The control side, for the tests.

QUARVEL_EXPORTA void quarvel_falhas_armar(const char* pasta, const char* chamada, int ordem,
                                          int erro) {
    std::lock_guard<std::mutex> l(trava);
    char real_pasta[PATH_MAX];
    estado = Estado{};
    estado.pasta = realpath(pasta, real_pasta) ? real_pasta : pasta;
    estado.tipo = tipo_de(chamada);
    estado.ordem = ordem;
    estado.erro = erro;
    estado.armado = true;
}

QUARVEL_EXPORTA void quarvel_falhas_escritas_curtas(std::size_t maximo) {
    std::lock_guard<std::mutex> l(trava);
    estado.escrita_maxima = maximo;
}

QUARVEL_EXPORTA void quarvel_falhas_interrupcoes(int ligadas) {
    std::lock_guard<std::mutex> l(trava);
    estado.interromper = ligadas != 0;
}

QUARVEL_EXPORTA void quarvel_falhas_atrasar_sync(int ms) {
    {
        std::lock_guard<std::mutex> l(trava_sync);
        atraso_sync_ms = ms;
    }
    sync_solto.notify_all();
}

QUARVEL_EXPORTA void quarvel_falhas_parar_sync(int parado) {
    {
        std::lock_guard<std::mutex> l(trava_sync);
        sync_parado = parado != 0;
    }
    sync_solto.notify_all();
}

QUARVEL_EXPORTA int quarvel_falhas_syncs_parados() {
    std::lock_guard<std::mutex> l(trava_sync);
    return syncs_parados;
}

QUARVEL_EXPORTA void quarvel_falhas_desarmar() {
    std::lock_guard<std::mutex> l(trava);
    estado.armado = false;
}

QUARVEL_EXPORTA int quarvel_falhas_contagem(const char* chamada) {
    std::lock_guard<std::mutex> l(trava);
    const int t = tipo_de(chamada);
    return t < 0 ? -1 : estado.contagem[t];
}

QUARVEL_EXPORTA int quarvel_falhas_disparou() {
    std::lock_guard<std::mutex> l(trava);
    return estado.disparou ? 1 : 0;
}

QUARVEL_EXPORTA int quarvel_falhas_renomeacoes_antes_da_falha() {
    std::lock_guard<std::mutex> l(trava);
    return estado.disparou ? estado.renomeacoes_disparo : estado.renomeacoes;
}

// The calls stood in front of.

QUARVEL_EXPORTA ssize_t write(int fd, const void* dados, std::size_t n) {
    static const auto original = real<ssize_t (*)(int, const void*, std::size_t)>("write");
    const bool parar = parar_no_descritor(kPararWrite, fd);
    if (parar && parada.metade) n /= 2;
    const Decisao d = decidir_descritor(kEscrita, fd);
    if (d.erro) {
        errno = d.erro;
        return depois(parar, ssize_t{-1});
    }
    if (d.limite && n > d.limite) n = d.limite;
    return depois(parar, original(fd, dados, n));
}

// Only counted for a stop: nothing fails a read.
QUARVEL_EXPORTA ssize_t read(int fd, void* dados, std::size_t n) {
    static const auto original = real<ssize_t (*)(int, void*, std::size_t)>("read");
    const bool parar = parar_no_descritor(kPararRead, fd);
    return depois(parar, original(fd, dados, n));
}

// What read becomes in a build with _FORTIFY_SOURCE.
QUARVEL_EXPORTA ssize_t __read_chk(int fd, void* dados, std::size_t n, std::size_t tamanho) {
    static const auto original =
        real<ssize_t (*)(int, void*, std::size_t, std::size_t)>("__read_chk");
    const bool parar = parar_no_descritor(kPararRead, fd);
    return depois(parar, original(fd, dados, n, tamanho));
}

QUARVEL_EXPORTA int fsync(int fd) {
    static const auto original = real<int (*)(int)>("fsync");
    esperar_sync(fd);
    const bool parar = parar_no_descritor(kPararFsync, fd);
    const Decisao d = decidir_descritor(kSincronia, fd);
    if (d.erro) {
        errno = d.erro;
        return depois(parar, -1);
    }
    return depois(parar, original(fd));
}

QUARVEL_EXPORTA int fdatasync(int fd) {
    static const auto original = real<int (*)(int)>("fdatasync");
    esperar_sync(fd);
    const bool parar = parar_no_descritor(kPararFdatasync, fd);
    const Decisao d = decidir_descritor(kSincronia, fd);
    if (d.erro) {
        errno = d.erro;
        return depois(parar, -1);
    }
    return depois(parar, original(fd));
}

QUARVEL_EXPORTA int rename(const char* de, const char* para) {
    static const auto original = real<int (*)(const char*, const char*)>("rename");
    const bool parar = parar_no_nome(de, para);
    const Decisao d = decidir_caminho(kRenomeacao, AT_FDCWD, para);
    if (d.erro) {
        errno = d.erro;
        return depois(parar, -1);
    }
    const int r = original(de, para);
    renomeou(d, r);
    return depois(parar, r);
}

QUARVEL_EXPORTA int renameat(int dirde, const char* de, int dirpara, const char* para) {
    static const auto original = real<int (*)(int, const char*, int, const char*)>("renameat");
    const bool parar = parar_no_nome(de, para);
    const Decisao d = decidir_caminho(kRenomeacao, dirpara, para);
    if (d.erro) {
        errno = d.erro;
        return depois(parar, -1);
    }
    const int r = original(dirde, de, dirpara, para);
    renomeou(d, r);
    return depois(parar, r);
}

QUARVEL_EXPORTA int renameat2(int dirde, const char* de, int dirpara, const char* para,
                              unsigned int opcoes) {
    static const auto original =
        real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    const bool parar = parar_no_nome(de, para);
    const Decisao d = decidir_caminho(kRenomeacao, dirpara, para);
    if (d.erro) {
        errno = d.erro;
        return depois(parar, -1);
    }
    const int r = original(dirde, de, dirpara, para, opcoes);
    renomeou(d, r);
    return depois(parar, r);
}
