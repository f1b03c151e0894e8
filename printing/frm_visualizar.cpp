#include "printing/frm_visualizar.h"

#include "printing/fora_da_janela.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

#include "printing/documento_impressao.h"
#include "printing/mensagens.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void iniciar_figuras() {
    Q_INIT_RESOURCE(previa);
}

namespace quarvel::printing {

using Escala = TestPrintPreviewDlg::Escala;

// The page view: one page of the print document, drawn at the chosen scale
// over the workspace background, with the scroll bars of that scale.
class VisaoPagina : public QAbstractScrollArea {
  public:
    explicit VisaoPagina(DocumentoImpressao& doc, QWidget* pai)
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

    std::function<void(int)> ao_mudar_pagina;
    std::function<void(Qt::MouseButton)> ao_clicar;

    int pagina() const { return pagina_; }
    int paginas() const { return paginas_; }
    Escala modo() const { return modo_; }
    int percentual() const { return percentual_; }
    QString dica() const { return dica_->isVisible() ? dica_->text() : QString(); }

    void refazer(int paginas) {
        paginas_ = std::max(1, paginas);
        if (modo_ != Escala::percentual) percentual_ = kPercentualInicial;
        ir_para(pagina_, true);
    }

    void ir_para(int n, bool sempre = false) {
        n = std::clamp(n, 1, paginas_);
        const bool mudou = n != pagina_;
        pagina_ = n;
        atualizar_barras();
        viewport()->update();
        if ((mudou || sempre) && ao_mudar_pagina) ao_mudar_pagina(pagina_);
    }

    void definir_modo(Escala e) {
        modo_ = e;
        atualizar_barras();
        viewport()->update();
    }

    void definir_percentual(int p) {
        percentual_ = p;
        definir_modo(Escala::percentual);
    }

    QSize tamanho_pagina() const {
        const Dispositivo& d = doc_.dispositivo();
        const double pw = d.papel_largura > 0 ? d.papel_largura : 210;
        const double ph = d.papel_altura > 0 ? d.papel_altura : 297;
        const int W = viewport()->width(), H = viewport()->height();
        double w = 0, h = 0;
        switch (modo_) {
        case Escala::pagina_inteira:
            w = W - 26;
            h = H - 26;
            if (w / h > pw / ph)
                w = h * pw / ph;
            else
                h = w * ph / pw;
            break;
        case Escala::largura_pagina:
            w = W - 26;
            h = w * ph / pw;
            break;
        case Escala::percentual: {
            const double dpi_x = d.dpi_x > 0 ? d.dpi_x : 72, dpi_y = d.dpi_y > 0 ? d.dpi_y : 72;
            w = pw / dpi_x * viewport()->logicalDpiX() * percentual_ / 100.0;
            h = ph / dpi_y * viewport()->logicalDpiY() * percentual_ / 100.0;
            break;
        }
        }
        return QSize(std::max(1, qRound(w)), std::max(1, qRound(h)));
    }

    QRect retangulo_pagina() const {
        const QSize t = tamanho_pagina();
        const int W = viewport()->width(), H = viewport()->height();
        const bool rola_v = modo_ != Escala::pagina_inteira;
        const bool rola_h = modo_ == Escala::percentual;
        int x = t.width() + 24 < W ? (W - t.width()) / 2 : 12;
        int y = t.height() + 24 < H ? (H - t.height()) / 2 : 12;
        if (rola_h && t.width() + 24 >= W) x -= horizontalScrollBar()->value();
        if (rola_v && t.height() + 24 >= H) y -= verticalScrollBar()->value();
        return QRect(QPoint(x, y), t);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(viewport());
        p.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
        const QRect r = retangulo_pagina();
        p.fillRect(QRect(r.right() + 1, r.top() + 2, 2, r.height()), Qt::black);
        p.fillRect(QRect(r.left() + 2, r.bottom() + 1, r.width(), 2), Qt::black);
        p.fillRect(r, Qt::white);
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));

