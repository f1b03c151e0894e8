#pragma once
// The tape commands as steps of the window's undo history (QUndoStack): each
// command changes the tape through the model when pushed (redo) and knows how
// to put it back (undo). The current line follows the line that changed.
#include <QString>
#include <QUndoCommand>
#include <string>
#include <vector>

namespace quarvel::tape {

class FitaModelo;
class VisaoFita;
struct EstadoFita;

// What the steps act on.
struct AlvoDesfazer {
    FitaModelo& fita;
    EstadoFita& estado; // `alterado`, the search
    VisaoFita& visao;   // the current line
};

// The steps keep at most this many; older ones drop off. A replacement keeps
// two copies of a tape, so this bounds the history's memory too.
inline constexpr int kLimiteDesfazer = 100;

// Each step's text() names the command and its amount, for the undo and redo
// menu items (tape/mensagens.h).

// add_valor (vezes 1) and repetir_valor.
class Acrescimo : public QUndoCommand {
  public:
    Acrescimo(AlvoDesfazer alvo, std::string bruto, std::size_t vezes);
    void redo() override;
    void undo() override;

  private:
    AlvoDesfazer a_;
    std::string bruto_;
    std::size_t vezes_;
    std::size_t antes_ = 0; // entries before the add
    int linha_antes_ = 1;
};

// deletar_valor.
class Remocao : public QUndoCommand {
  public:
    Remocao(AlvoDesfazer alvo, std::size_t i);
    void redo() override;
    void undo() override;

  private:
    AlvoDesfazer a_;
    std::size_t i_;
    std::string bruto_; // the value deleted
};

// novo_valor: the value in place, and the "modified in place" mark.
class Modificacao : public QUndoCommand {
  public:
    Modificacao(AlvoDesfazer alvo, std::size_t i, std::string bruto);
    void redo() override;
    void undo() override;

  private:
    AlvoDesfazer a_;
    std::size_t i_;
    std::string novo_;
    std::string antigo_;
    bool alterado_antes_ = false;
};

// limpar_valor (`limpeza`: also clears `alterado` and the search, as the
// command does), the text import and a restore: the whole tape replaced.
// `texto` names the step; a clear is always "Limpar Tudo".
class Troca : public QUndoCommand {
  public:
    Troca(AlvoDesfazer alvo, std::vector<std::string> brutos, std::vector<std::string> linhas,
          bool limpeza, const QString& texto = {});
    void redo() override;
    void undo() override;

  private:
    AlvoDesfazer a_;
    // Each tape kept as its raw values one per line, the tape lines derived
    // again when used: a step of 50,000 values stays near half a megabyte.
    // The new tape is taken as it is on the first redo and kept only once
    // undone, so the command itself copies nothing more than the old tape.
    std::vector<std::string> brutos_novos_, linhas_novas_; // until the first redo
    std::string novos_;
    std::string antigos_;
    bool limpeza_;
    bool alterado_antes_ = false;
    int linha_antes_ = 1;
};

} // namespace quarvel::tape
