#pragma once
// The automatic backup of the main window: the switch d01 and the interval
// qtdetempo, the timer whose tick writes the tape lines into the Backup
// folder, and form_restaurar's restore and clear.
#include "backup/trava_backup.h"
#include "documents/campos_configuracao.h"

#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

namespace quarvel::tape {
class FitaModelo;
}

namespace quarvel::documents {
class Carregamento;
class ComandosTexto;
class DialogosDocumento;
class EscritorFila;
} // namespace quarvel::documents

namespace quarvel::backup {

struct ContextoBackup {
    const tape::FitaModelo& fita;          // what a tick writes
    documents::CamposConfiguracao campos;  // nome_arquivo, d01 and qtdetempo
    documents::ComandosTexto& texto;       // a restore imports the backup's lines
    documents::Carregamento& carregamento; // no tick writes while a load runs
    documents::DialogosDocumento& dialogos;
    QWidget* dono;                     // owner of the message boxes and dialogs
    documents::EscritorFila& escritor; // a tick's write goes to this thread
};

class ComandosBackup {
  public:
    explicit ComandosBackup(ContextoBackup contexto);
    // Waits for a tick's write still running: it reports here.
    ~ComandosBackup();
    ComandosBackup(const ComandosBackup&) = delete;
    ComandosBackup& operator=(const ComandosBackup&) = delete;

    // backup: form_restaurar, with the timer held meanwhile.
    void restaurar();
    // d01 turned on or off by the user.
    void chave_mudou(bool ligada);
    // An interval chosen in qtdetempo.
    void intervalo_escolhido(int indice);
    // Opening a file: its switch, then its interval.
    void aplicar(const documents::Configuracao& c);
    // One tick: the tape lines handed to the writer thread for the Backup
    // folder. While a tick's write is still running (a slow disk), the next
    // tick waits for a later one.
    void tique();
    // Waits until the tick handed over is written, or failed, and its
    // outcome is taken in.
    void esperar();

    QTimer& temporizador() { return temporizador_; }

    // Told the state of the backup after every tick and switch change: the
    // text to show while ticks keep failing, empty once one goes through or
    // the switch is off.
    void ao_mudar_estado(std::function<void(const QString&)> avisar) {
        avisar_estado_ = std::move(avisar);
    }

  private:
    // Starts the timer, or warns and turns the switch off again when there is
    // no usable backup name.
    void ligar(int minutos);
    // The box shows another item: a running timer takes its interval.
    void intervalo_mostrado(int indice);
    void limpar_pasta();
    // Holds the backup name typed, or, when another window holds it, says so
    // and turns the switch off.
    void tomar_nome();
    // The path of the backup file for the name typed; empty with the reason
    // in *erro when there is none.
    QString arquivo_do_nome(QString* erro);
    // A failed tick: warns the first time, shows the state meanwhile.
    void falhou(const QString& texto);
    void funcionou();
    // On the window's thread: how the write of a tick went.
    void gravou(const QString& erro);
    void restaurar_calculo(const QString& caminho);

    ContextoBackup c_;
    QTimer temporizador_;
    bool aviso_dado_ = false; // a failing tick warns once, not once a tick
    TravaBackup trava_;       // the backup name this window writes
    std::function<void(const QString&)> avisar_estado_;
    bool gravando_ = false; // a tick's write is on the writer thread
};

} // namespace quarvel::backup
