#pragma once
// The tape view `valores`: a read-only list of the tape lines with a gutter of
// line numbers and the current line painted yellow. A list view over a model
// keeps it fast at 50,000 lines: nothing is done per line but painting the
// visible ones.
#include <QAbstractListModel>
#include <QListView>
#include <vector>
#include <string>

namespace quarvel::tape {

class Fita;

// Shows the lines of a Fita it does not own. The owner tells it of every
// change so it can signal the view in one step.
class ModeloFita : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ModeloFita(const Fita& fita, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void linhas_acrescentadas(int primeira, int ultima);  // after Fita grew at the end
    void linha_alterada(int linha);                       // 0-based
    void linha_removida(int linha);                       // call before Fita::remover
    void fim_remocao();                                   // call after Fita::remover
    void tudo_trocado();                                  // clear, load, import

private:
    const Fita& fita_;
};

class VisaoFita : public QListView {
    Q_OBJECT
public:
    explicit VisaoFita(const Fita& fita, QWidget* parent = nullptr);
    ModeloFita& modelo() { return modelo_; }

    // 1-based; clamped to 1..count (1 on an empty tape); scrolls it into view.
    void definir_linha_atual(int linha);
    int linha_atual() const { return atual_; }

signals:
    void linha_clicada(int linha);        // a click: the line became current
    void linha_duplo_clique(int linha);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    ModeloFita modelo_;
    int atual_ = 1;
};

}  // namespace quarvel::tape
