#pragma once
// The tape the window holds, as a Qt list model: the views and the undo
// steps act on it, never on the Fita beneath.
#include "tape/alteracao.h"
#include "tape/fita.h"

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace quarvel::tape {

// The tape the window holds: the Fita and its list model in one. Every change
// goes through here, tells the views itself (one signal per change) and then
// emits `alterada`, so no caller announces anything.
class FitaModelo : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit FitaModelo(QObject* parent = nullptr);

    const Fita& fita() const { return fita_; }
    std::size_t tamanho() const { return fita_.tamanho(); }
    bool vazia() const { return fita_.vazia(); }
    bool cabe(std::size_t mais) const { return fita_.cabe(mais); }
    const std::vector<std::string>& brutos() const { return fita_.brutos(); }
    const std::vector<std::string>& linhas() const { return fita_.linhas(); }
    const std::string& linha(std::size_t i) const { return fita_.linha(i); }

    // As on Fita; a refused change (full tape, a raw value that does not read,
    // a position off the tape) throws before any view hears of it.
    void acrescentar(const std::string& bruto) { acrescentar_varios(bruto, 1); }
    void acrescentar_varios(const std::string& bruto, std::size_t vezes);
    void substituir(std::size_t i, const std::string& bruto);
    void remover(std::size_t i);
    void inserir(std::size_t i, const std::string& bruto);
    void cortar(std::size_t n);
    void limpar();
    void trocar(std::vector<std::string> brutos, std::vector<std::string> linhas);

    // Straight from the tape, with no calls through the base class: views and
    // screen readers ask for indexes often.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    // After every change of the tape: what changed, then that it did.
    void alterou(const quarvel::tape::Alteracao& alteracao);
    void alterada();

  private:
    void avisar(Alteracao alteracao);

    Fita fita_;
};

} // namespace quarvel::tape
