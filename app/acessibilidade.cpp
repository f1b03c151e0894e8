#include "app/acessibilidade.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QChildEvent>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "tape/teclado.h"
#include "tape/visao_fita.h"

namespace quarvel::app {

namespace {

struct Nome {
    const char* objeto;
    const char* nome;      // nullptr: the text it shows is its name
    const char* descricao; // nullptr: the name says it all
};

// The keypad's buttons show pictures ("7", "×", "↵"); a screen reader says
// the word.
constexpr Nome kTeclado[] = {
    {"b01", "zero", "acrescenta 0 ao valor digitado"},
    {"b02", "vírgula", "acrescenta a vírgula decimal ao valor digitado"},
    {"b03", "adicionar valor", "adiciona o valor digitado à fita, como a tecla Enter"},
    {"b04", "um", "acrescenta 1 ao valor digitado"},
    {"b05", "dois", "acrescenta 2 ao valor digitado"},
    {"b06", "três", "acrescenta 3 ao valor digitado"},
    {"b07", "menos", "acrescenta o sinal de subtração ao valor digitado"},
    {"b08", "fecha parêntese", "acrescenta ) ao valor digitado"},
    {"b09", "quatro", "acrescenta 4 ao valor digitado"},
    {"b10", "cinco", "acrescenta 5 ao valor digitado"},
    {"b11", "seis", "acrescenta 6 ao valor digitado"},
    {"b12", "mais", "acrescenta o sinal de adição ao valor digitado"},
    {"b13", "abre parêntese", "acrescenta ( ao valor digitado"},
    {"b14", "sete", "acrescenta 7 ao valor digitado"},
    {"b15", "oito", "acrescenta 8 ao valor digitado"},
    {"b16", "nove", "acrescenta 9 ao valor digitado"},
    {"b17", "vezes", "acrescenta o sinal de multiplicação ao valor digitado"},
    {"b18", "dividido por", "acrescenta o sinal de divisão ao valor digitado"},
};

constexpr Nome kControles[] = {
    {"texto_valor", "valor digitado",
     "um valor em reais ou uma expressão, como 12*50; Enter adiciona à fita, as setas para cima "
     "e para baixo mudam a linha atual"},
    {"valores", "fita de valores", nullptr}, // the description is the current line
    {"valor_final", "total", nullptr},       // the descriptions are the values
    {"valor_leitor", "total por extenso", nullptr},
    {"cabecalho", "título do cabeçalho", "impresso no alto de cada página"},
    {"rodape", "título do rodapé", "impresso no pé de cada página"},
    {"d01", nullptr, "grava a fita na pasta Backup a cada intervalo escolhido"},
    {"qtdetempo", "intervalo do backup em minutos", nullptr},
    {"nome_arquivo", "nome do arquivo de backup", "nome com que a fita é gravada na pasta Backup"},
    {"MENU", "menu principal", nullptr},
    {"barra_estado", "barra de estado", nullptr},
    {"relogio", nullptr, "data e hora"},
    {"pop", "menu da fita", nullptr},
};

void nomear(QWidget* w, const char* nome, const char* descricao) {
    if (!w) return;
    if (nome) w->setAccessibleName(QString::fromUtf8(nome));
    if (descricao) w->setAccessibleDescription(QString::fromUtf8(descricao));
}

void nomear(const QObject& raiz, const Nome& n) {
    nomear(raiz.findChild<QWidget*>(QString::fromLatin1(n.objeto)), n.nome, n.descricao);
}

// The tape's description: its current line (1-based) and what it shows.
QString descrever_linha(int linha, const QString& texto) {
    if (linha < 1) return QStringLiteral("fita vazia");
    return QStringLiteral("linha %1: %2").arg(linha).arg(texto);
}

// Follows the values shown and puts each into a description when it has
// changed. Runs whenever the event loop goes idle, as the enabling rules do,
// so every command that moves the current line or changes the total is
// covered without knowing of it; comparing three short texts costs nothing.
class Locutor : public QObject {
  public:
    explicit Locutor(QMainWindow& janela) : QObject(&janela) {
        fita_ = janela.findChild<tape::VisaoFita*>(QStringLiteral("valores"));
        for (const char* nome : {"valor_final", "valor_leitor"})
            rotulos_.append(janela.findChild<QLabel*>(QString::fromLatin1(nome)));
        if (auto* d = QAbstractEventDispatcher::instance())
            connect(d, &QAbstractEventDispatcher::aboutToBlock, this, &Locutor::anunciar);
        anunciar();
    }

