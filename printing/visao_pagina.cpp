#include "printing/visao_pagina.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "printing/documento_impressao.h"

namespace quarvel::printing {

namespace {

QRect para_qt(const Retangulo& r) {
    return QRect(r.x, r.y, r.largura, r.altura);
}

} // namespace

VisaoPagina::VisaoPagina(DocumentoImpressao& doc, QWidget* pai)
    : QAbstractScrollArea(pai), doc_(doc) {
    setFrameShape(QFrame::StyledPanel);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    dica_ = new QLabel(this);
    dica_->setObjectName(QStringLiteral("DicaPagina"));
    dica_->setFrameShape(QFrame::Box);
    dica_->setAutoFillBackground(true);
    dica_->setBackgroundRole(QPalette::ToolTipBase);
    dica_->setForegroundRole(QPalette::ToolTipText);
    dica_->hide();

    QScrollBar* v = verticalScrollBar();
    connect(v, &QScrollBar::valueChanged, this, [this](int valor) {
        if (modo_ == Escala::pagina_inteira && !ajustando_) ir_para(valor);
    });
    connect(v, &QScrollBar::sliderPressed, this, [this] { mostrar_dica(); });
    connect(v, &QScrollBar::sliderMoved, this, [this](int) { mostrar_dica(); });
    connect(v, &QScrollBar::sliderReleased, this, [this] { dica_->hide(); });
}

QString VisaoPagina::dica() const {
    return dica_->isVisible() ? dica_->text() : QString();
}

void VisaoPagina::refazer(int paginas) {
    paginas_ = std::max(1, paginas);
    if (modo_ != Escala::percentual) percentual_ = kPercentualInicial;
    ir_para(pagina_, true);
}

void VisaoPagina::ir_para(int n, bool sempre) {
    n = std::clamp(n, 1, paginas_);
    const bool mudou = n != pagina_;
    pagina_ = n;
    atualizar_barras();
    viewport()->update();
    if ((mudou || sempre) && ao_mudar_pagina) ao_mudar_pagina(pagina_);
}

void VisaoPagina::definir_modo(Escala e) {
    modo_ = e;
    atualizar_barras();
    viewport()->update();
}

void VisaoPagina::definir_percentual(int p) {
    percentual_ = p;
    definir_modo(Escala::percentual);
}

Tamanho VisaoPagina::tamanho_pagina() const {
    const Tela tela{{viewport()->width(), viewport()->height()},
                    double(viewport()->logicalDpiX()),
                    double(viewport()->logicalDpiY())};
    return printing::tamanho_pagina(doc_.dispositivo(), modo_, percentual_, tela);
}

QRect VisaoPagina::retangulo_pagina() const {
    const Tamanho visao{viewport()->width(), viewport()->height()};
    return para_qt(printing::retangulo_pagina(modo_, tamanho_pagina(), visao,
                                              horizontalScrollBar()->value(),
                                              verticalScrollBar()->value()));
}

void VisaoPagina::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
    const QRect r = retangulo_pagina();
    const Retangulo pagina{r.x(), r.y(), r.width(), r.height()};
    p.fillRect(para_qt(sombra_direita(pagina)), Qt::black);
    p.fillRect(para_qt(sombra_base(pagina)), Qt::black);
    p.fillRect(r, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));

    const Dispositivo& d = doc_.dispositivo();
    const std::optional<Mapeamento> m = mapear_conteudo(d, pagina);
    if (!m) return;
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    p.translate(m->x, m->y);
    p.scale(m->escala_x, m->escala_y);
    p.setClipRect(QRectF(0, 0, d.imprimivel_largura, d.imprimivel_altura));
    doc_.desenhar_pagina(p, pagina_);
}

void VisaoPagina::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    atualizar_barras();
}

void VisaoPagina::scrollContentsBy(int, int) {
    viewport()->update();
}

void VisaoPagina::mousePressEvent(QMouseEvent* e) {
    if (ao_clicar) ao_clicar(e->button());
}

void VisaoPagina::wheelEvent(QWheelEvent* e) {
    e->accept();
    if (modo_ == Escala::pagina_inteira) return;
    QScrollBar* v = verticalScrollBar();
    v->setValue(v->value() - roda_.rolar(e->angleDelta().y()));
}

void VisaoPagina::atualizar_barras() {
    ajustando_ = true;
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    const int W = viewport()->width(), H = viewport()->height();
    const Tamanho t = tamanho_pagina();
    if (!rola_vertical(modo_)) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        v->setRange(1, paginas_);
        v->setSingleStep(1);
        v->setPageStep(1);
        v->setValue(pagina_);
    } else {
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        v->setRange(0, alcance_rolagem(t.altura, H));
        // Coming from whole page the bar held a page number, not pixels.
        if (!rola_vertical(modo_barras_)) v->setValue(0);
        v->setSingleStep(passo_seta(H));
        v->setPageStep(passo_barra(H));
        if (rola_horizontal(modo_)) {
            setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            h->setRange(0, alcance_rolagem(t.largura, W));
            h->setSingleStep(passo_seta(W));
            h->setPageStep(passo_barra(W));
        } else {
            setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            h->setRange(0, 0);
        }
    }
    modo_barras_ = modo_;
    ajustando_ = false;
}

void VisaoPagina::mostrar_dica() {
    if (modo_ != Escala::pagina_inteira) return;
    dica_->setText(QStringLiteral("Page: %1").arg(verticalScrollBar()->sliderPosition()));
    dica_->adjustSize();
    const QRect v = viewport()->geometry();
    dica_->move(x_dica(v.right(), dica_->width()), v.top() + kRecuoDica);
    dica_->show();
    dica_->raise();
}

} // namespace quarvel::printing
