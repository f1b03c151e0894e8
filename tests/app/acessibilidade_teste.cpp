// What a screen reader gets, read in-process through QAccessibleInterface —
// the very data the AT-SPI bridge serves: every control of the main window
// and of each dialog has a name, and each command announces the new total
// or the current line through the status bar's notification.
#include "tape/campo_valor.h"
#include "tests/app/janela_apoio.h"
#include "tests/app/janelas_programa.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <functional>
#include <set>

namespace quarvel::app {
namespace {

// Roles a screen reader stops at: what can be operated, and what shows a
// value or a picture. Containers (fillers, panes, client areas, separators)
// are passed through and may go unnamed.
bool e_controle(QAccessible::Role papel) {
    static const std::set<QAccessible::Role> controles = {
        QAccessible::Window,      QAccessible::Dialog,      QAccessible::MenuBar,
        QAccessible::PopupMenu,   QAccessible::MenuItem,    QAccessible::ToolBar,
        QAccessible::StatusBar,   QAccessible::PushButton,  QAccessible::CheckBox,
        QAccessible::RadioButton, QAccessible::ComboBox,    QAccessible::EditableText,
        QAccessible::SpinBox,     QAccessible::List,        QAccessible::ListItem,
        QAccessible::Table,       QAccessible::Cell,        QAccessible::Tree,
        QAccessible::TreeItem,    QAccessible::PageTab,     QAccessible::PageTabList,
        QAccessible::Slider,      QAccessible::ScrollBar,   QAccessible::Dial,
        QAccessible::ProgressBar, QAccessible::ButtonMenu,  QAccessible::ButtonDropDown,
        QAccessible::Link,        QAccessible::StaticText,  QAccessible::Graphic,
        QAccessible::Grouping,    QAccessible::HotkeyField, QAccessible::ButtonDropGrid,
    };
    return controles.count(papel) > 0;
}

QString descrever(QAccessibleInterface* i) {
    const QObject* o = i->object();
    const QString nome = o && !o->objectName().isEmpty() ? o->objectName()
                         : o ? QString::fromLatin1(o->metaObject()->className())
                             : QStringLiteral("?");
    return QStringLiteral("%1 (papel %2)").arg(nome).arg(static_cast<int>(i->role()));
}

// Every control that shows or can take the focus and has no name (blank
// counts as none), with its path from the window.
QStringList sem_nome(QAccessibleInterface* i, const QString& caminho = {}) {
    QStringList faltas;
    if (!i || !i->isValid()) return faltas;
    const QString aqui = caminho.isEmpty() ? descrever(i) : caminho + " > " + descrever(i);
    const QAccessible::State s = i->state();
    // Scroll bars are passed over unless the focus can reach them.
    const bool conta =
        e_controle(i->role()) && (i->role() != QAccessible::ScrollBar || s.focusable);
    if (conta && (!s.invisible || s.focusable) && i->text(QAccessible::Name).trimmed().isEmpty())
        faltas << aqui;
    for (int k = 0; k < i->childCount(); ++k)
        faltas << sem_nome(i->child(k), aqui);
    return faltas;
}

QStringList sem_nome(QWidget* w) {
    return sem_nome(QAccessible::queryAccessibleInterface(w));
}

QString descricao(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
}

// ---------------------------------------------------------------------------
// The dialogs, each shown as the program shows it.

class JanelasDialogo : public ::testing::TestWithParam<JanelaPrograma> {};

TEST_P(JanelasDialogo, TodoControleTemNome) {
    auto w = GetParam().criar(nullptr);
    w->show();
    QApplication::processEvents();
    EXPECT_EQ(sem_nome(w.get()), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Acessibilidade, JanelasDialogo, ::testing::ValuesIn(janelas_programa()),
                         [](const auto& p) { return std::string(p.param.nome); });

// ---------------------------------------------------------------------------
// The main window.

// What the window announced: each time its notification showed, the name
// it had then (what Orca reads out), or, from Qt 6.8, each announcement.
std::vector<QString>& anuncios() {
    static std::vector<QString> lista;
    return lista;
}

void registrar(QAccessibleEvent* e) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // From Qt 6.8 the window announces instead (Orca 48 says an announcement
    // without the word "notification" before it).
    if (e->type() == QAccessible::Announcement) {
        anuncios().push_back(static_cast<QAccessibleAnnouncementEvent*>(e)->message());
        return;
    }
#endif
    if (e->type() != QAccessible::ObjectShow) return;
    if (QAccessibleInterface* i = e->accessibleInterface();
        i && i->role() == QAccessible::Notification)
        anuncios().push_back(i->text(QAccessible::Name));
}

class JanelaAcessivel : public JanelaTeste {
  protected:
    static void SetUpTestSuite() {
        // Offscreen there is no screen reader to switch accessibility on;
        // Qt's own tests switch it on the same way.
        if (QPlatformAccessibility* a =
                QGuiApplicationPrivate::platformIntegration()->accessibility()) {
            a->setActive(true);
            QAccessible::installUpdateHandler(&registrar);
        }
    }
    static void TearDownTestSuite() { QAccessible::installUpdateHandler(nullptr); }

