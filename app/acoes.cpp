#include "app/acoes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

namespace quarvel::app {

RoteadorAcoes::RoteadorAcoes(QMainWindow* janela, std::initializer_list<Comando> tabela) {
    for (const Comando& c : tabela) {
        auto* a = new QAction(QString::fromUtf8(c.texto), janela);
        a->setObjectName(QString::fromLatin1(c.nome));
        if (c.atalho) {
            a->setShortcut(QKeySequence(QString::fromLatin1(c.atalho)));
            atalhos_.insert(a->shortcut());
        }
        a->setShortcutContext(Qt::WindowShortcut);
        janela->addAction(a);
        acoes_.*c.membro = a;
        if (c.regra) regras_.emplace_back(a, c.regra);
        QObject::connect(a, &QAction::triggered, janela,
                         [a, executar = c.executar, regra = c.regra] {
                             if (regra) {
                                 const bool pode = regra();
                                 a->setEnabled(pode);
                                 if (!pode) return;
                             }
                             executar();
                         });
    }
}

void RoteadorAcoes::atualizar() {
    for (auto& [acao, regra] : regras_) {
        const bool pode = regra();
        if (acao->isEnabled() != pode) acao->setEnabled(pode);
    }
}

void ligar_historico(QAction* desfazer, QAction* refazer, QUndoStack& historico) {
    auto seguir = [&historico](QAction* acao, void (QUndoStack::*pode)(bool),
                               void (QUndoStack::*texto)(const QString&), bool pode_agora,
                               const QString& texto_agora) {
        const QString comando = acao->text();
        auto nomear = [acao, comando](const QString& passo) {
            acao->setText(passo.isEmpty() ? comando : comando + QStringLiteral(": ") + passo);
        };
        acao->setEnabled(pode_agora);
        nomear(texto_agora);
        QObject::connect(&historico, pode, acao, &QAction::setEnabled);
        QObject::connect(&historico, texto, acao, nomear);
    };
    seguir(desfazer, &QUndoStack::canUndoChanged, &QUndoStack::undoTextChanged, historico.canUndo(),
           historico.undoText());
    seguir(refazer, &QUndoStack::canRedoChanged, &QUndoStack::redoTextChanged, historico.canRedo(),
           historico.redoText());
}

namespace {

// A null member is a separator. A menu is named after its title, without
// the access key's "&".
void preencher(QMenu* m, const Acoes& a, std::initializer_list<MembroAcao> itens) {
    m->setAccessibleName(m->title().remove(QLatin1Char('&')));
    for (MembroAcao item : itens) {
        if (item == nullptr)
            m->addSeparator();
        else
            m->addAction(a.*item);
    }
}

} // namespace

void montar_menu_principal(QMainWindow* janela, const Acoes& a) {
    auto* barra = janela->menuBar();
    barra->setObjectName(QStringLiteral("MENU"));
    barra->setAccessibleName(QStringLiteral("menu principal"));
    preencher(barra->addMenu(QStringLiteral("&Arquivo")), a,
              {&Acoes::novo, nullptr, &Acoes::abrir, &Acoes::salvar_padrao, &Acoes::salvar_como,
               nullptr, &Acoes::sair});
    preencher(barra->addMenu(QStringLiteral("&Edições")), a,
              {&Acoes::desfazer,
               &Acoes::refazer,
               nullptr,
               &Acoes::limpar_valor,
               nullptr,
               &Acoes::add_valor,
               &Acoes::novo_valor,
               &Acoes::deletar_valor,
               nullptr,
               &Acoes::repetir_valor,
               &Acoes::transf,
               &Acoes::ler_extenso,
               nullptr,
               &Acoes::abrir_txt,
               &Acoes::save_txt,
               nullptr,
               &Acoes::armazenar_memoria,
               &Acoes::valor_memoria,
               nullptr,
               &Acoes::backup});
    preencher(barra->addMenu(QStringLiteral("&Localização")), a,
              {&Acoes::buscar, &Acoes::buscar_prox});
    preencher(barra->addMenu(QStringLiteral("&Imprimir")), a,
              {&Acoes::visualizar, &Acoes::imprimir});
    preencher(barra->addMenu(QStringLiteral("&Ajuda")), a, {&Acoes::ajuda, &Acoes::sobre});
}

void montar_barra_ferramentas(QMainWindow* janela, const Acoes& a, int altura) {
    // A tool bar's accessible interface keeps the title it had when it was
    // made, before any accessible name: the title is the name it is read by.
    // It shows nowhere else.
    auto* barra = janela->addToolBar(QStringLiteral("barra de ferramentas"));
    barra->setObjectName(QStringLiteral("BarraFerramentas"));
    barra->setAccessibleName(barra->windowTitle());
    if (auto* mais = barra->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        mais->setAccessibleName(QStringLiteral("mais botões"));
    barra->setMovable(false);
    barra->setFloatable(false);
    barra->setIconSize(QSize(24, 24));
    barra->setFixedHeight(altura);
    barra->setToolButtonStyle(Qt::ToolButtonIconOnly);
    barra->setContextMenuPolicy(Qt::PreventContextMenu);
    struct Botao {
        MembroAcao comando; // null: a separator
        const char* icone;
        const char* dica;
    };
    const Botao botoes[] = {
        {&Acoes::novo, "novo", "Novo"},
        {&Acoes::abrir, "abrir", "Abrir"},
        {&Acoes::salvar_padrao, "salvar", "Salvar"},
        {nullptr, nullptr, nullptr},
        {&Acoes::add_valor, "adicionar", "Adicionar"},
        {&Acoes::novo_valor, "modificar", "Modificar"},
        {&Acoes::deletar_valor, "deletar", "Deletar"},
        {&Acoes::buscar, "localizar", "Localizar"},
        {&Acoes::buscar_prox, "localizar_proximo", "Localizar Próximo"},
        {&Acoes::limpar_valor, "limpar", "Limpar Tudo"},
        {nullptr, nullptr, nullptr},
        {&Acoes::visualizar, "visualizar", "Visualizar Impressão"},
        {&Acoes::imprimir, "imprimir", "Imprimir"},
        {nullptr, nullptr, nullptr},
        {&Acoes::ajuda, "ajuda", "Ajuda"},
    };
    for (const Botao& b : botoes) {
        if (!b.comando) {
            barra->addSeparator();
            continue;
        }
        QAction* acao = a.*b.comando;
        acao->setIcon(QIcon(QStringLiteral(":/icones/%1.svg").arg(QString::fromLatin1(b.icone))));
        acao->setToolTip(QString::fromUtf8(b.dica));
        barra->addAction(acao);
        if (QWidget* w = barra->widgetForAction(acao)) {
            w->setFixedSize(37, 31);
            w->setCursor(Qt::PointingHandCursor);
        }
    }
}

QMenu* montar_pop(QWidget* dono, const Acoes& a) {
    // The items run the main commands under captions of their own; the
    // shortcuts they show are the main menu's.
    auto* pop = new QMenu(dono);
    pop->setObjectName(QStringLiteral("pop"));
    struct Item {
        MembroAcao comando; // null: a separator
        const char* texto;  // null: the main menu's caption
        bool mostra_atalho;
    };
    const Item itens[] = {
        {&Acoes::limpar_valor, nullptr, true},
        {nullptr, nullptr, false},
        {&Acoes::add_valor, "&Adicionar", true},
        {&Acoes::novo_valor, nullptr, true},
        {&Acoes::deletar_valor, nullptr, true},
        {nullptr, nullptr, false},
        {&Acoes::buscar, nullptr, true},
        {&Acoes::buscar_prox, nullptr, true},
        {nullptr, nullptr, false},
        {&Acoes::armazenar_memoria, nullptr, true},
        {nullptr, nullptr, false},
        {&Acoes::repetir_valor, nullptr, true},
        {&Acoes::transf, nullptr, false},
        {nullptr, nullptr, false},
        {&Acoes::abrir_txt, "Importar Arquivo de Texto", true},
        {&Acoes::save_txt, "&Exportar Para Arquivo de Texto", true},
        {nullptr, nullptr, false},
        {&Acoes::visualizar, nullptr, true},
        {&Acoes::imprimir, nullptr, true},
    };
    for (const Item& i : itens) {
        if (!i.comando) {
            pop->addSeparator();
            continue;
        }
        QAction* principal = a.*i.comando;
        auto* item = pop->addAction(i.texto ? QString::fromUtf8(i.texto) : principal->text());
        item->setObjectName(QStringLiteral("pop_") + principal->objectName());
        if (i.mostra_atalho) {
            item->setShortcut(principal->shortcut());
            item->setShortcutContext(Qt::WidgetShortcut); // shown only: the main action runs it
        }
        item->setEnabled(principal->isEnabled());
        QObject::connect(principal, &QAction::enabledChanged, item, &QAction::setEnabled);
        QObject::connect(item, &QAction::triggered, principal, &QAction::trigger);
    }
    return pop;
}

void instalar_menu_edicao(QLineEdit* campo, QAction* memoria) {
    campo->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        campo, &QWidget::customContextMenuRequested, campo, [campo, memoria](const QPoint& p) {
            QMenu m(campo);
            m.setObjectName(memoria ? QStringLiteral("mnu2") : QStringLiteral("mnu1"));
            m.setAccessibleName(QStringLiteral("menu de edição"));
            const bool selecao = campo->hasSelectedText();
            auto item = [&](const char* texto, const char* atalho, bool ativo, auto fazer) {
                QAction* a = m.addAction(QString::fromUtf8(texto));
                if (atalho) a->setShortcut(QKeySequence(QString::fromLatin1(atalho)));
                a->setEnabled(ativo);
                QObject::connect(a, &QAction::triggered, campo, fazer);
            };
            item("&Desfazer", "Ctrl+Z", campo->isUndoAvailable(), &QLineEdit::undo);
            m.addSeparator();
            item(memoria ? "&Recortar" : "Recortar", "Ctrl+X", selecao, &QLineEdit::cut);
            item(memoria ? "&Copiar" : "Copiar", "Ctrl+C", selecao, &QLineEdit::copy);
            item("&Colar", "Ctrl+V", !QApplication::clipboard()->text().isEmpty(),
                 &QLineEdit::paste);
            item("&Excluir", "Ctrl+Del", selecao, &QLineEdit::del);
            m.addSeparator();
            item("&Selecionar Tudo", "Ctrl+A", !campo->text().isEmpty(), &QLineEdit::selectAll);
            if (memoria) {
                QAction* recuperar = m.addAction(QStringLiteral("Valor Armazenado Na Memória"));
                recuperar->setShortcut(memoria->shortcut());
                recuperar->setEnabled(memoria->isEnabled());
                QObject::connect(recuperar, &QAction::triggered, memoria, &QAction::trigger);
            }
            m.exec(campo->mapToGlobal(p));
        });
}

} // namespace quarvel::app
