#include "sessao/recuperacao_sessao.h"

#include "documents/arquivos.h"
#include "documents/dialogos_documento.h"
#include "documents/mensagens.h"
#include "documents/pasta_backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quarvel::documents {
namespace {

// A snapshot of 50,000 values is under 2 MB and a journal is written anew
// once 4 MB have been appended to it.
constexpr qint64 kMaximoDiario = 64 << 20;

// A window's journal and its lock, taken: the window is gone.
class Orfao {
  public:
    explicit Orfao(const QString& base) : base_(base) {
        const QByteArray trava = QFile::encodeName(base + QStringLiteral(".trava"));
        // Made when missing: two starting windows still take turns on it.
        fd_ = ::open(trava.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
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
    QString diario() const { return base_ + QStringLiteral(".diario"); }

    // The journal, what a rewrite may have left half made, then the lock.
    void apagar() {
        QFile::remove(diario());
        const QFileInfo info(base_);
        const QStringList temporarios =
            info.dir().entryList({QLatin1Char('.') + info.fileName() + QStringLiteral(".diario.*")},
                                 QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& t : temporarios)
            QFile::remove(info.dir().filePath(t));
        QFile::remove(base_ + QStringLiteral(".trava"));
    }

  private:
    QString base_;
    int fd_ = -1;
};

QString base_de(const QString& caminho) {
    return caminho.left(caminho.lastIndexOf(QLatin1Char('.')));
}

} // namespace

QString guardar_recuperacao(const Sessao& sessao, const QDateTime& quando, QString* erro) {
    const QString pasta = pasta_backup(erro);
    if (pasta.isEmpty()) return {};
    const QString nome = pasta + QStringLiteral("/recuperacao-") +
                         quando.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString caminho = nome + QStringLiteral(".qvl");
    for (int n = 2; QFileInfo::exists(caminho) || QFileInfo(caminho).isSymLink(); ++n)
        caminho = nome + QStringLiteral("-%1.qvl").arg(n);
    const std::string bytes = escrever_calculo({sessao.estado.config, sessao.brutos});
    QString motivo;
    if (!gravar_atomico(caminho, QByteArray::fromStdString(bytes), &motivo, Ligacao::Substituir)) {
        if (erro) *erro = QString::fromUtf8(kArquivoNaoSalvo).arg(caminho, motivo);
        return {};
    }
    return caminho;
}

bool oferecer_recuperacao(const ContextoRecuperacao& c) {
    const QDir pasta(c.pasta);
    bool recuperou = false;
    // Newest first.
    for (const QFileInfo& info :
         pasta.entryInfoList({QStringLiteral("*.diario")}, QDir::Files, QDir::Time)) {
        // Far past what a journal of a full tape grows to: not read, left alone.
        if (info.size() > kMaximoDiario) continue;
        Orfao orfao(base_de(info.absoluteFilePath()));
        if (!orfao.tomado()) continue; // its window is still running
        QString erro;
        const auto bytes = ler_arquivo_comum(orfao.diario(), &erro);
        const auto sessao =
            bytes ? reler_diario({bytes->constData(), static_cast<std::size_t>(bytes->size())})
                  : std::nullopt;
        if (!bytes && !QFileInfo::exists(orfao.diario())) continue; // another start took it
        if (!sessao || sessao_vazia(*sessao)) {
            orfao.apagar();
            continue;
        }
        if (!recuperou) {
            const QString pergunta = QString::fromUtf8(kRecuperarSessao).arg(sessao->brutos.size());
            if (c.dialogos.perguntar_recuperacao(c.dono, pergunta)) {
                c.recuperar(*sessao);
                recuperou = true;
                orfao.apagar();
                continue;
            }
        }
        if (guardar_recuperacao(*sessao, info.lastModified(), &erro).isEmpty()) {
            // Kept where it is, to be offered again at the next start.
            c.dialogos.aviso(c.dono, erro);
            continue;
        }
        orfao.apagar();
    }
    // Locks left by a window that died before its first journal.
    for (const QFileInfo& info : pasta.entryInfoList({QStringLiteral("*.trava")}, QDir::Files)) {
        const QString base = base_de(info.absoluteFilePath());
        if (QFileInfo::exists(base + QStringLiteral(".diario"))) continue;
        Orfao orfao(base);
        if (orfao.tomado() && !QFileInfo::exists(orfao.diario())) orfao.apagar();
    }
    return recuperou;
}

} // namespace quarvel::documents
