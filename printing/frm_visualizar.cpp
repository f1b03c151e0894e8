#include "printing/frm_visualizar.h"

#include <QAction>
#include <QBuffer>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPdfWriter>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "printing/dialogos_impressao.h"
#include "printing/documento_impressao.h"
#include "printing/mensagens.h"
#include "printing/visao_pagina.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void iniciar_figuras() {
    Q_INIT_RESOURCE(previa);
}

namespace quarvel::printing {

namespace {

// The window's measures, in pixels. The restored size, before it maximises.
constexpr QSize kTamanhoRestaurado(516, 420);
// The tool bar: flat buttons with their pictures, starting this far from the
// left edge and kept off the other edges by a thin border; the zoom button
// is wider by its drop-down arrow.
constexpr int kRecuoBarra = 5;
constexpr int kBordaBarra = 2;
constexpr QSize kTamanhoBotao(24, 23);
constexpr QSize kTamanhoBotaoMenu(36, 23);
constexpr QSize kTamanhoFigura(17, 17);
constexpr QSize kTamanhoSeparador(8, 23);
// The status bar: the help panel has a fixed width, the page panel takes the
// rest from this minimum.
constexpr int kAlturaEstado = 19;
constexpr int kLarguraAjuda = 400;
constexpr int kLarguraPaginaAtual = 100;

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

TestPrintPreviewDlg::TestPrintPreviewDlg(DocumentoImpressao& doc, QWidget* parent,
                                         const QPageLayout& pagina, Impressao ao_imprimir)
    : QDialog(parent), doc_(doc), pagina_(pagina.isValid() ? pagina : EscolhaImpressao{}.pagina()),
      imprimir_(std::move(ao_imprimir)) {
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
    linha_barra->setContentsMargins(kRecuoBarra, kBordaBarra, kBordaBarra, kBordaBarra);
    linha_barra->setSpacing(0);
    caixa->addWidget(barra);
    auto separador = [&] {
        auto* f = new QFrame(barra);
        f->setFrameShape(QFrame::VLine);
        f->setFrameShadow(QFrame::Sunken);
        f->setFixedSize(kTamanhoSeparador);
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
        b->setIconSize(kTamanhoFigura);
        if (com_menu) {
            b->setMenu(menu_zoom_);
            b->setPopupMode(QToolButton::MenuButtonPopup);
            b->setFixedSize(kTamanhoBotaoMenu);
        } else {
            b->setFixedSize(kTamanhoBotao);
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
    status->setFixedHeight(kAlturaEstado);
    status->setSizeGripEnabled(false);
    painel1_ = new QLabel(status);
    painel1_->setAccessibleName(QStringLiteral("ajuda do comando"));
    painel1_->setFixedWidth(kLarguraAjuda);
    painel2_ = new QLabel(status);
    painel2_->setAccessibleName(QStringLiteral("página atual"));
    painel2_->setMinimumWidth(kLarguraPaginaAtual);
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

    // Restored size centred on the screen; the window opens maximised.
    resize(kTamanhoRestaurado);
    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(0, 0), kTamanhoRestaurado);
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

void TestPrintPreviewDlg::refazer_layout() {
    // A PDF writer measures like the printer at the same resolution and
    // paper; nothing is written to it.
    QBuffer nada;
    QPdfWriter medida(&nada);
    medida.setPageLayout(pagina_);
    medida.setResolution(kResolucaoImpressao);
    visao_->refazer(doc_.paginar(medida));
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
    definir_percentual(
        percentual_apos_clique(visao_->modo(), visao_->percentual(), b == Qt::LeftButton));
}

void TestPrintPreviewDlg::imprimir() {
    if (!imprimir_) return;
    // Printing lays the document out for the chosen paper: the preview's
    // own layout and page come back afterwards.
    const int pagina = visao_->pagina();
    imprimir_(this);
    refazer_layout();
    visao_->ir_para(pagina);
}

void TestPrintPreviewDlg::pagina_mudou(int n) {
    painel2_->setText(QStringLiteral(" Page: %1").arg(n));
    painel2_->setAccessibleDescription(
        QStringLiteral("página %1 de %2").arg(n).arg(visao_->paginas()));
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