    void anunciar() {
        if (fita_) {
            const int linha = fita_->linha_atual();
            const QModelIndex i = fita_->model()->index(linha - 1, 0);
            const QString d = descrever_linha(i.isValid() ? linha : 0, i.data().toString());
            if (fita_->accessibleDescription() != d) fita_->setAccessibleDescription(d);
        }
        // Setting a description that differs sends DescriptionChanged.
        for (const QPointer<QLabel>& r : rotulos_)
            if (r && r->accessibleDescription() != r->text())
                r->setAccessibleDescription(r->text());
    }

  private:
    QPointer<tape::VisaoFita> fita_;
    QList<QPointer<QLabel>> rotulos_;
};

// The text fields' editing menus are made each time they open; this names
// each one as it is about to show.
class NomeiaMenus : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* campo, QEvent* e) override {
        if (e->type() == QEvent::ChildPolished)
            if (auto* m = qobject_cast<QMenu*>(static_cast<QChildEvent*>(e)->child());
                m && m->accessibleName().isEmpty())
                m->setAccessibleName(QStringLiteral("menu de edição"));
        return QObject::eventFilter(campo, e);
    }
};

} // namespace

void tornar_acessivel(QMainWindow& janela) {
    // A tool bar's accessible interface keeps the title it had when it was
    // made, before any accessible name: the title goes first. It shows
    // nowhere else.
    if (auto* barra = janela.findChild<QToolBar*>(QStringLiteral("BarraFerramentas"))) {
        const char* nome = "barra de ferramentas";
        barra->setWindowTitle(QString::fromUtf8(nome));
        nomear(barra, nome, nullptr);
        nomear(barra->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")),
               "mais botões", nullptr);
    }
    for (const Nome& n : kTeclado)
        nomear(janela, n);
    for (const Nome& n : kControles)
        nomear(janela, n);
    nomear(janela.findChild<tape::Teclado*>(), "teclado", nullptr);

    if (auto* tempo = janela.findChild<QComboBox*>(QStringLiteral("qtdetempo"))) {
        nomear(tempo->view(), "minutos entre um backup e outro", nullptr);
        // On Linux a combo box is named by its current item; what it is for
        // comes from the label it is the buddy of.
        if (auto* l = janela.findChild<QLabel*>(QStringLiteral("rotulo_qtdetempo"))) {
            l->setBuddy(tempo);
            l->setAccessibleName(tempo->accessibleName());
        }
    }

    // The menus of the menu bar are named after their titles.
    for (QAction* a : janela.menuBar()->actions())
        if (QMenu* m = a->menu()) m->setAccessibleName(a->text().remove(QLatin1Char('&')));

    // The status bar's first two panels keep their texts as names.
    const auto paineis =
        janela.statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    const char* descricoes[] = {"versão do programa", "autor e site do programa"};
    for (int i = 0; i < paineis.size() && i < 2; ++i)
        paineis[i]->setAccessibleDescription(QString::fromUtf8(descricoes[i]));

    auto* menus = new NomeiaMenus(&janela);
    for (const char* nome : {"texto_valor", "cabecalho", "rodape", "nome_arquivo"})
        if (auto* campo = janela.findChild<QWidget*>(QString::fromLatin1(nome)))
            campo->installEventFilter(menus);

    new Locutor(janela);
}

} // namespace quarvel::app
