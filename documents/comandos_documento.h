#pragma once
// The document commands of the main window: novo, abrir, salvar_padrao and
// salvar_como, the unsaved-changes question that New, Open and closing ask,
// the opening of a file named on the command line, and the recovery file
// written after a program error.
#include "documents/campos_configuracao.h"

#include <QString>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QLineEdit;
class QUndoStack;
class QWidget;

namespace quarvel::tape {
class ComandosFita;
class FitaModelo;
class VisaoFita;
struct EstadoFita;
} // namespace quarvel::tape

namespace quarvel::documents {

class Carregamento;
class DialogosDocumento;

struct ContextoDocumento {
    tape::FitaModelo& fita;
    // New clears the tape with the tape's own command, limpar_valor.
    tape::ComandosFita& comandos_fita;
    tape::EstadoFita& estado_fita; // a value modified in place; the search
    QLineEdit& entrada;            // texto_valor
    tape::VisaoFita& visao;        // the current line
    CamposConfiguracao campos;
    // Opening or recovering applies the file's backup switch, then its
    // interval.
    std::function<void(const Configuracao&)> aplicar_backup;
    // The Backup folder in use, made when missing; empty with the warning in
    // *erro when none can be made. A program error's recovery file goes there.
    std::function<QString(QString* erro)> pasta_backup;
    Carregamento& carregamento;
    DialogosDocumento& dialogos;
    QWidget* dono; // owner of the message boxes and dialogs
    // Called whenever the document's file changes (the window's title).
    std::function<void()> arquivo_mudou;
    QUndoStack& historico; // New, Open and a recovery start a new one
};

class ComandosDocumento {
  public:
    explicit ComandosDocumento(ContextoDocumento contexto) : c_(std::move(contexto)) {}

    void novo();
    void abrir();
    void salvar_padrao();
    void salvar_como();

    // Asks to save when there are changes. False: the command that asked
    // must stop (Cancelar, or a save that was cancelled or failed).
    bool confirmar_alteracoes();
    // The file named on the command line, when it exists.
    void abrir_inicial(const QString& argumento);
    // A session brought back after an unclean end: its tape and settings,
    // and the file it had, counted as changed, so closing asks to save them.
    void recuperar(Documento sessao, const std::string& arquivo);

    // The file of the document, empty for one never saved.
    const QString& arquivo_atual() const { return arquivo_atual_; }
    // Its name as titles and questions show it: without its folder, or
    // kNomeNovo.
    QString nome() const;
    // The whole document as a calculation file would hold it.
    std::string bytes_documento() const;
    // After a program error: the document in the Backup folder; the path, or
    // empty after the warning when even that failed.
    QString salvar_recuperacao() const;

  private:
    bool alterado() const;
    bool salvar();
    bool pedir_nome_e_salvar();
    bool gravar(const QString& caminho);
    void marcar_salvo();
    // New without the question: the document as the program starts.
    void esvaziar();
    bool carregar(const QString& caminho);
    // A backup's tape lines as a new, unsaved calculation.
    bool carregar_backup(const QString& caminho);

    ContextoDocumento c_;
    QString arquivo_atual_;
    std::vector<std::string> brutos_salvos_; // the raw values last opened or saved
};

} // namespace quarvel::documents
