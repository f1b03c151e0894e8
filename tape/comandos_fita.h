#pragma once
// The tape commands of the main window: add_valor, deletar_valor, novo_valor,
// repetir_valor, limpar_valor, buscar, buscar_prox, armazenar_memoria,
// valor_memoria and transf, with their enabling rules. They reach the tape,
// the entry field, the tape view's current line and the dialogs port, and
// nothing else of the window.
#include "tape/busca.h"

#include <QString>
#include <optional>
#include <string>

class QLineEdit;
class QUndoStack;
class QWidget;

namespace quarvel::tape {

class DialogosFita;
class FitaModelo;
struct AlvoDesfazer;
class VisaoFita;

// The tape state the window keeps beside the tape itself.
struct EstadoFita {
    // A value was modified in place since the document was started, opened or
    // saved; the line count alone cannot tell.
    bool alterado = false;
    Busca busca;           // valor_busca, posicao_busca
    QString texto_memoria; // a tape line as shown
};

struct ContextoFita {
    FitaModelo& fita;
    EstadoFita& estado;
    QLineEdit& entrada; // texto_valor
    VisaoFita& visao;   // the current line
    DialogosFita& dialogos;
    QWidget* dono;         // owner of the message boxes and dialogs
    QUndoStack& historico; // the tape commands are pushed here, to be undone
};

class ComandosFita {
  public:
    explicit ComandosFita(ContextoFita contexto) : c_(contexto) {}

    void add_valor();
    void deletar_valor();
    void novo_valor();
    void repetir_valor();
    void limpar_valor();
    void buscar();
    void buscar_prox();
    void armazenar_memoria();
    void valor_memoria();
    void transf();

    // Enabling rules.
    bool tem_linhas() const;  // limpar_valor, novo_valor, deletar_valor, buscar, transf, ...
    bool tem_entrada() const; // repetir_valor
    bool busca_ativa() const; // buscar_prox
    bool tem_memoria() const; // valor_memoria

  private:
    AlvoDesfazer alvo() const; // what the undo steps act on
    // converter_entrada of a text; nothing, after the message, when the
    // expression is malformed.
    std::optional<std::string> converter(const QString& texto);
    int linha_atual() const;

    ContextoFita c_;
};

} // namespace quarvel::tape