        const Dispositivo& d = doc_.dispositivo();
        if (d.papel_largura <= 0 || d.papel_altura <= 0) return;
        const double sx = r.width() / d.papel_largura, sy = r.height() / d.papel_altura;
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        p.translate(r.left() + d.imprimivel_x * sx, r.top() + d.imprimivel_y * sy);
        p.scale(sx, sy);
        p.setClipRect(QRectF(0, 0, d.imprimivel_largura, d.imprimivel_altura));
        doc_.desenhar_pagina(p, pagina_);
    }

    void resizeEvent(QResizeEvent* e) override {
        QAbstractScrollArea::resizeEvent(e);
        atualizar_barras();
    }

    void scrollContentsBy(int, int) override { viewport()->update(); }

    void mousePressEvent(QMouseEvent* e) override {
        if (ao_clicar) ao_clicar(e->button());
    }

    void wheelEvent(QWheelEvent* e) override {
        e->accept();
        if (modo_ == Escala::pagina_inteira) return;
        passo_roda_ += e->angleDelta().y();
        const int entalhes = passo_roda_ / 120;
        passo_roda_ -= entalhes * 120;
        QScrollBar* v = verticalScrollBar();
        v->setValue(v->value() - entalhes * 120);
    }

  private:
    void atualizar_barras() {
        ajustando_ = true;
        QScrollBar* v = verticalScrollBar();
        QScrollBar* h = horizontalScrollBar();
        const int W = viewport()->width(), H = viewport()->height();
        const QSize t = tamanho_pagina();
        if (modo_ == Escala::pagina_inteira) {
            setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            v->setRange(1, paginas_);
            v->setSingleStep(1);
            v->setPageStep(1);
            v->setValue(pagina_);
        } else {
            setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            v->setRange(0, std::max(0, t.height() + 26 - H));
            // Coming from whole page the bar held a page number, not pixels.
            if (modo_barras_ == Escala::pagina_inteira) v->setValue(0);
            v->setSingleStep(std::max(1, H / 10));
            v->setPageStep(std::max(1, H / 2));
            if (modo_ == Escala::percentual) {
                setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
                h->setRange(0, std::max(0, t.width() + 26 - W));
                h->setSingleStep(std::max(1, W / 10));
                h->setPageStep(std::max(1, W / 2));
            } else {
                setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                h->setRange(0, 0);
            }
        }
        modo_barras_ = modo_;
        ajustando_ = false;
    }

    void mostrar_dica() {
        if (modo_ != Escala::pagina_inteira) return;
        dica_->setText(QStringLiteral("Page: %1").arg(verticalScrollBar()->sliderPosition()));
        dica_->adjustSize();
        const int dir = viewport()->geometry().right();
        dica_->move(std::max(0, dir - dica_->width() - 8), viewport()->geometry().top() + 8);
        dica_->show();
        dica_->raise();
    }

    DocumentoImpressao& doc_;
    QLabel* dica_ = nullptr;
    int pagina_ = 1;
    int paginas_ = 1;
    Escala modo_ = Escala::pagina_inteira;
    Escala modo_barras_ = Escala::pagina_inteira; // the mode the bars are set up for
    int percentual_ = kPercentualInicial;
    int passo_roda_ = 0;
    bool ajustando_ = false;
};

namespace {

// The tool-bar pictures live in this library's resources (printing/recursos),
// whose table the linker would drop unless someone asks for it.
QIcon figura(const char* nome) {
    static const bool carregadas = (iniciar_figuras(), true);
    (void)carregadas;
    return QIcon(QStringLiteral(":/previa/%1.svg").arg(QLatin1String(nome)));
}

// A hint is "tool tip|help text".
void definir_dica(QAction* a, const QString& dica) {
    const int barra = dica.indexOf(QLatin1Char('|'));
    a->setToolTip(barra < 0 ? dica : dica.left(barra));
    a->setStatusTip(barra < 0 ? dica : dica.mid(barra + 1));
}

} // namespace

