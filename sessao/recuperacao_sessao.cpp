#include "sessao/recuperacao_sessao.h"

#include "backup/pasta_backup.h"
#include "documents/arquivos.h"
#include "documents/dialogos_documento.h"
#include "documents/limite_leitura.h"
#include "documents/mensagens.h"
#include "gravacao/descritores.h"
#include "gravacao/pastas.h"
#include "gravacao/temporarios.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::documents {
namespace {

// %1 the journal, %2 why, %3 the name it was kept under.
constexpr const char* kDiarioIlegivel =
    "O diário de sessão %1 não pôde ser lido (%2). Ele foi guardado como %3 e não será "
    "oferecido de novo.";
// %1 how many tapes.
constexpr const char* kFitaParaDepois =
    "Mais 1 fita de uma janela do Quarvel que não foi fechada normalmente será oferecida na "
    "próxima vez que o Quarvel for aberto.";
constexpr const char* kFitasParaDepois =
    "Mais %1 fitas de janelas do Quarvel que não foram fechadas normalmente serão oferecidas na "
    "próxima vez que o Quarvel for aberto.";
// %1 the file the tape was kept in.
constexpr const char* kFitaGuardada =
    "A fita não recuperada foi guardada em %1. Ela pode ser aberta como qualquer cálculo ou "
    "restaurada em \"Restaurar / Limpar Backup\".";
constexpr std::string_view kPrefixo = "sessao-";
constexpr std::string_view kDiario = ".diario";
constexpr std::string_view kTrava = ".trava";

bool termina_com(std::string_view s, std::string_view fim) {
    return s.size() >= fim.size() && s.substr(s.size() - fim.size()) == fim;
}

std::string exe_de(const std::string& processo) {
    char alvo[PATH_MAX];
    const ssize_t n = ::readlink(("/proc/" + processo + "/exe").c_str(), alvo, sizeof alvo - 1);
    if (n <= 0) return {};
    std::string s(alvo, static_cast<std::size_t>(n));
    constexpr std::string_view kApagado = " (deleted)";
    if (termina_com(s, kApagado)) s.resize(s.size() - kApagado.size());
    return s;
}

// Whether the window that named this journal may still be running: a
// process of that number running this same program. Only asked when its
// lock file is gone, which a running window never does itself.
bool janela_viva(const std::string& base) {
    // sessao-<pid>-<random>
    const std::size_t inicio = kPrefixo.size();
    const std::size_t traco = base.find('-', inicio);
    if (traco == std::string::npos || traco == inicio) return false;
    const std::string pid = base.substr(inicio, traco - inicio);
    if (pid.find_first_not_of("0123456789") != std::string::npos) return false;
    const std::string dele = exe_de(pid);
    return !dele.empty() && dele == exe_de("self");
}

bool existe(int pasta, const std::string& nome) {
    struct stat st {};
    return ::fstatat(pasta, nome.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool mesmo(int fd, int pasta, const std::string& nome) {
    struct stat aberto {
    }, pelo_nome{};
    return ::fstat(fd, &aberto) == 0 &&
           ::fstatat(pasta, nome.c_str(), &pelo_nome, AT_SYMLINK_NOFOLLOW) == 0 &&
           aberto.st_dev == pelo_nome.st_dev && aberto.st_ino == pelo_nome.st_ino;
}

// A window's journal and its lock, taken: the window is gone.
class Orfao {
  public:
    Orfao(int pasta, std::string base) : pasta_(pasta), base_(std::move(base)) {
        const std::string trava = base_ + std::string(kTrava);
        fd_ = ::openat(pasta_, trava.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0 && (errno == ENOENT || errno == ELOOP)) {
            // No lock file of its own (removed by hand, or a link put in its
            // place): the window may still run; then its journal is left alone.
            const bool ligacao = errno == ELOOP;
            if (janela_viva(base_)) return;
            if (ligacao) ::unlinkat(pasta_, trava.c_str(), 0); // the link, not where it leads
            fd_ = ::openat(pasta_, trava.c_str(),
                           O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        }
        if (fd_ < 0) return;
        // Held only while the name still leads to the file locked: a lock
        // file removed and made again meanwhile is another one's.
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || !mesmo(fd_, pasta_, trava)) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~Orfao() {
        if (fd_ >= 0) ::close(fd_);
    }
    Orfao(const Orfao&) = delete;
    Orfao& operator=(const Orfao&) = delete;

    bool tomado() const { return fd_ >= 0; }
    std::string diario() const { return base_ + std::string(kDiario); }

    // The journal, what a rewrite may have left half made, then the lock.
    void apagar() {
        gravacao::apagar_sincronizado_em(pasta_, diario());
        gravacao::apagar_sobras(pasta_caminho(), diario());
        soltar();
    }
    // The lock file goes, the lock held meanwhile.
    void soltar() {
        const std::string trava = base_ + std::string(kTrava);
        if (fd_ >= 0 && mesmo(fd_, pasta_, trava)) gravacao::apagar_sincronizado_em(pasta_, trava);
    }

  private:
    std::string pasta_caminho() const {
        char alvo[PATH_MAX];
        const ssize_t n =
            ::readlink(("/proc/self/fd/" + std::to_string(pasta_)).c_str(), alvo, sizeof alvo - 1);
        return n > 0 ? std::string(alvo, static_cast<std::size_t>(n)) : std::string();
    }
    int pasta_;
    std::string base_;
    int fd_ = -1;
};

struct Entrada {
    std::string nome; // sessao-...diario
    struct timespec quando {};
};

// The journals of the folder, newest first; links and other nodes are
// skipped here and moved aside by the caller.
std::vector<Entrada> diarios(int pasta, std::vector<std::string>* estranhos) {
    std::vector<Entrada> r;
    const int copia = ::dup(pasta);
    DIR* d = copia >= 0 ? ::fdopendir(copia) : nullptr;
    if (!d) {
        if (copia >= 0) ::close(copia);
        return r;
    }
    ::rewinddir(d);
    while (const dirent* e = ::readdir(d)) {
        const std::string nome(e->d_name);
        if (nome.compare(0, kPrefixo.size(), kPrefixo) != 0 || !termina_com(nome, kDiario))
            continue;
        struct stat st {};
        if (::fstatat(pasta, nome.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode)) {
            estranhos->push_back(nome);
            continue;
        }
        r.push_back({nome, st.st_mtim});
    }
    ::closedir(d);
    std::sort(r.begin(), r.end(), [](const Entrada& a, const Entrada& b) {
        if (a.quando.tv_sec != b.quando.tv_sec) return a.quando.tv_sec > b.quando.tv_sec;
        return a.quando.tv_nsec > b.quando.tv_nsec;
    });
    return r;
}

// The journal's bytes, never through a link nor past the read bound.
std::optional<std::string> ler_diario(int pasta, const std::string& nome, std::string* motivo) {
    const int fd = ::openat(pasta, nome.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *motivo = motivo_do_sistema(errno == ELOOP ? EPERM : errno).toStdString();
        return std::nullopt;
    }
    struct stat st {};
    std::optional<std::string> bytes;
    if (::fstat(fd, &st) != 0) {
        *motivo = motivo_do_sistema(errno).toStdString();
    } else if (!S_ISREG(st.st_mode)) {
        *motivo = "não é um arquivo comum";
    } else if (static_cast<std::uint64_t>(st.st_size) > kMaximoBytesLeitura) {
        *motivo = "é grande demais";
    } else {
        std::string b(static_cast<std::size_t>(st.st_size), '\0');
        std::size_t lidos = 0;
        while (lidos < b.size()) {
            const ssize_t n = gravacao::sem_interrupcao(
                [&] { return ::read(fd, b.data() + lidos, b.size() - lidos); });
            if (n <= 0) break;
            lidos += static_cast<std::size_t>(n);
        }
        if (lidos == b.size())
            bytes = std::move(b);
        else
            *motivo = motivo_do_sistema(errno ? errno : EIO).toStdString();
    }
    ::close(fd);
    return bytes;
}

QString em_qt(const std::string& s) {
    return QFile::decodeName(QByteArray::fromStdString(s));
}

QDateTime data_de(const struct timespec& t) {
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(t.tv_sec) * 1000 +
                                          t.tv_nsec / 1000000);
}

} // namespace

QString pergunta_recuperacao(std::size_t valores, const QDateTime& quando, const QDateTime& agora) {
    const QString hora = quando.date() == agora.date()
                             ? quando.toString(QStringLiteral("HH:mm"))
                             : quando.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    return QStringLiteral(
               "O Quarvel não foi fechado normalmente. Recuperar a fita com %1 %2 de %3?")
        .arg(valores)
        .arg(valores == 1 ? QStringLiteral("valor") : QStringLiteral("valores"))
        .arg(hora);
}

QString guardar_recuperacao(const Sessao& sessao, const QDateTime& quando, QString* erro) {
    const QString pasta = backup::pasta_backup(erro);
    if (pasta.isEmpty()) return {};
    const QString nome = pasta + QStringLiteral("/recuperacao-") +
                         quando.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    // The name is taken with O_EXCL before the file is written over it: two
    // recoveries of the same second, in this process or another, never
    // share one.
    QString caminho;
    for (int n = 1; n < 1000; ++n) {
        caminho = n == 1 ? nome + QStringLiteral(".qvl") : nome + QStringLiteral("-%1.qvl").arg(n);
        const int fd = ::open(QFile::encodeName(caminho).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            break;
        }
        if (errno != EEXIST) {
            if (erro)
                *erro = QString::fromUtf8(kArquivoNaoSalvo).arg(caminho, motivo_do_sistema(errno));
            return {};
        }
        caminho.clear();
    }
    if (caminho.isEmpty()) {
        if (erro) *erro = QString::fromUtf8(kArquivoNaoSalvo).arg(nome, motivo_do_sistema(EEXIST));
        return {};
    }
    const std::string bytes = escrever_calculo({sessao.estado.config, sessao.brutos});
    QString motivo;
    if (!gravar_atomico(caminho, QByteArray::fromStdString(bytes), &motivo, Ligacao::Substituir)) {
        gravacao::apagar_sincronizado(QFile::encodeName(caminho).toStdString());
        if (erro) *erro = QString::fromUtf8(kArquivoNaoSalvo).arg(caminho, motivo);
        return {};
    }
    return caminho;
}

bool oferecer_recuperacao(const ContextoRecuperacao& c) {
    // A folder that is a link is never read (the window says so).
    const int pasta = ::open(QFile::encodeName(c.pasta).constData(),
                             O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (pasta < 0) return false;
    auto mover_de_lado = [&](const std::string& nome, const std::string& motivo) {
        const std::string novo = "diario-ilegivel-" + nome;
        if (::renameat(pasta, nome.c_str(), pasta, novo.c_str()) != 0) return false;
        ::fsync(pasta);
        c.dialogos.aviso(
            c.dono, QString::fromUtf8(kDiarioIlegivel)
                        .arg(c.pasta + QLatin1Char('/') + em_qt(nome), em_qt(motivo), em_qt(novo)));
        return true;
    };
    std::vector<std::string> estranhos;
    const std::vector<Entrada> lista = diarios(pasta, &estranhos);
    for (const std::string& nome : estranhos)
        mover_de_lado(nome, "não é um arquivo comum");
    bool recuperou = false;
    int para_depois = 0;
    for (const Entrada& e : lista) {
        Orfao orfao(pasta, e.nome.substr(0, e.nome.size() - kDiario.size()));
        if (!orfao.tomado()) continue; // its window is still running
        std::string motivo;
        const auto bytes = ler_diario(pasta, e.nome, &motivo);
        if (!bytes && !existe(pasta, e.nome)) continue; // another start took it
        const auto sessao = bytes ? reler_diario(*bytes, &motivo) : std::nullopt;
        if (!sessao) {
            if (mover_de_lado(e.nome, motivo)) orfao.soltar();
            continue;
        }
        if (sessao_vazia(*sessao)) {
            orfao.apagar();
            continue;
        }
        if (recuperou) {
            // One tape per window: this one waits for the next start.
            ++para_depois;
            continue;
        }
        const QDateTime quando = data_de(e.quando);
        if (c.dialogos.perguntar_recuperacao(c.dono,
                                             pergunta_recuperacao(sessao->brutos.size(), quando))) {
            c.recuperar(*sessao);
            recuperou = true;
            orfao.apagar();
            continue;
        }
        QString erro;
        const QString guardada = guardar_recuperacao(*sessao, quando, &erro);
        if (guardada.isEmpty()) {
            // Kept where it is, to be offered again at the next start.
            c.dialogos.aviso(c.dono, erro);
            continue;
        }
        orfao.apagar();
        c.dialogos.aviso(c.dono, QString::fromUtf8(kFitaGuardada).arg(guardada));
    }
    if (para_depois > 0)
        c.dialogos.aviso(c.dono, para_depois == 1
                                     ? QString::fromUtf8(kFitaParaDepois)
                                     : QString::fromUtf8(kFitasParaDepois).arg(para_depois));
    // Locks left by a window that died before its first journal: a window
    // holds its lock before its journal exists, so a lock held here with no
    // journal beside it has none to come.
    std::vector<std::string> travas;
    if (const int copia = ::dup(pasta); copia >= 0) {
        if (DIR* d = ::fdopendir(copia)) {
            ::rewinddir(d); // the copy shares its place in the folder with the scan before
            while (const dirent* e = ::readdir(d)) {
                const std::string nome(e->d_name);
                if (nome.compare(0, kPrefixo.size(), kPrefixo) == 0 && termina_com(nome, kTrava))
                    travas.push_back(nome);
            }
            ::closedir(d);
        } else {
            ::close(copia);
        }
    }
    for (const std::string& nome : travas) {
        const std::string base = nome.substr(0, nome.size() - kTrava.size());
        const std::string diario = base + std::string(kDiario);
        if (existe(pasta, diario)) continue;
        Orfao orfao(pasta, base);
        if (orfao.tomado() && !existe(pasta, diario)) orfao.soltar();
    }
    ::close(pasta);
    return recuperou;
}

} // namespace quarvel::documents
