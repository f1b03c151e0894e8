#pragma once
// The tape view `valores`: a read-only list of the tape lines with a gutter of
// line numbers and the current line painted yellow. A list view over a model
// keeps it fast at 50,000 lines: nothing is done per line but painting the
// visible ones.
#include <QAbstractListModel>
#include <QListView>
#include <string>
#include <vector>

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

    void linhas_acrescentadas(int primeira, int ultima); // after Fita grew at the end
    void linha_alterada(int linha);                      // 0-based
    void linha_removida(int linha);                      // call before Fita::remover
    void fim_remocao();                                  // call after Fita::remover
    void tudo_trocado();                                 // clear, load, import

    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    const Fita& fita_;
    int contagem_ = 0; // rows announced to the views so far
    bool removendo_ = false;
};

class VisaoFita : public QListView {
    Q_OBJECT
  public:
    explicit VisaoFita(const Fita& fita, QWidget* parent = nullptr);
    ModeloFita& modelo() { return modelo_; }

    // 1-based; clamped to 1..count (1 on an empty tape); scrolls it into view.
    void definir_linha_atual(int linha);
    int linha_atual() const { return atual_; }
    int contagem() const;

    // Geometry shared with the delegate that paints the lines.
    static constexpr int kFolga = 3;
    int largura_calha() const;
    int altura_linha() const;
    const QFont& fonte_calha() const { return fonte_calha_; }

  signals:
    void linha_clicada(int linha); // a click: the line became current
    void linha_duplo_clique(int linha);

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void repintar_linha(int linha);
    void manter_linha_valida();
    void medir_linhas(int primeira, int ultima, bool desde_o_inicio = false);
    void recalcular_geometria();
    int linha_no_ponto(const QPoint& p) const;

    ModeloFita modelo_;
    const Fita& fita_;
    int atual_ = 1;
    QFont fonte_calha_;
    int largura_calha_ = 0;
    int altura_linha_ = 0;
    int maior_ = -1; // row of the longest line, which sets the row height
    int comprimento_maior_ = 0;
};

} // namespace quarvel::tape
