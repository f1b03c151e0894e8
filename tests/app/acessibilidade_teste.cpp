// What a screen reader gets, read in-process through QAccessibleInterface —
// the very data the AT-SPI bridge serves: every control of the main window
// and of each dialog has a name, the names are there, and the tape,
// the total and the words announce their changes.
#include "app/frm_erro.h"
#include "app/frm_sobre.h"
#include "app/frm_splash.h"
#include "documents/frm_loading.h"
#include "documents/frm_restaurar.h"
#include "printing/documento_impressao.h"
#include "printing/frm_visualizar.h"
#include "tape/campo_valor.h"
#include "tape/frm_repetir.h"
#include "tape/frm_valor.h"
#include "tests/app/janela_apoio.h"

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

struct Janela {
    const char* nome;
    std::function<std::unique_ptr<QWidget>()> criar;
};
void PrintTo(const Janela& j, std::ostream* os) {
    *os << j.nome;
}

printing::DocumentoImpressao& documento() {
    static printing::DocumentoImpressao doc = [] {
        printing::DocumentoImpressao d;
        printing::ConteudoImpressao c;
        for (int i = 1; i <= 80; ++i)
            c.linhas_fita << QStringLiteral("%1,00").arg(i);
        c.total = QStringLiteral("R$ 3.240,00");
        c.titulo = QStringLiteral("Quarvel");
        d.preparar(c);
        return d;
    }();
    return doc;
}

const Janela kJanelas[] = {
    {"modificar_valor",
     [] {
         return std::make_unique<tape::FormValor>(QStringLiteral("Modificar Valor"),
                                                  QStringLiteral("Novo Valor:"));
     }},
    {"buscar_valor",
     [] {
         return std::make_unique<tape::FormValor>(
             QStringLiteral("Buscar Valor"), QStringLiteral("Digite o valor que deseja buscar:"));
     }},
    {"repetir", [] { return std::make_unique<tape::FormRepetir>(); }},
    {"restaurar",
     [] {
         return std::make_unique<documents::FormRestaurar>(
             QStringList{"malote.qvlbackup", "caixa.qvlbackup"}, [] {});
     }},
    {"restaurar_sem_backups",
     [] { return std::make_unique<documents::FormRestaurar>(QStringList{}, [] {}); }},
    {"sobre", [] { return std::make_unique<FormSobre>(); }},
    {"erro",
     [] {
         return std::make_unique<FormErro>(QStringLiteral("Arquivo não encontrado"), 0x0040A1FF,
                                           QStringLiteral("/tmp/recuperacao.qvl"));
     }},
    {"aguarde", [] { return std::make_unique<documents::FormLoading>(nullptr); }},
    {"splash", [] { return std::make_unique<FormSplash>(); }},
    {"visualizar",
     [] {
         auto d = std::make_unique<printing::TestPrintPreviewDlg>(documento());
         d->setWindowState(Qt::WindowNoState);
         d->resize(800, 600);
         return d;
     }},
};

class JanelasDialogo : public ::testing::TestWithParam<Janela> {};

TEST_P(JanelasDialogo, TodoControleTemNome) {
    auto w = GetParam().criar();
    w->show();
    QApplication::processEvents();
    EXPECT_EQ(sem_nome(w.get()), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Acessibilidade, JanelasDialogo, ::testing::ValuesIn(kJanelas),
                         [](const auto& p) { return std::string(p.param.nome); });

// ---------------------------------------------------------------------------
// The main window.

// What the window announced: the events sent, each with the description its
// object had at that moment.
struct Anuncio {
    const QObject* objeto;
    QAccessible::Event tipo;
    QString descricao;
};
std::vector<Anuncio>& anuncios() {
    static std::vector<Anuncio> lista;
    return lista;
}

void registrar(QAccessibleEvent* e) {
    const QObject* o = e->object();
    QString d;
    if (auto* w = qobject_cast<const QWidget*>(o)) d = w->accessibleDescription();
    anuncios().push_back({o, e->type(), d});
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

    // Descriptions announced by `objeto` since the last clear, in order.
    QStringList anunciado(const char* objeto) const {
        QStringList r;
        const QWidget* alvo = w(objeto);
        for (const Anuncio& a : anuncios())
            if (a.objeto == alvo && a.tipo == QAccessible::DescriptionChanged) r << a.descricao;
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

TEST_F(JanelaAcessivel, AdicionarAnunciaLinhaTotalEExtenso) {
    EXPECT_EQ(descricao(w("valores")), QStringLiteral("fita vazia"));
    adicionar(QStringLiteral("12*50"));
    ocioso();
    EXPECT_EQ(anunciado("valores"), QStringList{"linha 1: 600,00"});
    EXPECT_EQ(anunciado("valor_final"), QStringList{"R$ 600,00"});
    EXPECT_EQ(anunciado("valor_leitor"), QStringList{"SEISCENTOS REAIS"});
    EXPECT_EQ(descricao(w("valor_final")), QStringLiteral("R$ 600,00"));

    // Idle again with nothing changed: nothing more is said.
    anuncios().clear();
    ocioso();
    EXPECT_TRUE(anunciado("valores").isEmpty());
    EXPECT_TRUE(anunciado("valor_final").isEmpty());
    EXPECT_TRUE(anunciado("valor_leitor").isEmpty());
}

TEST_F(JanelaAcessivel, MudarALinhaAtualAnunciaLinhaEValor) {
    adicionar(QStringLiteral("1.234,56"));
    adicionar(QStringLiteral("7"));
    ocioso();
    EXPECT_EQ(descricao(w("valores")), QStringLiteral("linha 2: 7,00"));
    anuncios().clear();

    tecla(campo(), Qt::Key_Up);
    ocioso();
    EXPECT_EQ(anunciado("valores"), QStringList{"linha 1: 1.234,56"});
    EXPECT_TRUE(anunciado("valor_final").isEmpty()) << "o total não mudou";

    // Up at the first line stays there: nothing to announce.
    anuncios().clear();
    tecla(campo(), Qt::Key_Up);
    ocioso();
    EXPECT_TRUE(anunciado("valores").isEmpty());

    tecla(campo(), Qt::Key_Down);
    ocioso();
    EXPECT_EQ(anunciado("valores"), QStringList{"linha 2: 7,00"});
}

TEST_F(JanelaAcessivel, ModificarDeletarELimparAnunciam) {
    adicionar(QStringLiteral("5"));
    adicionar(QStringLiteral("10"));
    ocioso();
    anuncios().clear();

    // The current line keeps its number but shows another value.
    dlg->valores = {QStringLiteral("20")};
    executar("novo_valor");
    ocioso();
    EXPECT_EQ(anunciado("valores"), QStringList{"linha 2: 20,00"});
    EXPECT_EQ(anunciado("valor_final"), QStringList{"R$ 25,00"});
    EXPECT_EQ(anunciado("valor_leitor"), QStringList{"VINTE E CINCO REAIS"});

    anuncios().clear();
    executar("deletar_valor");
    ocioso();
    EXPECT_EQ(anunciado("valores"), QStringList{"linha 1: 5,00"});
    EXPECT_EQ(anunciado("valor_final"), QStringList{"R$ 5,00"});

    anuncios().clear();
    executar("limpar_valor");
    ocioso();
    EXPECT_EQ(anunciado("valores"), QStringList{"fita vazia"});
    EXPECT_EQ(anunciado("valor_final").size(), 1);
}

} // namespace
} // namespace quarvel::app