TestPrintPreviewDlg::TestPrintPreviewDlg(DocumentoImpressao& doc, QWidget* parent)
    : QDialog(parent), doc_(doc),
      impressora_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setWindowTitle(QStringLiteral("Print Preview"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setModal(true);

    auto* caixa = new QVBoxLayout(this);
    caixa->setContentsMargins(0, 0, 0, 0);
    caixa->setSpacing(0);

    // A row of flat buttons laid out by hand: a QToolBar places its first
    // button by the style's own margins, and it must start 5 px from the edge.
    auto* barra = new QWidget(this);
    barra->setObjectName(QStringLiteral("ToolBar"));
    barra->setAccessibleName(QStringLiteral("barra de ferramentas"));
    auto* linha_barra = new QHBoxLayout(barra);
    linha_barra->setContentsMargins(5, 2, 2, 2);
    linha_barra->setSpacing(0);
    caixa->addWidget(barra);
    auto separador = [&] {
        auto* f = new QFrame(barra);
        f->setFrameShape(QFrame::VLine);
        f->setFrameShadow(QFrame::Sunken);
        f->setFixedSize(8, 23);
        linha_barra->addWidget(f);
    };

    QAction* first = novo_comando("FirstCmd", QKeySequence(Qt::ALT | Qt::Key_F),
                                  QStringLiteral("First|Go to first page"));
    QAction* prev = novo_comando("PrevCmd", QKeySequence(Qt::ALT | Qt::Key_P),
                                 QStringLiteral("Previous|Go to previous page"));
    QAction* next = novo_comando("NextCmd", QKeySequence(Qt::ALT | Qt::Key_N),
                                 QStringLiteral("Next|Go to next page"));
    QAction* last = novo_comando("LastCmd", QKeySequence(Qt::ALT | Qt::Key_L),
                                 QStringLiteral("Last|Go to last page"));
    QAction* zoom_cmd = novo_comando("ZoomCmd", QKeySequence(Qt::ALT | Qt::Key_Z),
                                     QStringLiteral("Zoom|Zoom In/Out"));
    QAction* print = novo_comando("PrintCmd", QKeySequence(Qt::CTRL | Qt::Key_P),
                                  QStringLiteral("Print|Print the document"));
    QAction* close_cmd = novo_comando("CloseCmd", QKeySequence(Qt::ALT | Qt::Key_C),
                                      QStringLiteral("Close|Close Print Preview"));
    first->setIcon(figura("primeira"));
    prev->setIcon(figura("anterior"));
    next->setIcon(figura("proxima"));
    last->setIcon(figura("ultima"));
    zoom_cmd->setIcon(figura("zoom"));
    print->setIcon(figura("imprimir"));
    close_cmd->setIcon(figura("fechar"));

    menu_zoom_ = new QMenu(this);
    menu_zoom_->setObjectName(QStringLiteral("PopupMenu1"));
    menu_zoom_->setAccessibleName(QStringLiteral("escala"));
    auto item = [this](const QString& texto, int codigo) {
        menu_zoom_->addAction(texto)->setData(codigo);
    };
    item(QStringLiteral("Página Inteira"), kZoomPaginaInteira);
    item(QStringLiteral("Largura Página"), kZoomLarguraPagina);
    menu_zoom_->addSeparator();
    for (int p : kPercentuais)
        item(QStringLiteral("%1%").arg(p), p);
    connect(menu_zoom_, &QMenu::triggered, this, [this](QAction* a) { zoom(a->data().toInt()); });

    // The buttons show pictures only, and the tips are the preview's English
    // ones: a screen reader says the Portuguese name.
    auto botao = [&](QAction* a, const char* nome, const char* descricao, bool com_menu = false) {
        auto* b = new QToolButton(barra);
        b->setAccessibleName(QString::fromUtf8(nome));
        b->setAccessibleDescription(QString::fromUtf8(descricao));
        b->setDefaultAction(a);
        b->setAutoRaise(true);
        b->setIconSize(QSize(17, 17));
        if (com_menu) {
            b->setMenu(menu_zoom_);
            b->setPopupMode(QToolButton::MenuButtonPopup);
            b->setFixedSize(36, 23);
        } else {
            b->setFixedSize(24, 23);
        }
        b->setObjectName(a->objectName() + QStringLiteral("Button"));
        linha_barra->addWidget(b);
    };
    botao(first, "primeira página", "vai para a primeira página");
    botao(prev, "página anterior", "volta uma página");
    botao(next, "próxima página", "avança uma página");
    botao(last, "última página", "vai para a última página");
    separador();
    botao(zoom_cmd, "zoom", "mostra a página inteira; a seta abre as outras escalas", true);
    separador();
    botao(print, "imprimir", "imprime o documento");
    separador();
    botao(close_cmd, "fechar", "fecha a visualização");
    linha_barra->addStretch();

    visao_ = new VisaoPagina(doc_, this);
    visao_->setObjectName(QStringLiteral("PageView"));
    visao_->setAccessibleName(QStringLiteral("página"));
    visao_->setAccessibleDescription(
        QStringLiteral("o botão esquerdo do mouse amplia, o direito reduz"));
    visao_->verticalScrollBar()->setAccessibleName(QStringLiteral("rolagem vertical"));
    visao_->horizontalScrollBar()->setAccessibleName(QStringLiteral("rolagem horizontal"));
    caixa->addWidget(visao_, 1);
    visao_->ao_mudar_pagina = [this](int n) { pagina_mudou(n); };
    visao_->ao_clicar = [this](Qt::MouseButton b) { botao_do_mouse(b); };

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setAccessibleName(QStringLiteral("barra de estado"));
    status->setFixedHeight(19);
    status->setSizeGripEnabled(false);
    painel1_ = new QLabel(status);
    painel1_->setAccessibleName(QStringLiteral("ajuda do comando"));
    painel1_->setFixedWidth(400);
    painel2_ = new QLabel(status);
    painel2_->setAccessibleName(QStringLiteral("página atual"));
    painel2_->setMinimumWidth(100);
    status->addWidget(painel1_);
    status->addWidget(painel2_, 1);
    caixa->addWidget(status);

    connect(first, &QAction::triggered, this, [this] { visao_->ir_para(1); });
    connect(prev, &QAction::triggered, this, [this] { visao_->ir_para(visao_->pagina() - 1); });
    connect(next, &QAction::triggered, this, [this] { visao_->ir_para(visao_->pagina() + 1); });
    connect(last, &QAction::triggered, this, [this] { visao_->ir_para(visao_->paginas()); });
    connect(zoom_cmd, &QAction::triggered, this,
            [this] { definir_escala(Escala::pagina_inteira); });
    connect(print, &QAction::triggered, this, [this] { imprimir(); });
    connect(close_cmd, &QAction::triggered, this, &QDialog::close);

    const QPrinterInfo atual = QPrinterInfo::defaultPrinter();
    if (!atual.isNull()) {
        const QString nome = atual.printerName();
        definir_dica(print, QStringLiteral("Print (%1)|Print the document on %1").arg(nome));
    }

    // Restored size centred on the screen; the window opens maximised.
    resize(516, 420);
    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(0, 0), QSize(516, 420));
        r.moveCenter(tela->availableGeometry().center());
        setGeometry(r);
    }
    setWindowState(windowState() | Qt::WindowMaximized);

    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    painel1_->setText(QStringLiteral("  "));
    refazer_layout();
}

