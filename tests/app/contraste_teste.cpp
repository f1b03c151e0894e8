// Every text of the main window, its dialogs and the preview stays readable
// (contrast of at least 4.5:1, WCAG's AA) when the desktop hands the program
// a dark palette, set as the application palette as a platform theme sets
// it, before the program sets its own look.
#include "app/aparencia.h"
#include "app/controles.h"
#include "tests/app/janela_apoio.h"
#include "tests/app/janelas_programa.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTextEdit>

#include <cmath>

namespace quarvel::app {
namespace {

double luminancia(const QColor& c) {
    auto canal = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * canal(c.red()) + 0.7152 * canal(c.green()) + 0.0722 * canal(c.blue());
}

double contraste(const QColor& a, const QColor& b) {
    const double la = luminancia(a), lb = luminancia(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What is behind a widget that paints no background of its own: the nearest
// ancestor that does (a window always does).
QColor fundo_atras(const QWidget* w) {
    for (const QWidget* a = w; a; a = a->parentWidget())
        if (a->autoFillBackground() || a->isWindow())
            return a->palette().color(a->backgroundRole());
    return Qt::white;
}

// A style sheet's own background, where one is set ("background-color: rgb(...)").
std::optional<QColor> fundo_da_folha(const QWidget* w) {
    static const QRegularExpression re(
        QStringLiteral(R"(background-color:\s*rgb\((\d+),\s*(\d+),\s*(\d+)\))"));
    const QRegularExpressionMatch m = re.match(w->styleSheet());
    if (!m.hasMatch()) return std::nullopt;
    return QColor(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

struct Leitura {
    QString onde;
    QColor texto, fundo;
};

// The text colour and what is behind it, for every visible, enabled widget
// that shows text.
std::vector<Leitura> leituras(QWidget* raiz) {
    std::vector<Leitura> r;
    QList<QWidget*> todos = raiz->findChildren<QWidget*>();
    todos.prepend(raiz);
    for (QWidget* w : todos) {
        if (!w->isVisibleTo(raiz->window()) || !w->isEnabled()) continue;
        const QPalette& p = w->palette();
        const QString onde = QStringLiteral("%1 %2 %3")
                                 .arg(QString::fromLatin1(w->metaObject()->className()),
                                      w->objectName(), w->accessibleName());
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) {
            r.push_back({onde, p.color(l->foregroundRole()), fundo_atras(l)});
        } else if (auto* g = qobject_cast<QGroupBox*>(w); g && !g->title().isEmpty()) {
            r.push_back({onde, p.color(QPalette::WindowText), fundo_atras(g)});
        } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
            r.push_back({onde, p.color(QPalette::WindowText), fundo_atras(c)});
        } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
            r.push_back({onde, p.color(QPalette::ButtonText),
                         fundo_da_folha(b).value_or(p.color(QPalette::Button))});
        } else if (qobject_cast<QComboBox*>(w)) {
            r.push_back({onde, p.color(QPalette::ButtonText),
                         fundo_da_folha(w).value_or(p.color(QPalette::Button))});
        } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                   qobject_cast<QTextEdit*>(w)) {
            r.push_back({onde, p.color(QPalette::Text), p.color(QPalette::Base)});
        }
    }
    return r;
}

// The texts under 4.5:1, each with its colours and ratio.
QStringList ilegiveis(QWidget* raiz) {
    QStringList r;
    for (const Leitura& l : leituras(raiz)) {
        const double c = contraste(l.texto, l.fundo);
        if (c < 4.5)
            r << QStringLiteral("%1: %2 sobre %3 = %4:1")
                     .arg(l.onde, l.texto.name(), l.fundo.name())
                     .arg(c, 0, 'f', 2);
    }
    return r;
}

// ---------------------------------------------------------------------------
// The desktops' palettes.

// The colours a dark desktop gives the roles that carry text and what is
// behind it, as Qt 6.4's gtk3 theme makes them of Adwaita-dark and its KDE
// theme of Breeze Dark (printed from QApplication::palette() under each).
struct Esquema {
    const char* nome;
    QColor janela, texto_janela, base, texto, botao, texto_botao, dica, texto_dica;
};
void PrintTo(const Esquema& e, std::ostream* os) {
    *os << e.nome;
}

QPalette paleta(const Esquema& e) {
    QPalette p(e.texto_janela, e.botao, e.botao.lighter(150), e.botao.darker(150), e.botao, e.texto,
               Qt::white, e.base, e.janela);
    p.setColor(QPalette::ButtonText, e.texto_botao);
    p.setColor(QPalette::ToolTipBase, e.dica);
    p.setColor(QPalette::ToolTipText, e.texto_dica);
    return p;
}

const Esquema kEsquemas[] = {
    {"adwaita_dark_gtk3",
     {50, 50, 50},
     {240, 240, 240},
     {36, 36, 36},
     {240, 240, 240},
     {50, 50, 50},
     {240, 240, 240},
     {255, 255, 220},
     {0, 0, 0}},
    {"breeze_dark_kde",
     {35, 38, 41},
     {239, 240, 241},
     {27, 30, 32},
     {252, 252, 252},
     {49, 54, 59},
     {252, 252, 252},
     {49, 54, 59},
     {252, 252, 252}},
};

class ContrasteEscuro : public JanelaTeste, public ::testing::WithParamInterface<Esquema> {
  protected:
    void SetUp() override {
        // As a platform theme does at start, then the program's own look.
        QApplication::setPalette(paleta(GetParam()));
        aplicar_aparencia_clara();
        JanelaTeste::SetUp();
    }
    void TearDown() override {
        JanelaTeste::TearDown();
        QApplication::setPalette(QPalette());
    }
};

// The measure finds the fault a dark desktop theme causes: without the
// program's light look, a blue group caption on the dark window reads at under 2:1.
TEST_P(ContrasteEscuro, SemAAparenciaClaraUmTituloAzulFicaIlegivel) {
    const QPalette escura = paleta(GetParam());
    EXPECT_LT(luminancia(escura.color(QPalette::Window)), 0.05);
    QApplication::setPalette(escura);
    QWidget janela_escura;
    grupo(&janela_escura, "g01", QStringLiteral("Inserção de Valores"), QRect(0, 0, 190, 80));
    janela_escura.show();
    EXPECT_EQ(ilegiveis(&janela_escura).size(), 1);
}

// The light look does not come from the style or the theme: under gtk3 a
// dark GTK theme makes even Fusion's "standard" palette dark.
TEST_P(ContrasteEscuro, PaletaClaraNaoDependeDoTema) {
    const QPalette p = paleta_clara();
    EXPECT_EQ(p.color(QPalette::Window), QColor(239, 239, 239));
    EXPECT_EQ(p.color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(p.color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(239, 239, 239));
}

TEST_P(ContrasteEscuro, JanelaPrincipal) {
    adicionar(QStringLiteral("1.234"));
    adicionar(QStringLiteral("12*50"));
    const std::vector<Leitura> lidas = leituras(janela.get());
    EXPECT_GT(lidas.size(), 40u) << "leu poucos textos";
    EXPECT_EQ(ilegiveis(janela.get()), QStringList());
}

TEST_P(ContrasteEscuro, Dialogos) {
    for (const JanelaPrograma& j : janelas_programa()) {
        if (j.so_figura) continue;
        const auto d = j.criar(janela.get());
        const char* nome = j.nome;
        d->show();
        QApplication::processEvents();
        EXPECT_GT(leituras(d.get()).size(), 0u) << nome;
        EXPECT_EQ(ilegiveis(d.get()), QStringList()) << nome;
        d->hide();
    }
}

INSTANTIATE_TEST_SUITE_P(Aparencia, ContrasteEscuro, ::testing::ValuesIn(kEsquemas),
                         [](const auto& p) { return std::string(p.param.nome); });

} // namespace
} // namespace quarvel::app
