#include "tape/visao_fita.h"

#include "calc/dinheiro.h"

#include <QAbstractItemDelegate>
#include <QAccessible>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextOption>

#include <algorithm>
#include <cstdlib>

namespace quarvel::tape {

namespace {

const QColor kCorFundo(Qt::white);
const QColor kCorTexto(Qt::black);
const QColor kCorAtual(255, 255, 0);
const QColor kCorCalha(236, 233, 216);
const QColor kCorNumero(96, 96, 96);
const QColor kCorDivisa(200, 200, 200);

// Paints one tape line: the gutter with its number, then the text, wrapped
// anywhere when it does not fit (tape lines have no blanks to break at).
class DelegadoFita : public QAbstractItemDelegate {
  public:
    explicit DelegadoFita(VisaoFita& visao) : QAbstractItemDelegate(&visao), visao_(visao) {}

    void paint(QPainter* p, const QStyleOptionViewItem& opcao,
               const QModelIndex& indice) const override {
        const QRect r = opcao.rect;
        const int calha = visao_.largura_calha();
        const int linha = indice.row() + 1;

        p->save();
        QRect areaCalha(r.left(), r.top(), calha, r.height());
        p->fillRect(areaCalha, kCorCalha);
        p->setPen(kCorDivisa);
        p->drawLine(areaCalha.topRight(), areaCalha.bottomRight());
        p->setFont(visao_.fonte_calha());
        p->setPen(kCorNumero);
        p->drawText(areaCalha.adjusted(0, 0, -VisaoFita::kFolga, 0), Qt::AlignRight | Qt::AlignTop,
                    QString::number(linha));

        QRect areaTexto(r.left() + calha + 1, r.top(), r.width() - calha - 1, r.height());
        p->fillRect(areaTexto, linha == visao_.linha_atual() ? kCorAtual : kCorFundo);
        p->setFont(visao_.font());
        p->setPen(kCorTexto);
        p->drawText(areaTexto.adjusted(VisaoFita::kFolga, 0, -VisaoFita::kFolga, 0),
                    indice.data(Qt::DisplayRole).toString(), VisaoFita::opcao_texto());
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& indice) const override {
        return QSize(visao_.viewport()->width(), visao_.altura_da_linha(indice.row()));
    }

  private:
    VisaoFita& visao_;
};

} // namespace

VisaoFita::VisaoFita(FitaModelo& modelo, QWidget* parent) : QListView(parent), modelo_(&modelo) {
    setObjectName(QStringLiteral("valores"));
    QFont f(QStringLiteral("Courier New"), 9);
    f.setStyleHint(QFont::TypeWriter);
    setFont(f);
    fonte_calha_ = QFont(QStringLiteral("Courier New"), 8);
    fonte_calha_.setStyleHint(QFont::TypeWriter);

    QPalette pal = palette();
    pal.setColor(QPalette::Base, kCorFundo);
    pal.setColor(QPalette::Text, kCorTexto);
    setPalette(pal);

    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWordWrap(true);
    setMouseTracking(false);

    setItemDelegate(new DelegadoFita(*this));
    setModel(&modelo);

    // Removals are counted in rowsAboutToBeRemoved; the view settles after.
    connect(&modelo, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex& pai, int primeira) {
                if (pai.isValid()) return;
                depois_de_mudar(primeira);
                manter_linha_valida();
            });
    connect(&modelo, &QAbstractItemModel::modelReset, this, [this] {
        recontar();
        manter_linha_valida();
    });
    // A tape that goes before the view leaves it empty. Quietly: this is
    // the window closing, and whoever listens may be going too.
    connect(&modelo, &QObject::destroyed, this, [this] {
        atual_ = 1;
        recontar();
    });
    recontar();
}

int VisaoFita::contagem() const {
    return modelo_ ? modelo_->rowCount() : 0;
}

