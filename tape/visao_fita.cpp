#include "tape/visao_fita.h"

#include "calc/dinheiro.h"

#include <QAbstractItemDelegate>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextOption>

#include <algorithm>
#include <stdexcept>

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

// ---------------------------------------------------------------------------

FitaModelo::FitaModelo(QObject* parent) : QAbstractListModel(parent) {}

QModelIndex FitaModelo::index(int row, int column, const QModelIndex& parent) const {
    const bool dentro = row >= 0 && column == 0 && !parent.isValid() &&
                        static_cast<std::size_t>(row) < fita_.tamanho();
    return dentro ? createIndex(row, 0) : QModelIndex();
}

int FitaModelo::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fita_.tamanho());
}

QVariant FitaModelo::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    const auto linha = static_cast<std::size_t>(index.row());
    if (index.row() < 0 || linha >= fita_.tamanho()) return {};
    return QString::fromStdString(fita_.linha(linha));
}

Qt::ItemFlags FitaModelo::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void FitaModelo::acrescentar_varios(const std::string& bruto, std::size_t vezes) {
    // The refusals come before the views are told rows are coming.
    if (!fita_.cabe(vezes)) throw std::length_error(kMensagemMaximo);
    calc::linha_fita(bruto);
    if (vezes == 0) return;
    const int primeira = rowCount();
    beginInsertRows({}, primeira, primeira + static_cast<int>(vezes) - 1);
    fita_.acrescentar_varios(bruto, vezes);
    endInsertRows();
    avisar({Alteracao::Tipo::Acrescentar, 0, vezes, bruto});
}

void FitaModelo::substituir(std::size_t i, const std::string& bruto) {
    fita_.substituir(i, bruto);
    const QModelIndex indice = index(static_cast<int>(i));
    emit dataChanged(indice, indice, {Qt::DisplayRole});
    avisar({Alteracao::Tipo::Substituir, i, 1, bruto});
}

void FitaModelo::remover(std::size_t i) {
    if (i >= fita_.tamanho()) throw std::out_of_range(kForaDaFita);
    beginRemoveRows({}, static_cast<int>(i), static_cast<int>(i));
    fita_.remover(i);
    endRemoveRows();
    avisar({Alteracao::Tipo::Remover, i, 1, {}});
}

void FitaModelo::inserir(std::size_t i, const std::string& bruto) {
    if (!fita_.cabe(1)) throw std::length_error(kMensagemMaximo);
    if (i > fita_.tamanho()) throw std::out_of_range(kForaDaFita);
    calc::linha_fita(bruto); // throws before any view hears of it
    beginInsertRows({}, static_cast<int>(i), static_cast<int>(i));
    fita_.inserir(i, bruto);
    endInsertRows();
    avisar({Alteracao::Tipo::Inserir, i, 1, bruto});
}

void FitaModelo::cortar(std::size_t n) {
    if (n > fita_.tamanho()) throw std::out_of_range(kForaDaFita);
    if (n == fita_.tamanho()) return;
    beginRemoveRows({}, static_cast<int>(n), rowCount() - 1);
    fita_.cortar(n);
    endRemoveRows();
    avisar({Alteracao::Tipo::Cortar, n, 1, {}});
}

void FitaModelo::limpar() {
    beginResetModel();
    fita_.limpar();
    endResetModel();
    avisar({});
}

void FitaModelo::avisar(Alteracao alteracao) {
    emit alterou(alteracao);
    emit alterada();
}

void FitaModelo::trocar(std::vector<std::string> brutos, std::vector<std::string> linhas) {
    beginResetModel();
    try {
        fita_.trocar(std::move(brutos), std::move(linhas));
    } catch (...) {
        endResetModel(); // the tape is as it was; the views read it again
        throw;
    }
    endResetModel();
    avisar({});
}

// ---------------------------------------------------------------------------

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
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setUniformItemSizes(true);
    // With uniform sizes the layout is a loop over row offsets, no item is
    // measured; one pass keeps scrollTo exact right after an append.
    setLayoutMode(QListView::SinglePass);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWordWrap(true);
    setMouseTracking(false);

    setItemDelegate(new DelegadoFita(*this));
    setModel(&modelo);

    connect(&modelo, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int primeira, int ultima) {
                const auto n = static_cast<std::size_t>(ultima - primeira + 1);
                comprimentos_.insert(comprimentos_.begin() + primeira, n, 0);
                for (int i = primeira; i <= ultima; ++i) {
                    comprimentos_[static_cast<std::size_t>(i)] = comprimento_da_linha(i);
                    contar(comprimento_da_linha(i), 1);
                }
                recalcular_geometria();
            });
    connect(&modelo, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int primeira, int ultima) {
                for (int i = primeira; i <= ultima; ++i)
                    contar(comprimentos_[static_cast<std::size_t>(i)], -1);
                comprimentos_.erase(comprimentos_.begin() + primeira,
                                    comprimentos_.begin() + ultima + 1);
            });
    connect(&modelo, &QAbstractItemModel::rowsRemoved, this, [this] {
        recalcular_geometria();
        manter_linha_valida();
    });
    connect(&modelo, &QAbstractItemModel::modelReset, this, [this] {
        recontar();
        manter_linha_valida();
    });
    connect(&modelo, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& a, const QModelIndex& b) {
                for (int i = a.row(); i <= b.row(); ++i) {
                    int& c = comprimentos_[static_cast<std::size_t>(i)];
                    contar(c, -1);
                    c = comprimento_da_linha(i);
                    contar(c, 1);
                }
                recalcular_geometria();
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
        atual_ = nova;
        viewport()->update();
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
    recalcular_geometria();
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

int VisaoFita::altura_da_linha(int linha) const {
    if (!alguma_quebra_ || linha < 0 || static_cast<std::size_t>(linha) >= comprimentos_.size())
        return altura_linha_;
    return (altura_linha_ - 1) * linhas_de_texto(comprimentos_[static_cast<std::size_t>(linha)]) +
           1;
}

void VisaoFita::recalcular_geometria() {
    const QFontMetrics mc(fonte_calha_);
    const int digitos = std::max(2, static_cast<int>(QString::number(contagem()).size()));
    const int calha = mc.horizontalAdvance(QString(digitos, QLatin1Char('0'))) + 2 * kFolga;

    const QFontMetrics mt(font());
    const int largura = std::max(1, viewport()->width() - calha - 1 - 2 * kFolga);
    const int altura = std::max(mt.lineSpacing(), mc.height()) + 1;
    // The pitch as laid out, fractions and all: whole characters per row.
    const qreal caractere = QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0'));
    caracteres_por_linha_ = std::max(1, static_cast<int>(largura / std::max(caractere, 1.0)));
    // Only a line wider than the view takes more than one row. While none is,
    // every row is the same and the layout is a loop over row offsets; the
    // rows are measured one by one only when the longest line wraps.
    const bool quebra = linhas_de_texto(comprimento_maior_) > 1;

    if (calha == largura_calha_ && altura == altura_linha_ && quebra == alguma_quebra_ && !quebra)
        return;
    largura_calha_ = calha;
    altura_linha_ = altura;
    alguma_quebra_ = quebra;
    setUniformItemSizes(!quebra);
    doItemsLayout();
    viewport()->update();
}

void VisaoFita::resizeEvent(QResizeEvent* e) {
    QListView::resizeEvent(e);
    recalcular_geometria();
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
