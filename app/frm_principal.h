#pragma once
// form_principal: the one main window. It owns the state (the tape and its
// controls) and routes its QActions to the subsystems' commands, each in its
// own folder: the tape's (tape::ComandosFita), the documents' (documents::
// ComandosDocumento, ComandosTexto), the backup's (backup::ComandosBackup)
// and printing's (printing::ComandosImpressao). Enabling rules are evaluated whenever the
// event loop becomes idle.
#include "app/acoes.h"
#include "app/dialogos.h"
#include "tape/comandos_fita.h"
#include "tape/visao_fita.h"

#include <QMainWindow>
#include <QTimer>
#include <QUndoStack>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace quarvel::tape {
class CampoValor;
class Teclado;
} // namespace quarvel::tape

namespace quarvel::documents {
class Carregamento;
class ComandosDocumento;
class ComandosTexto;
class DiarioSessao;
class EscritorFila;
} // namespace quarvel::documents

namespace quarvel::backup {
class ComandosBackup;
}

namespace quarvel::printing {
class ComandosImpressao;
}

namespace quarvel::app {

class Locutor;

class FormPrincipal : public QMainWindow {
    Q_OBJECT
  public:
    FormPrincipal(std::unique_ptr<Dialogos> dialogos, QString arquivo_inicial = {},
                  QWidget* parent = nullptr);
    ~FormPrincipal() override;

    const Acoes& acoes() const { return roteador_->acoes(); }
    // Evaluates every enabling rule (also done whenever the loop is idle).
    void atualizar_acoes() { roteador_->atualizar(); }

    // After a program error: the tape and its settings as a calculation file
    // in the Backup folder; the path, or empty when even that failed.
    QString salvar_recuperacao() const;

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    // Construction (frm_principal_layout.cpp).
    void criar_acoes();
    void criar_controles();
    void criar_comandos();
    void criar_barra_estado();
    void escrever_relogio();

    // Shown again after every change of the tape.
    // The total display's size; smaller only for figures that would not fit.
    static constexpr int kPontosTotal = 14;
    void atualizar_total();
    void definir_linha_atual(int linha);
    void definir_titulo();
    void ajudaExecute();
    // After the splash: a tape left by a window that did not close normally
    // is offered back, then the file named on the command line opens.
    void iniciar_sessao();

    std::unique_ptr<Dialogos> dialogos_;
    QString arquivo_inicial_;
    bool primeira_exibicao_ = true;

    // The tape and its state; the tape commands act on both.
    tape::FitaModelo fita_;
    tape::EstadoFita estado_fita_;
    QUndoStack historico_; // the tape commands, to be undone and redone

    // Controls.
    tape::VisaoFita* valores_ = nullptr;
    tape::CampoValor* texto_valor_ = nullptr;
    tape::Teclado* teclado_ = nullptr;
    QLabel* valor_final_ = nullptr;
    QLabel* valor_leitor_ = nullptr;
    QLineEdit* cabecalho_ = nullptr;
    QLineEdit* rodape_ = nullptr;
    QLineEdit* nome_arquivo_ = nullptr;
    QCheckBox* d01_ = nullptr;
    QComboBox* qtdetempo_ = nullptr;
    QLabel* relogio_ = nullptr;
    QLabel* estado_backup_ = nullptr; // shown while the backup ticks fail
    QLabel* estado_diario_ = nullptr; // shown while the journal fails or lags
    QTimer tempo_;

    // The disk writes of the journal and the backup, off the window's thread;
    // first made, last gone.
    std::unique_ptr<documents::EscritorFila> escritor_;
    // The subsystems' commands.
    std::unique_ptr<tape::ComandosFita> comandos_fita_;
    std::unique_ptr<documents::Carregamento> carregamento_;
    std::unique_ptr<documents::ComandosTexto> comandos_texto_;
    std::unique_ptr<backup::ComandosBackup> comandos_backup_;
    std::unique_ptr<documents::ComandosDocumento> comandos_documento_;
    std::unique_ptr<printing::ComandosImpressao> comandos_impressao_;
    std::unique_ptr<documents::DiarioSessao> diario_;

    std::unique_ptr<RoteadorAcoes> roteador_;
    Locutor* locutor_ = nullptr;
};

} // namespace quarvel::app