void VisaoFita::definir_linha_atual(int linha) {
    const int n = contagem();
    const int nova = std::clamp(linha, 1, std::max(1, n));
    if (nova != atual_) {
        const int antiga = atual_;
        atual_ = nova;
        repintar_linha(antiga);
        repintar_linha(atual_);
        emit linha_atual_mudou(atual_);
    }
    if (n > 0) scrollTo(modelo_->index(atual_ - 1), QAbstractItemView::EnsureVisible);
}

int VisaoFita::largura_calha() const {
    return largura_calha_;
}

int VisaoFita::altura_linha() const {
    return altura_linha_;
}

void VisaoFita::repintar_linha(int linha) {
    if (linha < 1 || linha > contagem()) return;
    viewport()->update(visualRect(modelo_->index(linha - 1)));
}

void VisaoFita::manter_linha_valida() {
    const int n = contagem();
    const int nova = std::clamp(atual_, 1, std::max(1, n));
    if (nova != atual_) {
        atual_ = nova; // the old current line is gone: only the new one to paint
        repintar_linha(atual_);
        emit linha_atual_mudou(atual_);
    }
}

// Widths come from counting characters: the font is fixed pitch, so the
// widest line is the longest one and no text is measured per line.
int VisaoFita::comprimento_da_linha(int linha) const {
    return static_cast<int>(modelo_->linha(static_cast<std::size_t>(linha)).size());
}

void VisaoFita::contar(int tamanho, int mais) {
    const auto c = static_cast<std::size_t>(tamanho);
    if (c >= por_comprimento_.size()) por_comprimento_.resize(c + 1, 0);
    por_comprimento_[c] += mais;
    if (mais > 0) {
        comprimento_maior_ = std::max(comprimento_maior_, tamanho);
        return;
    }
    // The longest went: the next one down, at most as many steps as a line
    // has characters.
    while (comprimento_maior_ > 0 &&
           por_comprimento_[static_cast<std::size_t>(comprimento_maior_)] == 0)
        --comprimento_maior_;
}

void VisaoFita::recontar() {
    por_comprimento_.clear();
    comprimentos_.assign(static_cast<std::size_t>(contagem()), 0);
    comprimento_maior_ = 0;
    for (int i = 0; i < contagem(); ++i) {
        comprimentos_[static_cast<std::size_t>(i)] = comprimento_da_linha(i);
        contar(comprimento_da_linha(i), 1);
    }
    recalcular_geometria(true);
    updateGeometries();
}

QTextOption VisaoFita::opcao_texto() {
    // Anywhere, and only when the row is full: at a word boundary ("1." of
    // "1.234.567") a row would hold fewer characters than it has room for,
    // and the rows counted for the line would not show all of them.
    QTextOption o(Qt::AlignLeft | Qt::AlignTop);
    o.setWrapMode(QTextOption::WrapAnywhere);
    return o;
}

int VisaoFita::linhas_de_texto(int comprimento) const {
    return std::max(1, (comprimento + caracteres_por_linha_ - 1) / caracteres_por_linha_);
}

int VisaoFita::altura_pelo_comprimento(int comprimento) const {
    return (altura_linha_ - 1) * linhas_de_texto(comprimento) + 1;
}

int VisaoFita::altura_da_linha(int linha) const {
    if (linha < 0 || linha >= geometria_.contagem()) return altura_linha_;
    return geometria_.altura(linha);
}

