#include "sessao/diario_sessao.h"

#include "documents/arquivos.h"
#include "documents/escritor_fila.h"
#include "documents/mensagens.h"
#include "documents/pasta_dados.h"
#include "espera/frm_loading.h"
#include "gravacao/descritores.h"
#include "gravacao/gravar.h"
#include "gravacao/motivos.h"
#include "gravacao/pastas.h"
#include "tape/visao_fita.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::documents {
namespace {

// A text typed into a settings field is recorded once the typing pauses.
constexpr int kAtrasoEstadoMs = 300;
// Past this many appended bytes the next change writes a fresh snapshot, so
// replay stays short.
constexpr std::size_t kMaximoAnexado = 4u << 20;
// How often the window looks whether the writer keeps up.
constexpr int kVigiaMs = 500;
// A close that waits longer than this for the writer shows "Aguarde".
constexpr std::chrono::milliseconds kEsperaSemJanela{500};

constexpr const char* kDiarioFalhando = "Diário da sessão falhou: %1";
constexpr const char* kDiarioAtrasado = "Diário da sessão atrasado: o disco não acompanha";
// %1 the folder.
constexpr const char* kSessoesLigacao =
    "A pasta %1 é uma ligação simbólica, que não é seguida: o diário da sessão não será "
    "gravado. Se o Quarvel for fechado de forma inesperada, a fita não poderá ser recuperada.";

bool mesmo_arquivo(int fd, const QByteArray& nome) {
    struct stat aberto {
    }, pelo_nome{};
    return ::fstat(fd, &aberto) == 0 && ::lstat(nome.constData(), &pelo_nome) == 0 &&
           aberto.st_dev == pelo_nome.st_dev && aberto.st_ino == pelo_nome.st_ino;
}

} // namespace

// The journal as the writer thread keeps it. After the window hands it over,
// only that thread touches it, except `cancelado`.
struct DiarioSessao::Disco {
    DiarioSessao* dono;
    EscritorFila* escritor;
    std::string caminho;
    int fd = -1;             // opened to append
    bool quebrado = true;    // a failure was told: nothing is appended until a new journal
    int por_sincronizar = 0; // records written since the last fdatasync
    std::uint64_t ultimo = 0;
    std::atomic<bool> cancelado{false}; // the window closed: the jobs left do nothing

    ~Disco() {
        if (fd >= 0) ::close(fd);
    }

    void relatar(std::uint64_t ordem, bool ok, const std::string& motivo = {}) {
        DiarioSessao* d = dono;
        const QString m = QString::fromStdString(motivo);
        QMetaObject::invokeMethod(
            d, [d, ordem, ok, m] { d->relatar(ordem, ok, m); }, Qt::QueuedConnection);
    }

    void falhar(std::uint64_t ordem, const std::string& motivo) {
        quebrado = true;
        por_sincronizar = 0;
        relatar(ordem, false, motivo);
    }

    // A new file renamed over the old one: a power cut leaves one of the
    // two, whole. The lock is on another file, so the rename never drops it.
    void reescrever(const std::string& bytes, std::uint64_t ordem) {
        if (cancelado) return;
        std::string motivo;
        if (!gravacao::gravar_atomico(caminho, bytes, &motivo, gravacao::Ligacao::Substituir)) {
            falhar(ordem, motivo);
            return;
        }
        if (fd >= 0) ::close(fd);
        fd = ::open(caminho.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            falhar(ordem, gravacao::motivo_do_sistema(errno));
            return;
        }
        quebrado = false;
        por_sincronizar = 0;
        relatar(ordem, true);
    }

    void anexar(const std::shared_ptr<Disco>& eu, const std::string& bytes, std::uint64_t ordem) {
        if (cancelado || quebrado) return;
        if (!gravacao::escrever_tudo(fd, bytes.data(), bytes.size())) {
            falhar(ordem, gravacao::motivo_do_sistema(errno));
            return;
        }
        ++por_sincronizar;
        ultimo = ordem;
        // The records the batch wrote go in one fdatasync at its end.
        escritor->ao_fim_do_lote(this, [eu] { eu->sincronizar(); });
    }

    void sincronizar() {
        if (quebrado || por_sincronizar == 0) return;
        if (gravacao::sem_interrupcao([this] { return ::fdatasync(fd); }) != 0) {
            falhar(ultimo, gravacao::motivo_do_sistema(errno));
            return;
        }
        por_sincronizar = 0;
        relatar(ultimo, true);
    }
};

QString pasta_sessoes() {
    const std::string dados = documents::pasta_dados(
        qEnvironmentVariable("XDG_DATA_HOME").toStdString(), QDir::homePath().toStdString());
    return QString::fromStdString(dados) + QStringLiteral("/sessoes");
}