    void SetUp() override {
        if (!QAccessible::isActive()) GTEST_SKIP() << "esta plataforma não tem acessibilidade";
        JanelaTeste::SetUp();
        ocioso();
        anuncios().clear();
    }

    // The event loop is about to wait: what the window does then.
    void ocioso() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }

    QWidget* w(const char* objeto) const { return filho(objeto); }

    // The announcements made within `ms` (one is expected at most).
    std::vector<QString> ouvir(int ms = 100) {
        QTest::qWait(ms);
        std::vector<QString> r;
        r.swap(anuncios());
        return r;
    }
};

TEST_F(JanelaAcessivel, TodoControleTemNome) {
    EXPECT_EQ(sem_nome(janela.get()), QStringList());
    adicionar(QStringLiteral("1.234,56"));
    adicionar(QStringLiteral("12*50"));
    EXPECT_EQ(sem_nome(janela.get()), QStringList()) << "com linhas na fita";
}

TEST_F(JanelaAcessivel, MenusAbertosTemNome) {
    adicionar(QStringLiteral("1"));
    QList<QMenu*> menus = {filho<QMenu>("pop")};
    for (QAction* a : janela->menuBar()->actions())
        menus << a->menu();
    for (QMenu* m : menus) {
        ASSERT_NE(m, nullptr);
        m->popup(janela->geometry().center());
        QApplication::processEvents();
        EXPECT_EQ(sem_nome(m), QStringList()) << m->title().toStdString();
        m->hide();
    }
    // The fields' editing menus are made each time they open, and block.
    for (const char* objeto : {"texto_valor", "cabecalho"}) {
        QStringList faltas{QStringLiteral("não abriu")};
        QTimer::singleShot(0, janela.get(), [&faltas] {
            if (QWidget* m = QApplication::activePopupWidget()) {
                faltas = sem_nome(m);
                m->close();
            }
        });
        emit w(objeto)->customContextMenuRequested(QPoint(5, 5));
        EXPECT_EQ(faltas, QStringList()) << objeto;
    }
}

// ---------------------------------------------------------------------------
// What is announced after each command: one announcement, the last word.

struct CasoAnuncio;

// Gives the fixture's helpers to the table.
class AnunciosDeComando : public JanelaAcessivel,
                          public ::testing::WithParamInterface<CasoAnuncio> {
  public:
    using JanelaAcessivel::adicionar;
    using JanelaAcessivel::campo;
    using JanelaAcessivel::dlg;
    using JanelaAcessivel::executar;
    using JanelaAcessivel::ouvir;
    using JanelaAcessivel::tecla;
};

struct CasoAnuncio {
    const char* nome;
    std::function<void(AnunciosDeComando&)> agir;
    const char* esperado;
};
void PrintTo(const CasoAnuncio& c, std::ostream* os) {
    *os << c.nome;
}

const CasoAnuncio kAnuncios[] = {
    {"adicionar", [](auto& t) { t.adicionar(QStringLiteral("12*50")); }, "total R$ 600,00"},
    // The same total twice is said twice: an amount of zero changes nothing.
    {"adicionar_zero_de_novo",
     [](auto& t) {
         t.adicionar(QStringLiteral("0"));
         t.ouvir();
         t.adicionar(QStringLiteral("0"));
     },
     "total R$ 0,00"},
    {"deletar",
     [](auto& t) {
         t.adicionar(QStringLiteral("5"));
         t.adicionar(QStringLiteral("10"));
         t.ouvir();
         t.executar("deletar_valor");
     },
     "total R$ 5,00"},
    {"modificar",
     [](auto& t) {
         t.adicionar(QStringLiteral("5"));
         t.adicionar(QStringLiteral("10"));
         t.ouvir();
         t.dlg->valores = {QStringLiteral("20")};
         t.executar("novo_valor");
     },
     "total R$ 25,00"},
    {"repetir",
     [](auto& t) {
         t.campo()->setText(QStringLiteral("5"));
         t.dlg->repeticoes = {3};
         t.executar("repetir_valor");
     },
     "total R$ 15,00"},
    {"limpar",
     [](auto& t) {
         t.adicionar(QStringLiteral("5"));
         t.ouvir();
         t.executar("limpar_valor");
     },
     "total R$ 0,00"},
    {"linha_acima",
     [](auto& t) {
         t.adicionar(QStringLiteral("1.234,56"));
         t.adicionar(QStringLiteral("7"));
         t.ouvir();
         t.tecla(t.campo(), Qt::Key_Up);
     },
     "linha 1: 1.234,56"},
    // At the top Up stays on line 1 and says it again.
    {"linha_acima_no_topo",
     [](auto& t) {
         t.adicionar(QStringLiteral("1"));
         t.ouvir();
         t.tecla(t.campo(), Qt::Key_Up);
     },
     "linha 1: 1,00"},
    {"linha_abaixo_fita_vazia", [](auto& t) { t.tecla(t.campo(), Qt::Key_Down); }, "fita vazia"},
    {"extenso_pedido",
     [](auto& t) {
         t.adicionar(QStringLiteral("12*50"));
         t.ouvir();
         t.executar("ler_extenso");
     },
     "total por extenso: SEISCENTOS REAIS"},
};

TEST_P(AnunciosDeComando, DizUmaVez) {
    GetParam().agir(*this);
    EXPECT_EQ(ouvir(), std::vector<QString>{QString::fromUtf8(GetParam().esperado)});
}

INSTANTIATE_TEST_SUITE_P(Acessibilidade, AnunciosDeComando, ::testing::ValuesIn(kAnuncios),
                         [](const auto& p) { return std::string(p.param.nome); });

// Orca reads a notification out only when it sits in a status bar without
// the word "notification" in front of it.
TEST_F(JanelaAcessivel, AnunciaPorUmaNotificacaoDaBarraDeEstado) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w("anuncio"));
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->role(), QAccessible::Notification);
    ASSERT_NE(i->parent(), nullptr);
    EXPECT_EQ(i->parent()->role(), QAccessible::StatusBar);
}

