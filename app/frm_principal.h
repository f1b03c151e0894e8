#pragma once
// form_principal: the one main window. It owns the state (the tape, the
// document and backup state, the print document) and routes its QActions to
// the subsystems' commands; enabling rules are evaluated whenever the event
// loop becomes idle.
#include "app/acoes.h"
#include "app/dialogos.h"
#include "app/mensagens.h"
#include "printing/documento_impressao.h"
#include "tape/comandos_fita.h"
#include "tape/visao_fita.h"

#include <QByteArray>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace quarvel::tape {
class CampoValor;
class Teclado;
} // namespace quarvel::tape

namespace quarvel::documents {
struct Configuracao;
class FormLoading;
} // namespace quarvel::documents

namespace quarvel::app {

class FormPrincipal : public QMainWindow {
    Q_OBJECT
  public:
    FormPrincipal(std::unique_ptr<Dialogos> dialogos, QString arquivo_inicial = {},
                  QWidget* parent = nullptr);
    ~FormPrincipal() override;

    const Acoes& acoes() const { return roteador_->acoes(); }
    // Evaluates every enabling rule (also done whenever the loop is idle).
    void atualizar_acoes() { roteador_->atualizar(); }

    // State for the unsaved-changes question and for tests.
    const tape::Fita& fita() const { return fita_.fita(); }
    int linha_atual() const;
    bool alterado() const { return estado_fita_.alterado; }
    const QString& arquivo_atual() const { return arquivo_atual_; }
    const QString& texto_memoria() const { return estado_fita_.texto_memoria; }
    calc::Estendido valor_busca() const { return estado_fita_.busca.valor; }
    int posicao_busca() const { return estado_fita_.busca.posicao; }
    bool carregando() const { return carregando_; }
    QTimer& temporizador_backup() { return bakup_; }

    // Runs one backup tick now (the timer calls it).
    void bakupTimer();
    // The whole document as a calculation file would hold it.
    std::string bytes_documento() const;
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
    void criar_barra_estado();
    void escrever_relogio();

    // Shown again after every change of the tape.
    void atualizar_total();
    void definir_linha_atual(int linha);

    // Document commands (comandos_documento.cpp).
    void novoExecute();
    void abrirExecute();
    void salvar_padraoExecute();
    void salvar_comoExecute();
    bool salvar();
    bool salvar_como();
    bool gravar_documento(const QString& caminho);
    bool confirmar_alteracoes(); // false: the command that asked must stop
    bool documento_alterado() const;
    bool carregar_documento(const QString& caminho);
    // Reads a whole file, or warns that it could not be opened.
    std::optional<QByteArray> ler_ou_avisar(const QString& caminho);
    // Runs a long load behind the loading window, with the other windows
    // disabled and no backup tick writing meanwhile.
    void com_janela_de_espera(const std::function<void(documents::FormLoading&)>& carga);
    void abrir_inicial(const QString& argumento);
    void definir_titulo();
    void aplicar_configuracao(const documents::Configuracao& c);
    void marcar_salvo();

    // Text files and backup (comandos_arquivos.cpp).
    void abrir_txtExecute();
    void save_txtExecute();
    // so_arquivo_comum: a backup, read only as a regular file, never through a link.
    bool importar_linhas(const QString& caminho, bool so_arquivo_comum = false);
    void backupExecute();
    void d01Click(bool ligado);
    // Starts the backup timer, or warns and turns the switch off again when
    // there is no usable backup name.
    void ligar_backup(int minutos);
    void qtdetempoChange(int indice);
    void limpar_pasta();

    // Printing and help (comandos_impressao.cpp).
    void imprimirExecute();
    void visualizarExecute();
    void preparar_impressao(const QString& titulo);
    void ajudaExecute();
    void sobreExecute();

    std::unique_ptr<Dialogos> dialogos_;
    QString arquivo_inicial_;
    bool primeira_exibicao_ = true;

    // The tape and its state; the tape commands act on both.
    tape::FitaModelo fita_;
    tape::EstadoFita estado_fita_;
    std::unique_ptr<tape::ComandosFita> comandos_fita_;
    // The document commands reach these two by their old names.
    bool& alterado_ = estado_fita_.alterado;
    calc::Estendido& valor_busca_ = estado_fita_.busca.valor;

    // The document.
    std::size_t linhas_salvas_ = 0;
    std::vector<std::string> brutos_salvos_; // the raw values last opened or saved
    QString arquivo_atual_;
    bool carregando_ = false; // a load, import or restore is running
    bool aviso_backup_dado_ = false;

    printing::DocumentoImpressao documento_impressao_;

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

    QTimer tempo_;
    QTimer bakup_;

    std::unique_ptr<RoteadorAcoes> roteador_;
};

} // namespace quarvel::app