TestPrintPreviewDlg::~TestPrintPreviewDlg() = default;

QAction* TestPrintPreviewDlg::novo_comando(const char* nome, const QKeySequence& atalho,
                                           const QString& dica) {
    auto* a = new QAction(this);
    a->setObjectName(QString::fromLatin1(nome));
    a->setShortcut(atalho);
    a->setShortcutContext(Qt::WindowShortcut);
    definir_dica(a, dica);
    addAction(a);
    return a;
}

int TestPrintPreviewDlg::pagina_atual() const {
    return visao_->pagina();
}
int TestPrintPreviewDlg::paginas() const {
    return visao_->paginas();
}
TestPrintPreviewDlg::Escala TestPrintPreviewDlg::modo_escala() const {
    return visao_->modo();
}
int TestPrintPreviewDlg::percentual() const {
    return visao_->percentual();
}
QRect TestPrintPreviewDlg::retangulo_pagina() const {
    return visao_->retangulo_pagina();
}
QWidget* TestPrintPreviewDlg::visao() const {
    return visao_->viewport();
}
QString TestPrintPreviewDlg::texto_ajuda() const {
    return painel1_->text();
}
QString TestPrintPreviewDlg::texto_pagina() const {
    return painel2_->text();
}
QString TestPrintPreviewDlg::dica_arraste() const {
    return visao_->dica();
}

