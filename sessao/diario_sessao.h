#pragma once
// The session journal of the main window on disk: one file per window in the
// user's data folder, under an exclusive lock for the window's lifetime.
// Every change of the tape is handed to the writer thread (documents/
// escritor_fila.h) as it happens and reaches the disk, synced, in the order
// of the commands, while the window goes on; the settings follow shortly
// after they change, and always with the next change of the tape. The
// journal's format is sessao/diario.h.
#include "documents/campos_configuracao.h"
#include "sessao/diario.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

namespace quarvel::tape {
class FitaModelo;
}

namespace quarvel::documents {

class EscritorFila;

// $XDG_DATA_HOME/Quarvel/sessoes, else ~/.local/share/Quarvel/sessoes.
QString pasta_sessoes();

class DiarioSessao : public QObject {
    Q_OBJECT
  public:
    // Starts this window's journal in `pasta` with the document as it is.
    // `arquivo` gives the document's file name; `avisar` shows why the
    // journal could not be written (once, until it works again).
    DiarioSessao(tape::FitaModelo& fita, EscritorFila& escritor, CamposConfiguracao campos,
                 std::function<QString()> arquivo, std::function<void(const QString&)> avisar,
                 const QString& pasta = pasta_sessoes());
    // Removes the journal, unless manter() was called.
    ~DiarioSessao() override;

    // The settings changed (a text being typed): recorded shortly.
    void estado_mudou();
    // The settings or the file name as they are now, recorded at once.
    void gravar_estado();
    // The window closed normally: waits for the writer (behind the "Aguarde"
    // window when that takes long), then the journal and its lock go.
    void encerrar();
    // The program ends without its tape saved anywhere else: what was handed
    // to the writer is written, and the journal stays, to be offered at the
    // next start.
    void manter();
    // Waits until everything handed to the writer is on the disk, or failed,
    // and takes in how it went.
    void esperar();

    // Told the journal's state after each change of it: the text for the
    // status bar while it fails or falls behind, empty once it keeps up. A
    // journal that could not start is told at once.
    void ao_mudar_estado(std::function<void(const QString&)> avisar);

    const QString& caminho() const { return caminho_; }
    // Why there is no journal; empty while it works.
    const QString& erro() const { return erro_; }

    // Behind by this long, the status bar says so.
    static constexpr int kAtrasoAvisadoMs = 2000;

  private:
    struct Disco;
    EstadoDocumento estado_atual() const;
    void alterou(const tape::Alteracao& a);
    void anexar(std::string bytes);
    void reescrever();
    // On the window's thread: how the job `ordem` went.
    void relatar(std::uint64_t ordem, bool ok, const QString& motivo);
    void vigiar();
    void mostrar_estado();
    bool tomar_trava(const QString& pasta);
    void fechar();

    tape::FitaModelo& fita_;
    EscritorFila& escritor_;
    CamposConfiguracao campos_;
    std::function<QString()> arquivo_;
    std::function<void(const QString&)> avisar_;
    std::function<void(const QString&)> avisar_estado_;
    QString caminho_;
    QString trava_;
    std::shared_ptr<Disco> disco_; // the writer thread's side
    int fd_trava_ = -1;            // the lock file, flock'ed
    bool travado_ = false;         // the lock is held: the journal may be written
    EstadoDocumento gravado_;      // the settings as the journal has them
    std::size_t anexado_ = 0;      // bytes appended since the snapshot
    bool quebrado_ = true;         // the next change writes a new journal
    bool avisado_ = false;
    bool encerrado_ = false;
    bool atrasado_ = false;
    std::uint64_t enviados_ = 0;     // jobs handed to the writer
    std::uint64_t falhou_em_ = 0;    // the last job that failed
    std::uint64_t reescrito_em_ = 0; // the last new journal handed over
    QString erro_;
    QString motivo_;
    QTimer atraso_estado_;
    QTimer vigia_;
};

} // namespace quarvel::documents
