#include "sessao/diario_sessao.h"

#include "documents/arquivos.h"
#include "documents/mensagens.h"
#include "documents/pasta_dados.h"
#include "gravacao/descritores.h"
#include "tape/pausa_teste.h"
#include "tape/visao_fita.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quarvel::documents {
namespace {

// A text typed into a settings field is recorded once the typing pauses.
constexpr int kAtrasoEstadoMs = 300;
// Past this many appended bytes the next change writes a fresh snapshot, so
// replay stays short.
constexpr std::size_t kMaximoAnexado = 4u << 20;

// The names in a folder reach the disk.
void sincronizar_pasta(const QString& pasta) {
    const int fd = ::open(QFile::encodeName(pasta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

QString pasta_sessoes() {
    const std::string dados = documents::pasta_dados(
        qEnvironmentVariable("XDG_DATA_HOME").toStdString(), QDir::homePath().toStdString());
    return QString::fromStdString(dados) + QStringLiteral("/sessoes");
}

DiarioSessao::DiarioSessao(tape::FitaModelo& fita, CamposConfiguracao campos,
                           std::function<QString()> arquivo,
                           std::function<void(const QString&)> avisar, const QString& pasta)
    : fita_(fita), campos_(campos), arquivo_(std::move(arquivo)), avisar_(std::move(avisar)) {
    const QString base =
        QStringLiteral("%1/sessao-%2-%3")
            .arg(pasta)
            .arg(QCoreApplication::applicationPid())
            .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    caminho_ = base + QStringLiteral(".diario");
    trava_ = base + QStringLiteral(".trava");
    // The lock first: a journal is only ever seen with its lock held.
    const bool nova = !QFileInfo::exists(pasta);
    if (!QDir().mkpath(pasta)) {
        erro_ = QString::fromUtf8(kPastaNaoCriada).arg(pasta, motivo_do_sistema(errno));
    } else {
        // The amounts counted are the user's alone.
        QFile::setPermissions(pasta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A folder made just now survives a power cut with the journal in it:
        // its name in Quarvel, and Quarvel's in the data folder.
        QDir acima(pasta);
        for (int nivel = 0; nova && nivel < 2 && acima.cdUp(); ++nivel)
            sincronizar_pasta(acima.path());
        fd_trava_ = ::open(QFile::encodeName(trava_).constData(),
                           O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd_trava_ < 0 || ::flock(fd_trava_, LOCK_EX | LOCK_NB) != 0)
            erro_ = QString::fromUtf8(kDiarioNaoGravado).arg(trava_, motivo_do_sistema(errno));
        else
            reescrever();
    }

    connect(&fita_, &tape::FitaModelo::alterou, this, &DiarioSessao::alterou);
    atraso_estado_.setSingleShot(true);
    atraso_estado_.setInterval(kAtrasoEstadoMs);
    connect(&atraso_estado_, &QTimer::timeout, this, &DiarioSessao::gravar_estado);
    for (QLineEdit* campo : {&campos_.cabecalho, &campos_.rodape, &campos_.nome_arquivo})
        connect(campo, &QLineEdit::textChanged, this, &DiarioSessao::estado_mudou);
    connect(&campos_.d01, &QCheckBox::toggled, this, &DiarioSessao::estado_mudou);
    connect(&campos_.qtdetempo, &QComboBox::currentIndexChanged, this, &DiarioSessao::estado_mudou);
}

DiarioSessao::~DiarioSessao() {
    if (!encerrado_) encerrar();
}

EstadoDocumento DiarioSessao::estado_atual() const {
    return {arquivo_().toStdString(), ler_campos(campos_)};
}

void DiarioSessao::estado_mudou() {
    if (!encerrado_) atraso_estado_.start();
}

void DiarioSessao::gravar_estado() {
    if (fd_trava_ < 0 || encerrado_) return;
    const EstadoDocumento e = estado_atual();
    if (quebrado_) {
        reescrever();
    } else if (e != gravado_ && anexar(registro_estado(e))) {
        gravado_ = e;
    }
}

void DiarioSessao::alterou(const tape::Alteracao& a) {
    if (fd_trava_ < 0 || encerrado_) return;
    if (quebrado_ || a.tipo == tape::Alteracao::Tipo::Trocar || anexado_ > kMaximoAnexado) {
        reescrever();
        return;
    }
    // Settings not yet recorded go first, in the same write.
    const EstadoDocumento e = estado_atual();
    std::string bytes = e != gravado_ ? registro_estado(e) : std::string();
    bytes += registro_alteracao(a);
    if (anexar(bytes)) {
        gravado_ = e;
        atraso_estado_.stop();
    }
}

bool DiarioSessao::anexar(const std::string& bytes) {
    // In two writes, so a test can stop the program between them and see a
    // torn record left out.
    const std::size_t metade = bytes.size() / 2;
    bool ok = gravacao::escrever_tudo(fd_, bytes.data(), metade);
    if (ok) tape::pausa_de_teste("meio_registro");
    ok = ok && gravacao::escrever_tudo(fd_, bytes.data() + metade, bytes.size() - metade) &&
         ::fdatasync(fd_) == 0;
    if (!ok) {
        falhar(motivo_do_sistema(errno));
        return false;
    }
    anexado_ += bytes.size();
    avisado_ = false;
    tape::pausa_de_teste("registro");
    return true;
}

bool DiarioSessao::reescrever() {
    // A new file renamed over the old one: a power cut leaves one of the two,
    // whole. The lock is on another file, so the rename never drops it.
    const EstadoDocumento e = estado_atual();
    QString motivo;
    if (!gravar_atomico(caminho_, QByteArray::fromStdString(iniciar_diario(e, fita_.brutos())),
                        &motivo, Ligacao::Substituir)) {
        falhar(motivo);
        return false;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::open(QFile::encodeName(caminho_).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd_ < 0) {
        falhar(motivo_do_sistema(errno));
        return false;
    }
    gravado_ = e;
    anexado_ = 0;
    quebrado_ = false;
    avisado_ = false;
    atraso_estado_.stop();
    return true;
}

void DiarioSessao::falhar(const QString& motivo) {
    // Whatever half a record reached the file, the next change starts anew.
    quebrado_ = true;
    erro_ = QString::fromUtf8(kDiarioNaoGravado).arg(caminho_, motivo);
    if (avisado_) return;
    avisado_ = true;
    if (avisar_) avisar_(erro_);
}

void DiarioSessao::fechar() {
    atraso_estado_.stop();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    encerrado_ = true;
}

void DiarioSessao::encerrar() {
    fechar();
    if (fd_trava_ < 0) return;
    // The journal before its lock: a journal is never seen without one held.
    QFile::remove(caminho_);
    QFile::remove(trava_);
    ::close(fd_trava_);
    fd_trava_ = -1;
}

void DiarioSessao::manter() {
    fechar();
    if (fd_trava_ >= 0) ::close(fd_trava_); // another start may now take it
    fd_trava_ = -1;
}

} // namespace quarvel::documents