QAction* TestPrintPreviewDlg::comando(const QString& nome) const {
    return findChild<QAction*>(nome, Qt::FindDirectChildrenOnly);
}

void TestPrintPreviewDlg::refazer_layout() {
    visao_->refazer(doc_.paginar(*impressora_));
}

void TestPrintPreviewDlg::definir_escala(Escala e) {
    if (e == Escala::percentual)
        visao_->definir_percentual(visao_->percentual());
    else
        visao_->definir_modo(e);
}

void TestPrintPreviewDlg::definir_percentual(int p) {
    visao_->definir_percentual(p);
}

void TestPrintPreviewDlg::zoom(int codigo) {
    if (codigo == kZoomPaginaInteira)
        definir_escala(Escala::pagina_inteira);
    else if (codigo == kZoomLarguraPagina)
        definir_escala(Escala::largura_pagina);
    else if (codigo > 0)
        definir_percentual(codigo);
}

void TestPrintPreviewDlg::botao_do_mouse(Qt::MouseButton b) {
    if (b == Qt::LeftButton) {
        if (visao_->modo() == Escala::pagina_inteira)
            definir_percentual(kPercentualInicial);
        else
            definir_percentual(std::min(kPercentualMaximo, visao_->percentual() * 2));
    } else {
        definir_percentual(std::max(kPercentualMinimo, visao_->percentual() / 2));
    }
}

void TestPrintPreviewDlg::imprimir() {
    QString erro;
    bool ok = false;
    if (impressora_->outputFormat() == QPrinter::PdfFormat &&
        impressora_->outputFileName().isEmpty()) {
        // Without a printer the job would go nowhere; say so instead.
        erro = QString::fromUtf8(kSemImpressora);
    } else {
        // The server is waited for away from this window's thread, which
        // takes no input meanwhile.
        setEnabled(false);
        ok = doc_.imprimir(*impressora_, &erro,
                           [](const auto& tarefa) { fora_da_janela(tarefa, {}); });
        setEnabled(true);
    }
    const int pagina = visao_->pagina();
    refazer_layout();
    visao_->ir_para(pagina);
    if (!ok) emit falha_impressao(erro);
}

void TestPrintPreviewDlg::pagina_mudou(int n) {
    painel2_->setText(QStringLiteral(" Page: %1").arg(n));
    painel2_->setAccessibleDescription(QStringLiteral("página %1 de %2").arg(n).arg(paginas()));
}

void TestPrintPreviewDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (mostrada_) return;
    mostrada_ = true;
    refazer_layout();
    visao_->ir_para(1, true);
}

bool TestPrintPreviewDlg::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::Enter) {
        if (auto* w = qobject_cast<QWidget*>(o)) {
            QString ajuda = w->statusTip();
            if (auto* b = qobject_cast<QToolButton*>(w); b && b->defaultAction())
                ajuda = b->defaultAction()->statusTip();
            painel1_->setText(QStringLiteral("  ") + ajuda);
            painel1_->setAccessibleDescription(ajuda);
        }
    }
    return QDialog::eventFilter(o, e);
}

} // namespace quarvel::printing