void VisaoFita::recalcular_geometria(bool refazer) {
    const QFontMetrics mc(fonte_calha_);
    const int digitos = std::max(2, static_cast<int>(QString::number(contagem()).size()));
    const int calha = mc.horizontalAdvance(QString(digitos, QLatin1Char('0'))) + 2 * kFolga;

    const QFontMetrics mt(font());
    const int largura = std::max(1, viewport()->width() - calha - 1 - 2 * kFolga);
    const int altura = std::max(mt.lineSpacing(), mc.height()) + 1;
    // The pitch as laid out, fractions and all: whole characters per row.
    const qreal caractere = QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0'));
    const int por_linha = std::max(1, static_cast<int>(largura / std::max(caractere, 1.0)));
    const bool quebra = std::max(1, (comprimento_maior_ + por_linha - 1) / por_linha) > 1;

    // While no line wraps every line is one row; the heights change only
    // with the row, or with the width while some line wraps.
    const bool alturas_mudaram = refazer || altura != altura_linha_ || quebra != alguma_quebra_ ||
                                 (quebra && por_linha != caracteres_por_linha_);
    const bool calha_mudou = calha != largura_calha_;
    largura_calha_ = calha;
    altura_linha_ = altura;
    caracteres_por_linha_ = por_linha;
    alguma_quebra_ = quebra;
    if (alturas_mudaram) {
        if (!quebra) {
            geometria_.uniforme(static_cast<int>(comprimentos_.size()), altura_linha_);
        } else {
            std::vector<int> alturas(comprimentos_.size());
            for (std::size_t i = 0; i < alturas.size(); ++i)
                alturas[i] = altura_pelo_comprimento(comprimentos_[i]);
            geometria_.medidas(alturas);
        }
    }
    if (alturas_mudaram || calha_mudou) {
        deslocamento_pintado_ = verticalOffset();
        viewport()->update();
    }
}

// After lines came or went from `primeira` on: the scroll range, and the
// lines from there down painted again.
void VisaoFita::depois_de_mudar(int primeira) {
    recalcular_geometria();
    updateGeometries();
    // Lines above the change kept their place; from it down all is painted.
    deslocamento_pintado_ = verticalOffset();
    const int topo = geometria_.topo(primeira) - verticalOffset();
    if (topo < viewport()->height())
        viewport()->update(QRect(0, std::max(0, topo), viewport()->width(), viewport()->height()));
}

void VisaoFita::rowsInserted(const QModelIndex& pai, int primeira, int ultima) {
    // Not QListView's: it would lay out every row again.
    QAbstractItemView::rowsInserted(pai, primeira, ultima);
    if (pai.isValid()) return;
    const auto inicio = comprimentos_.begin() + primeira;
    comprimentos_.insert(inicio, static_cast<std::size_t>(ultima - primeira + 1), 0);
    for (int i = primeira; i <= ultima; ++i) {
        int& c = comprimentos_[static_cast<std::size_t>(i)];
        c = comprimento_da_linha(i);
        contar(c, 1);
    }
    // Runs of lines of one height (a repeat is one) go into the geometry at once.
    auto altura = [this](int i) {
        return altura_pelo_comprimento(comprimentos_[static_cast<std::size_t>(i)]);
    };
    for (int i = primeira; i <= ultima;) {
        int fim = i + 1;
        while (fim <= ultima && altura(fim) == altura(i))
            ++fim;
        geometria_.inserir(i, fim - i, altura(i));
        i = fim;
    }
    depois_de_mudar(primeira);
}

void VisaoFita::rowsAboutToBeRemoved(const QModelIndex& pai, int primeira, int ultima) {
    QAbstractItemView::rowsAboutToBeRemoved(pai, primeira, ultima);
    if (pai.isValid()) return;
    for (int i = primeira; i <= ultima; ++i)
        contar(comprimentos_[static_cast<std::size_t>(i)], -1);
    comprimentos_.erase(comprimentos_.begin() + primeira, comprimentos_.begin() + ultima + 1);
    geometria_.remover(primeira, ultima - primeira + 1);
}

void VisaoFita::dataChanged(const QModelIndex& de, const QModelIndex& ate,
                            const QList<int>& papeis) {
    QAbstractItemView::dataChanged(de, ate, papeis);
    if (!de.isValid() || de.parent().isValid()) return;
    for (int i = de.row(); i <= ate.row(); ++i) {
        int& c = comprimentos_[static_cast<std::size_t>(i)];
        contar(c, -1);
        c = comprimento_da_linha(i);
        contar(c, 1);
        geometria_.alterar(i, altura_pelo_comprimento(c));
    }
    depois_de_mudar(de.row());
}