// While another window of the program is active (a dialog, the loading
// window) the announcement waits for the main window: Orca reads the window
// when it is active again, and that would cut the announcement short.
TEST_F(JanelaAcessivel, EsperaAJanelaVoltarAFicarAtiva) {
    QWidget outra;
    outra.show();
    ASSERT_TRUE(testes::ativar(&outra));
    adicionar(QStringLiteral("7"));
    EXPECT_TRUE(ouvir(50).empty());
    ASSERT_TRUE(testes::ativar(janela.get()));
    EXPECT_EQ(ouvir(500), std::vector<QString>{QStringLiteral("total R$ 7,00")});
}

// The focus and flat review read names and descriptions: they carry the
// values. Tab reaches the tape, the total and the words, in that order.
TEST_F(JanelaAcessivel, TabLeFitaTotalEExtenso) {
    adicionar(QStringLiteral("1.234,56"));
    adicionar(QStringLiteral("12*50"));
    ocioso();
    EXPECT_EQ(descricao(w("valores")), QStringLiteral("linha 2: 600,00"));
    campo()->setFocus();
    QStringList lidos;
    for (int i = 0; i < 3; ++i) {
        tecla(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* f = QApplication::focusWidget();
        ASSERT_NE(f, nullptr);
        lidos << QAccessible::queryAccessibleInterface(f)->text(QAccessible::Name);
    }
    EXPECT_EQ(lidos, (QStringList{"fita de valores", "total R$ 1.834,56",
                                  "total por extenso: UM MIL, OITOCENTOS E TRINTA E QUATRO "
                                  "REAIS E CINQUENTA E SEIS CENTAVOS"}));
}

} // namespace
} // namespace quarvel::app
