#pragma once
// The main window's commands as typed members, built from one table: a
// misspelt command does not compile. Each action's objectName is the
// command's name ("add_valor", "novo", ...), as the tests find them.
#include <QKeySequence>
#include <QSet>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

class QAction;
class QLineEdit;
class QMenu;
class QMainWindow;
class QUndoStack;
class QWidget;

namespace quarvel::app {

struct Acoes {
    // Arquivo
    QAction* novo = nullptr;
    QAction* abrir = nullptr;
    QAction* salvar_padrao = nullptr;
    QAction* salvar_como = nullptr;
    QAction* sair = nullptr;
    // Edições
    QAction* desfazer = nullptr; // the tape's own undo and redo
    QAction* refazer = nullptr;
    QAction* limpar_valor = nullptr;
    QAction* add_valor = nullptr;
    QAction* novo_valor = nullptr;
    QAction* deletar_valor = nullptr;
    QAction* repetir_valor = nullptr;
    QAction* transf = nullptr;
    QAction* ler_extenso = nullptr; // a screen reader speaks the total in words
    QAction* abrir_txt = nullptr;
    QAction* save_txt = nullptr;
    QAction* armazenar_memoria = nullptr;
    QAction* valor_memoria = nullptr;
    QAction* backup = nullptr;
    // Localização
    QAction* buscar = nullptr;
    QAction* buscar_prox = nullptr;
    // Imprimir
    QAction* visualizar = nullptr;
    QAction* imprimir = nullptr;
    // Ajuda
    QAction* ajuda = nullptr;
    QAction* sobre = nullptr;
};

using MembroAcao = QAction* Acoes::*;

// One line of the command table.
struct Comando {
    MembroAcao membro;
    const char* nome;   // the member's name, through QUARVEL_COMANDO
    const char* texto;  // the main menu's caption
    const char* atalho; // portable shortcut text ("Ctrl+N"), or nullptr
    std::function<void()> executar;
    std::function<bool()> regra; // enabling rule; none: always enabled
};

// The member and its name from one word, so the two never differ.
#define QUARVEL_COMANDO(membro) &::quarvel::app::Acoes::membro, #membro

// The window's actions and their enabling rules. A rule is evaluated again
// when its command is invoked; a disabled command does nothing, also
// through its shortcut.
class RoteadorAcoes {
  public:
    // Creates one action per line on `janela`, whose shortcuts act while it
    // is active whatever control has the focus.
    RoteadorAcoes(QMainWindow* janela, std::initializer_list<Comando> tabela);

    const Acoes& acoes() const { return acoes_; }
    void atualizar(); // every rule, as when the event loop goes idle
    const QSet<QKeySequence>& atalhos() const { return atalhos_; }

  private:
    Acoes acoes_;
    std::vector<std::pair<QAction*, std::function<bool()>>> regras_;
    QSet<QKeySequence> atalhos_;
};

// The undo and redo actions follow `historico`: each is enabled while the
// history has a step that way, and its caption names the step ("Desfazer na
// Fita: Adicionar 600,00"), or is the bare command when there is none.
void ligar_historico(QAction* desfazer, QAction* refazer, QUndoStack& historico);

// The main menu MENU, the tool bar BarraFerramentas and the tape's pop-up
// menu `pop`, from their tables.
void montar_menu_principal(QMainWindow* janela, const Acoes& a);
void montar_barra_ferramentas(QMainWindow* janela, const Acoes& a, int altura);
QMenu* montar_pop(QWidget* dono, const Acoes& a);
// mnu1 (print texts and backup name) and mnu2 (the entry field, with the
// memory recall `memoria`): the field's own editing commands, each enabled
// only when it can act there.
void instalar_menu_edicao(QLineEdit* campo, QAction* memoria = nullptr);

} // namespace quarvel::app