void VisaoFita::doItemsLayout() {
    // The lines are placed already; what is left is the scroll range.
    QAbstractItemView::doItemsLayout();
}

void VisaoFita::updateGeometries() {
    QScrollBar* barra = verticalScrollBar();
    const int vista = viewport()->height();
    // One step per line, as the list always scrolled: the top line is whole.
    barra->setRange(0, geometria_.primeira_maxima(vista));
    barra->setSingleStep(1);
    barra->setPageStep(std::max(1, vista / std::max(1, altura_linha_)));
    QAbstractItemView::updateGeometries();
}

int VisaoFita::horizontalOffset() const {
    return 0;
}

int VisaoFita::verticalOffset() const {
    return geometria_.topo(verticalScrollBar()->value());
}

void VisaoFita::scrollContentsBy(int, int) {
    // The bar counts lines, not pixels: what is still in view moves by the
    // lines' heights and only the lines coming into view are painted.
    const int deslocamento = verticalOffset();
    const int passo = deslocamento_pintado_ - deslocamento;
    if (std::abs(passo) < viewport()->height())
        viewport()->scroll(0, passo);
    else
        viewport()->update();
}

QRect VisaoFita::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model() || index.parent().isValid() ||
        index.row() >= geometria_.contagem())
        return {};
    return {0, geometria_.topo(index.row()) - verticalOffset(), viewport()->width(),
            geometria_.altura(index.row())};
}

QModelIndex VisaoFita::indexAt(const QPoint& p) const {
    if (!model() || p.x() < 0 || p.x() >= viewport()->width()) return {};
    const int linha = geometria_.linha_em(p.y() + verticalOffset());
    return linha < 0 ? QModelIndex() : model()->index(linha, 0, rootIndex());
}

void VisaoFita::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid() || index.row() >= geometria_.contagem()) return;
    const int linha = index.row();
    const int vista = viewport()->height();
    QScrollBar* barra = verticalScrollBar();
    int primeira = barra->value();
    switch (hint) {
    case PositionAtTop:
        primeira = linha;
        break;
    case PositionAtBottom:
        primeira = geometria_.primeira_com_base_em(linha, vista);
        break;
    case PositionAtCenter:
        primeira = geometria_.primeira_com_base_em(linha, (vista + geometria_.altura(linha)) / 2);
        break;
    case EnsureVisible:
        primeira = linha < primeira
                       ? linha
                       : std::max(primeira, geometria_.primeira_com_base_em(linha, vista));
        break;
    }
    barra->setValue(primeira);
}