DiarioSessao::DiarioSessao(tape::FitaModelo& fita, EscritorFila& escritor,
                           CamposConfiguracao campos, std::function<QString()> arquivo,
                           std::function<void(const QString&)> avisar, const QString& pasta)
    : fita_(fita), escritor_(escritor), campos_(campos), arquivo_(std::move(arquivo)),
      avisar_(std::move(avisar)) {
    // The lock first: a journal is only ever seen with its lock held.
    if (tomar_trava(pasta)) {
        disco_ = std::make_shared<Disco>();
        disco_->dono = this;
        disco_->escritor = &escritor_;
        disco_->caminho = QFile::encodeName(caminho_).toStdString();
        reescrever();
    }

    connect(&fita_, &tape::FitaModelo::alterou, this, &DiarioSessao::alterou);
    atraso_estado_.setSingleShot(true);
    atraso_estado_.setInterval(kAtrasoEstadoMs);
    connect(&atraso_estado_, &QTimer::timeout, this, &DiarioSessao::gravar_estado);
    vigia_.setInterval(kVigiaMs);
    connect(&vigia_, &QTimer::timeout, this, &DiarioSessao::vigiar);
    for (QLineEdit* campo : {&campos_.cabecalho, &campos_.rodape, &campos_.nome_arquivo})
        connect(campo, &QLineEdit::textChanged, this, &DiarioSessao::estado_mudou);
    connect(&campos_.d01, &QCheckBox::toggled, this, &DiarioSessao::estado_mudou);
    connect(&campos_.qtdetempo, &QComboBox::currentIndexChanged, this, &DiarioSessao::estado_mudou);
}

DiarioSessao::~DiarioSessao() {
    if (!encerrado_) encerrar();
}

