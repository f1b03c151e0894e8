#pragma once
// The tape view `valores`: a read-only list of the tape lines with a gutter of
// line numbers and the current line painted yellow. It places the lines
// itself (GeometriaLinhas) instead of letting QListView lay out every row
// again whenever one comes or goes: a line added, removed or made current
// costs the same at 50,000 lines as at 10. It stays a QListView, so screen
// readers meet the same list and items.
#include "tape/fita_modelo.h"
#include "tape/geometria_linhas.h"

#include <QListView>
#include <QPointer>
#include <QTextOption>
#include <string>
#include <vector>

namespace quarvel::tape {

class VisaoFita : public QListView {
    Q_OBJECT
  public:
    // Shows the tape; the view keeps no hold on it once the model is gone.
    explicit VisaoFita(FitaModelo& modelo, QWidget* parent = nullptr);
    FitaModelo& modelo() const { return *modelo_; }

    // 1-based; clamped to 1..count (1 on an empty tape); scrolls it into view.
    void definir_linha_atual(int linha);
    int linha_atual() const { return atual_; }
    int contagem() const;

    // Geometry shared with the delegate that paints the lines.
    static constexpr int kFolga = 3;
    int largura_calha() const;
    int altura_linha() const; // one row of text
    // The height of a line: one row, or as many as its text wraps into.
    int altura_da_linha(int linha) const;
    const QFont& fonte_calha() const { return fonte_calha_; }
    // Whether every line is one row tall (none wraps).
    bool linhas_de_uma_altura() const { return geometria_.e_uniforme(); }
    // How a line's text is laid out in its rect (less kFolga either side).
    static QTextOption opcao_texto();

  signals:
    void linha_clicada(int linha);     // a click: the line became current
    void linha_atual_mudou(int linha); // any way the current line moved
    void linha_duplo_clique(int linha);

  public:
    // Placement of the lines, from the geometry rather than a full layout.
    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& p) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;

  protected:
    void rowsInserted(const QModelIndex& pai, int primeira, int ultima) override;
    void rowsAboutToBeRemoved(const QModelIndex& pai, int primeira, int ultima) override;
    void dataChanged(const QModelIndex& de, const QModelIndex& ate,
                     const QList<int>& papeis = QList<int>()) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* e) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction acao, Qt::KeyboardModifiers modificadores) override;
    void setSelection(const QRect& retangulo, QItemSelectionModel::SelectionFlags modo) override;
    QRegion visualRegionForSelection(const QItemSelection& selecao) const override;
    void selectionChanged(const QItemSelection& selecionados,
                          const QItemSelection& desmarcados) override;
    void currentChanged(const QModelIndex& atual, const QModelIndex& anterior) override;
    QSize viewportSizeHint() const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void repintar_linha(int linha);
    void manter_linha_valida();
    int comprimento_da_linha(int linha) const;
    void contar(int tamanho, int mais);
    void recontar();
    // Measures again; places every line again only when their heights
    // change (the font, the width while a line wraps) or `refazer`.
    void recalcular_geometria(bool refazer = false);
    int linhas_de_texto(int comprimento) const;
    int altura_pelo_comprimento(int comprimento) const;
    void depois_de_mudar(int primeira);
    int linha_no_ponto(const QPoint& p) const;

    QPointer<FitaModelo> modelo_;
    int atual_ = 1;
    QFont fonte_calha_;
    int largura_calha_ = 0;
    int altura_linha_ = 0;
    // How many lines have each length (the font is fixed pitch, so the
    // longest is the widest), and each line's length, kept as rows come and
    // go: the longest line is known without reading them all again.
    std::vector<int> por_comprimento_;
    std::vector<int> comprimentos_;
    int comprimento_maior_ = 0;
    int caracteres_por_linha_ = 1; // of the fixed-pitch font, in a row of text
    bool alguma_quebra_ = false;
    GeometriaLinhas geometria_;
    int deslocamento_pintado_ = 0; // verticalOffset() as last painted
};

} // namespace quarvel::tape