QModelIndex VisaoFita::moveCursor(CursorAction acao, Qt::KeyboardModifiers) {
    const int n = geometria_.contagem();
    if (!model() || n == 0) return {};
    const int atual = currentIndex().isValid() ? currentIndex().row() : -1;
    const int pagina = verticalScrollBar()->pageStep();
    int linha = atual;
    switch (acao) {
    case MoveUp:
    case MovePrevious:
        linha = atual - 1;
        break;
    case MoveDown:
    case MoveNext:
        linha = atual + 1;
        break;
    case MovePageUp:
        linha = atual - pagina;
        break;
    case MovePageDown:
        linha = atual + pagina;
        break;
    case MoveHome:
        linha = 0;
        break;
    case MoveEnd:
        linha = n - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return model()->index(std::clamp(linha, 0, n - 1), 0, rootIndex());
}

void VisaoFita::setSelection(const QRect& retangulo, QItemSelectionModel::SelectionFlags modo) {
    if (!selectionModel() || geometria_.contagem() == 0) return;
    const QRect r = retangulo.normalized();
    int de = geometria_.linha_em(std::max(0, r.top() + verticalOffset()));
    int ate = geometria_.linha_em(r.bottom() + verticalOffset());
    if (de < 0) return;
    if (ate < 0) ate = geometria_.contagem() - 1;
    selectionModel()->select(
        QItemSelection(model()->index(de, 0, rootIndex()), model()->index(ate, 0, rootIndex())),
        modo);
}

QRegion VisaoFita::visualRegionForSelection(const QItemSelection& selecao) const {
    QRegion regiao;
    for (const QItemSelectionRange& faixa : selecao) {
        const QRect de = visualRect(faixa.topLeft());
        const QRect ate = visualRect(faixa.bottomRight());
        regiao += QRect(de.topLeft(), ate.bottomRight()).intersected(viewport()->rect());
    }
    return regiao;
}

void VisaoFita::selectionChanged(const QItemSelection& selecionados,
                                 const QItemSelection& desmarcados) {
    // Not QListView's: it looks the items up in the layout it no longer keeps.
    QAbstractItemView::selectionChanged(selecionados, desmarcados);
}

void VisaoFita::currentChanged(const QModelIndex& atual, const QModelIndex& anterior) {
    // What QListView would tell a screen reader, with the row as the child.
    if (QAccessible::isActive() && atual.isValid() && hasFocus()) {
        QAccessibleEvent evento(this, QAccessible::Focus);
        evento.setChild(atual.row());
        QAccessible::updateAccessibility(&evento);
    }
    QAbstractItemView::currentChanged(atual, anterior);
}

QSize VisaoFita::viewportSizeHint() const {
    return {viewport()->width(), geometria_.total()};
}

void VisaoFita::paintEvent(QPaintEvent* e) {
    if (!model()) return;
    QPainter p(viewport());
    QStyleOptionViewItem opcao;
    initViewItemOption(&opcao);
    const int deslocamento = verticalOffset();
    const int largura = viewport()->width();
    // Rect by rect: a scroll leaves a strip at one edge and the old current
    // line dirty at the other, and their bounding rect is the whole view.
    int pintada = -1; // the rects come top to bottom; no line twice
    for (const QRect& zona : e->region()) {
        int linha = geometria_.linha_em(std::max(0, zona.top() + deslocamento));
        if (linha < 0) continue; // below the last line: the viewport's own background
        linha = std::max(linha, pintada + 1);
        const int ultima_y = zona.bottom() + deslocamento;
        for (; linha < geometria_.contagem() && geometria_.topo(linha) <= ultima_y; ++linha) {
            opcao.rect =
                QRect(0, geometria_.topo(linha) - deslocamento, largura, geometria_.altura(linha));
            itemDelegate()->paint(&p, opcao, model()->index(linha, 0, rootIndex()));
            pintada = linha;
        }
    }
}

void VisaoFita::resizeEvent(QResizeEvent* e) {
    // Not QListView's, which would schedule a full layout.
    QAbstractItemView::resizeEvent(e);
    recalcular_geometria();
    updateGeometries();
}

int VisaoFita::linha_no_ponto(const QPoint& p) const {
    const QModelIndex i = indexAt(p);
    if (i.isValid()) return i.row() + 1;
    // Below the last line, as in a text editor, the click lands on the last.
    return contagem() > 0 ? contagem() : 0;
}

void VisaoFita::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        e->accept();
        return;
    }
    const int l = linha_no_ponto(e->position().toPoint());
    if (l > 0) definir_linha_atual(l);
    emit linha_clicada(atual_);
    e->accept();
}

void VisaoFita::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() != Qt::LeftButton || contagem() == 0) return;
    const int l = linha_no_ponto(e->position().toPoint());
    if (l > 0) definir_linha_atual(l);
    emit linha_duplo_clique(atual_);
}

void VisaoFita::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
}

void VisaoFita::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
}

} // namespace quarvel::tape
