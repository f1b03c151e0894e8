#pragma once
// The tape view `valores`: a read-only list of the tape lines with a gutter of
// line numbers and the current line painted yellow. A list view over a model
// keeps it fast at 50,000 lines: nothing is done per line but painting the
// visible ones.
#include "tape/alteracao.h"
#include "tape/fita.h"

#include <QAbstractListModel>
#include <QListView>
#include <QPointer>
#include <QTextOption>
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

    // The list view asks for every row's index each time it lays the rows
    // out: straight from the tape, with no calls through the base class.
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
    // How a line's text is laid out in its rect (less kFolga either side).
    static QTextOption opcao_texto();

  signals:
    void linha_clicada(int linha);     // a click: the line became current
    void linha_atual_mudou(int linha); // any way the current line moved
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
    int comprimento_da_linha(int linha) const;
    void contar(int tamanho, int mais);
    void recontar();
    void recalcular_geometria();
    int linhas_de_texto(int comprimento) const;
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
};

} // namespace quarvel::tape