bool DiarioSessao::tomar_trava(const QString& pasta) {
    const QByteArray nome_pasta = QFile::encodeName(pasta);
    struct stat st {};
    if (::lstat(nome_pasta.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        erro_ = QString::fromUtf8(kSessoesLigacao).arg(pasta);
        motivo_ = QStringLiteral("a pasta %1 é uma ligação simbólica").arg(pasta);
        return false;
    }
    // A folder made now is synced into the one above, and so up the chain:
    // a power cut must not take the journal's folder with it.
    bool criada = false;
    if (!gravacao::criar_pastas(nome_pasta.toStdString(), 0700, &criada)) {
        motivo_ = motivo_do_sistema(errno);
        erro_ = QString::fromUtf8(kPastaNaoCriada).arg(pasta, motivo_);
        return false;
    }
    const int pasta_fd =
        ::open(nome_pasta.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (pasta_fd < 0) {
        motivo_ = motivo_do_sistema(errno == ELOOP ? ENOTDIR : errno);
        erro_ = QString::fromUtf8(kDiarioNaoGravado).arg(pasta, motivo_);
        return false;
    }
    // The amounts counted are the user's alone.
    ::fchmod(pasta_fd, 0700);
    int numero = 0;
    for (int tentativa = 0; tentativa < 10 && fd_trava_ < 0; ++tentativa) {
        const QString base =
            QStringLiteral("%1/sessao-%2-%3")
                .arg(pasta)
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
        const QByteArray trava = QFile::encodeName(base + QStringLiteral(".trava"));
        const QByteArray nome = trava.mid(nome_pasta.size() + 1);
        const int fd = ::openat(pasta_fd, nome.constData(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            numero = errno;
            if (numero == EEXIST) continue;
            break;
        }
        // A start clearing orphan locks may delete this one before the flock:
        // the lock counts only when its name still leads to it.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !mesmo_arquivo(fd, trava)) {
            numero = errno == 0 ? EAGAIN : errno;
            ::close(fd);
            continue;
        }
        fd_trava_ = fd;
        trava_ = QFile::decodeName(trava);
        caminho_ = base + QStringLiteral(".diario");
    }
    ::close(pasta_fd);
    if (fd_trava_ < 0) {
        motivo_ = motivo_do_sistema(numero ? numero : EAGAIN);
        erro_ = QString::fromUtf8(kDiarioNaoGravado).arg(pasta, motivo_);
        return false;
    }
    travado_ = true;
    return true;
}

EstadoDocumento DiarioSessao::estado_atual() const {
    return {arquivo_().toStdString(), ler_campos(campos_)};
}

void DiarioSessao::estado_mudou() {
    if (!encerrado_) atraso_estado_.start();
}

void DiarioSessao::gravar_estado() {
    if (!travado_ || encerrado_) return;
    const EstadoDocumento e = estado_atual();
    if (quebrado_) {
        reescrever();
    } else if (e != gravado_) {
        anexar(registro_estado(e));
        gravado_ = e;
    }
}

void DiarioSessao::alterou(const tape::Alteracao& a) {
    if (!travado_ || encerrado_) return;
    if (quebrado_ || a.tipo == tape::Alteracao::Tipo::Trocar || anexado_ > kMaximoAnexado) {
        reescrever();
        return;
    }
    // Settings not yet recorded go first, in the same write.
    const EstadoDocumento e = estado_atual();
    std::string bytes = e != gravado_ ? registro_estado(e) : std::string();
    bytes += registro_alteracao(a);
    anexar(std::move(bytes));
    gravado_ = e;
    atraso_estado_.stop();
}

void DiarioSessao::anexar(std::string bytes) {
    anexado_ += bytes.size();
    const std::uint64_t ordem = ++enviados_;
    escritor_.enfileirar([d = disco_, b = std::move(bytes), ordem] { d->anexar(d, b, ordem); });
    if (!vigia_.isActive()) vigia_.start();
}

void DiarioSessao::reescrever() {
    const EstadoDocumento e = estado_atual();
    const std::uint64_t ordem = ++enviados_;
    reescrito_em_ = ordem;
    escritor_.enfileirar(
        [d = disco_, b = iniciar_diario(e, fita_.brutos()), ordem] { d->reescrever(b, ordem); });
    gravado_ = e;
    anexado_ = 0;
    quebrado_ = false;
    atraso_estado_.stop();
    if (!vigia_.isActive()) vigia_.start();
}

void DiarioSessao::relatar(std::uint64_t ordem, bool ok, const QString& motivo) {
    if (encerrado_) return;
    if (ok) {
        if (atrasado_) vigiar(); // caught up, perhaps
        // A write that went through after the failure: the journal works again.
        if (ordem > falhou_em_ && !motivo_.isEmpty()) {
            motivo_.clear();
            erro_.clear();
            avisado_ = false;
            mostrar_estado();
        }
        return;
    }
    falhou_em_ = ordem;
    quebrado_ = true;
    motivo_ = motivo;
    erro_ = QString::fromUtf8(kDiarioNaoGravado).arg(caminho_, motivo);
    mostrar_estado();
    // The failed record, and any handed over after it, are dropped: the
    // journal is written whole again at once. A new journal that failed
    // with nothing after it waits for the next change, so a full disk is
    // not tried in a loop.
    if (enviados_ > ordem || ordem != reescrito_em_) reescrever();
    if (avisado_) return;
    avisado_ = true;
    if (avisar_) avisar_(erro_);
}

void DiarioSessao::vigiar() {
    const bool atrasado =
        escritor_.atraso() > std::chrono::milliseconds(kAtrasoAvisadoMs) && !encerrado_;
    if (atrasado != atrasado_) {
        atrasado_ = atrasado;
        mostrar_estado();
    }
    if (!atrasado_ && escritor_.em_dia()) vigia_.stop();
}

void DiarioSessao::ao_mudar_estado(std::function<void(const QString&)> avisar) {
    avisar_estado_ = std::move(avisar);
    if (!motivo_.isEmpty()) mostrar_estado();
}

void DiarioSessao::mostrar_estado() {
    if (!avisar_estado_) return;
    if (!motivo_.isEmpty())
        avisar_estado_(QString::fromUtf8(kDiarioFalhando).arg(motivo_));
    else if (atrasado_)
        avisar_estado_(QString::fromUtf8(kDiarioAtrasado));
    else
        avisar_estado_(QString());
}

void DiarioSessao::esperar() {
    // A failure taken in may hand over the journal anew: wait for that too.
    for (int vez = 0; vez < 3; ++vez) {
        const std::uint64_t antes = enviados_;
        escritor_.esperar();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        if (enviados_ == antes) break;
    }
    vigiar();
}

void DiarioSessao::fechar() {
    atraso_estado_.stop();
    vigia_.stop();
    encerrado_ = true;
    atrasado_ = false;
}

void DiarioSessao::encerrar() {
    if (encerrado_) return;
    if (disco_) disco_->cancelado = true; // what is still queued for it is moot now
    fechar();
    // The other jobs (the backup) still go out before the window goes; a
    // slow disk shows "Aguarde" meanwhile.
    if (!escritor_.esperar(kEsperaSemJanela))
        FormLoading::esperar(
            campos_.cabecalho.window(),
            [this] { return escritor_.esperar(std::chrono::milliseconds(0)); }, [] {});
    disco_.reset();
    if (!travado_) {
        if (fd_trava_ >= 0) ::close(fd_trava_);
        fd_trava_ = -1;
        return;
    }
    // The journal before its lock: a journal is never seen without one held.
    gravacao::apagar_sincronizado(QFile::encodeName(caminho_).toStdString());
    // Only while held, and only when the name still leads to it.
    const QByteArray trava = QFile::encodeName(trava_);
    if (mesmo_arquivo(fd_trava_, trava)) gravacao::apagar_sincronizado(trava.toStdString());
    ::close(fd_trava_);
    fd_trava_ = -1;
    travado_ = false;
}

void DiarioSessao::manter() {
    if (encerrado_) return;
    atraso_estado_.stop();
    esperar();
    fechar();
    disco_.reset();
    if (fd_trava_ >= 0) ::close(fd_trava_); // another start may now take it
    fd_trava_ = -1;
    travado_ = false;
}

} // namespace quarvel::documents
