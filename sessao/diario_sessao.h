#pragma once
// The session journal of the main window on disk: one file per window in the
// user's data folder, under an exclusive lock for the window's lifetime.
// Every change of the tape reaches it, synced, before the command that made
// it returns; the settings follow shortly after they change, and always with
// the next change of the tape. The journal's format is documents/diario.h.
#include "documents/campos_configuracao.h"
#include "sessao/diario.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace quarvel::tape {
class FitaModelo;
}

namespace quarvel::documents {

// $XDG_DATA_HOME/Quarvel/sessoes, else ~/.local/share/Quarvel/sessoes.
QString pasta_sessoes();

class DiarioSessao : public QObject {
    Q_OBJECT
  public:
    // Starts this window's journal in `pasta` with the document as it is.
    // `arquivo` gives the document's file name; `avisar` shows why the
    // journal could not be written (once, until it works again).
    DiarioSessao(tape::FitaModelo& fita, CamposConfiguracao campos,
                 std::function<QString()> arquivo, std::function<void(const QString&)> avisar,
                 const QString& pasta = pasta_sessoes());
    // Removes the journal, unless manter() was called.
    ~DiarioSessao() override;

    // The settings changed (a text being typed): recorded shortly.
    void estado_mudou();
    // The settings or the file name as they are now, recorded at once.
    void gravar_estado();
    // The window closed normally: the journal and its lock go.
    void encerrar();
    // The program ends without its tape saved anywhere else: the journal
    // stays, to be offered at the next start.
    void manter();

    const QString& caminho() const { return caminho_; }
    // Why there is no journal; empty while it works.
    const QString& erro() const { return erro_; }

  private:
    EstadoDocumento estado_atual() const;
    void alterou(const tape::Alteracao& a);
    bool anexar(const std::string& bytes);
    bool reescrever();
    void falhar(const QString& motivo);
    void fechar();

    tape::FitaModelo& fita_;
    CamposConfiguracao campos_;
    std::function<QString()> arquivo_;
    std::function<void(const QString&)> avisar_;
    QString caminho_;
    QString trava_;
    int fd_ = -1;             // the journal, opened to append
    int fd_trava_ = -1;       // the lock file, flock'ed
    EstadoDocumento gravado_; // the settings as the journal has them
    std::size_t anexado_ = 0; // bytes appended since the snapshot
    bool quebrado_ = true;    // the next change writes a new journal
    bool avisado_ = false;
    bool encerrado_ = false;
    QString erro_;
    QTimer atraso_estado_;
};

} // namespace quarvel::documents
