// The main window's layout: menus, tool bar, the controls at their fixed
// places in the client area, the status bar and the pop-up menus.
#include "app/frm_principal.h"

#include "documents/validador_configuracao.h"
#include "tape/campo_valor.h"
#include "tape/teclado.h"
#include "tape/visao_fita.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace quarvel::app {
namespace {

// The tool bar takes the top 39 pixels of the client area; the controls
// below are placed by their client-area coordinates.
constexpr int kAlturaBarra = 39;

QRect area(int x, int y, int w, int h) {
    return QRect(x, y - kAlturaBarra, w, h);
}

// Inside a group box: the caption stands above the frame line here rather
// than on it, so the controls go a little lower to clear the line.
constexpr int kDescidaGrupo = 4;

QRect no_grupo(int x, int y, int w, int h) {
    return QRect(x, y + kDescidaGrupo, w, h);
}

QFont fonte(const char* familia, int pontos, bool negrito = false) {
    QFont f(QString::fromLatin1(familia));
    f.setPointSize(pontos);
    f.setBold(negrito);
    return f;
}

void pintar_fundo(QWidget* w, QColor fundo, QColor texto = Qt::black) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, fundo);
    p.setColor(QPalette::Text, texto);
    w->setPalette(p);
}

QGroupBox* grupo(QWidget* pai, const char* nome, const QString& titulo, QRect r) {
    auto* g = new QGroupBox(titulo, pai);
    g->setObjectName(QString::fromLatin1(nome));
    g->setGeometry(r);
    QPalette p = g->palette();
    p.setColor(QPalette::WindowText, Qt::blue); // the caption; labels inside stay black
    g->setPalette(p);
    return g;
}

QLabel* rotulo(QWidget* pai, const QString& texto, QRect r) {
    auto* l = new QLabel(texto, pai);
    l->setGeometry(r);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(p);
    return l;
}

QLabel* mostrador(QWidget* pai, const char* nome, QRect r, const QFont& f, const QString& texto) {
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setGeometry(r);
    l->setFont(f);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, QColor(0, 255, 0));
    l->setPalette(p);
    return l;
}

} // namespace

void FormPrincipal::criar_acoes() {
    auto tem_linhas = [this] { return !fita_.vazia(); };
    nova_acao("novo", QStringLiteral("&Novo"), &FormPrincipal::novoExecute)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    nova_acao("abrir", QStringLiteral("&Abrir"), &FormPrincipal::abrirExecute)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    nova_acao("salvar_padrao", QStringLiteral("&Salvar"), &FormPrincipal::salvar_padraoExecute)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    nova_acao("salvar_como", QStringLiteral("&Salvar Como"), &FormPrincipal::salvar_comoExecute);
    auto* sair = new QAction(QStringLiteral("&Sair"), this);
    sair->setObjectName(QStringLiteral("sair"));
    connect(sair, &QAction::triggered, this, &QWidget::close);
    comandos_["sair"] = Comando{sair, {}};

    nova_acao("limpar_valor", QStringLiteral("&Limpar Tudo"), &FormPrincipal::limpar_valorExecute,
              tem_linhas)
        ->setShortcut(QKeySequence(QStringLiteral("Shift+Del")));
    nova_acao("add_valor", QStringLiteral("Adicionar"), &FormPrincipal::add_valorExecute);
    nova_acao("novo_valor", QStringLiteral("&Modificar"), &FormPrincipal::novo_valorExecute,
              tem_linhas)
        ->setShortcut(QKeySequence(Qt::Key_Insert));
    nova_acao("deletar_valor", QStringLiteral("&Deletar"), &FormPrincipal::deletar_valorExecute,
              tem_linhas)
        ->setShortcut(QKeySequence(Qt::Key_Delete));
    nova_acao("repetir_valor", QStringLiteral("&Repetir Valor"),
              &FormPrincipal::repetir_valorExecute,
              [this] { return !texto_valor_->text().isEmpty(); })
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    nova_acao("transf", QStringLiteral("&Exportar Resultado para Área de Transferência"),
              &FormPrincipal::transfExecute, tem_linhas)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+K")));
    nova_acao("abrir_txt", QStringLiteral("&Importar Arquivo de Texto"),
              &FormPrincipal::abrir_txtExecute);
    nova_acao("save_txt", QStringLiteral("&Exportar Arquivo de Texto"),
              &FormPrincipal::save_txtExecute, tem_linhas);
    nova_acao("armazenar_memoria", QStringLiteral("&Armazenar Na Memória"),
              &FormPrincipal::armazenar_memoriaExecute, tem_linhas)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));
    nova_acao("valor_memoria", QStringLiteral("Valor Armazenado na Memória"),
              &FormPrincipal::valor_memoriaExecute, [this] { return !texto_memoria_.isEmpty(); })
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    nova_acao("backup", QStringLiteral("Restaurar / Limpar Backup"), &FormPrincipal::backupExecute);

    nova_acao("buscar", QStringLiteral("&Localizar Valor"), &FormPrincipal::buscarExecute,
              tem_linhas)
        ->setShortcut(QKeySequence(Qt::Key_F2));
    nova_acao("buscar_prox", QStringLiteral("&Localizar Próximo Valor"),
              &FormPrincipal::buscar_proxExecute,
              [this] { return valor_busca_ != 0 && !fita_.vazia(); })
        ->setShortcut(QKeySequence(Qt::Key_F3));

    nova_acao("visualizar", QStringLiteral("&Visualizar Impressão"),
              &FormPrincipal::visualizarExecute, tem_linhas)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    nova_acao("imprimir", QStringLiteral("&Imprimir"), &FormPrincipal::imprimirExecute, tem_linhas)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    nova_acao("ajuda", QStringLiteral("&Ajuda"), &FormPrincipal::ajudaExecute)
        ->setShortcut(QKeySequence(Qt::Key_F1));
    nova_acao("sobre", QStringLiteral("&Sobre"), &FormPrincipal::sobreExecute);

    // Main-menu shortcuts act while the main window is active, whatever has the focus.
    for (auto& [nome, c] : comandos_) {
        c.acao->setShortcutContext(Qt::WindowShortcut);
        addAction(c.acao);
    }
}

void FormPrincipal::criar_menus() {
    auto* barra = menuBar();
    barra->setObjectName(QStringLiteral("MENU"));
    auto adicionar = [this](QMenu* m, std::initializer_list<const char*> nomes) {
        for (const char* n : nomes) {
            if (n == nullptr)
                m->addSeparator();
            else
                m->addAction(acao(n));
        }
    };
    adicionar(barra->addMenu(QStringLiteral("&Arquivo")),
              {"novo", nullptr, "abrir", "salvar_padrao", "salvar_como", nullptr, "sair"});
    adicionar(barra->addMenu(QStringLiteral("&Edições")),
              {"limpar_valor", nullptr, "add_valor", "novo_valor", "deletar_valor", nullptr,
               "repetir_valor", "transf", nullptr, "abrir_txt", "save_txt", nullptr,
               "armazenar_memoria", "valor_memoria", nullptr, "backup"});
    adicionar(barra->addMenu(QStringLiteral("&Localização")), {"buscar", "buscar_prox"});
    adicionar(barra->addMenu(QStringLiteral("&Imprimir")), {"visualizar", "imprimir"});
    adicionar(barra->addMenu(QStringLiteral("&Ajuda")), {"ajuda", "sobre"});
}

void FormPrincipal::criar_barra_ferramentas() {
    auto* barra = addToolBar(QStringLiteral("BarraFerramentas"));
    barra->setObjectName(QStringLiteral("BarraFerramentas"));
    barra->setMovable(false);
    barra->setFloatable(false);
    barra->setIconSize(QSize(24, 24));
    barra->setFixedHeight(kAlturaBarra);
    barra->setToolButtonStyle(Qt::ToolButtonIconOnly);
    barra->setContextMenuPolicy(Qt::PreventContextMenu);
    struct Botao {
        const char* comando;
        const char* icone;
        const char* dica;
    };
    const Botao botoes[] = {
        {"novo", "novo", "Novo"},
        {"abrir", "abrir", "Abrir"},
        {"salvar_padrao", "salvar", "Salvar"},
        {nullptr, nullptr, nullptr},
        {"add_valor", "adicionar", "Adicionar"},
        {"novo_valor", "modificar", "Modificar"},
        {"deletar_valor", "deletar", "Deletar"},
        {"buscar", "localizar", "Localizar"},
        {"buscar_prox", "localizar_proximo", "Localizar Próximo"},
        {"limpar_valor", "limpar", "Limpar Tudo"},
        {nullptr, nullptr, nullptr},
        {"visualizar", "visualizar", "Visualizar Impressão"},
        {"imprimir", "imprimir", "Imprimir"},
        {nullptr, nullptr, nullptr},
        {"ajuda", "ajuda", "Ajuda"},
    };
    for (const Botao& b : botoes) {
        if (!b.comando) {
            barra->addSeparator();
            continue;
        }
        QAction* a = acao(b.comando);
        a->setIcon(QIcon(QStringLiteral(":/icones/%1.svg").arg(QString::fromLatin1(b.icone))));
        a->setToolTip(QString::fromUtf8(b.dica));
        barra->addAction(a);
        if (QWidget* w = barra->widgetForAction(a)) {
            w->setFixedSize(37, 31);
            w->setCursor(Qt::PointingHandCursor);
        }
    }
}

void FormPrincipal::criar_controles() {
    auto* cliente = new QWidget(this);
    cliente->setObjectName(QStringLiteral("cliente"));
    setCentralWidget(cliente);

    valores_ = new tape::VisaoFita(fita_, cliente);
    connect(&fita_, &tape::FitaModelo::alterada, this, &FormPrincipal::atualizar_total);
    valores_->setGeometry(area(7, 45, 217, 256));
    connect(valores_, &tape::VisaoFita::linha_clicada, this, [this] { texto_valor_->setFocus(); });
    connect(valores_, &tape::VisaoFita::linha_duplo_clique, this, [this] {
        if (!fita_.vazia()) acao("novo_valor")->trigger();
    });

    teclado_ = new tape::Teclado(cliente);
    teclado_->setGeometry(area(231, 45, 189, 127));

    auto* g01 =
        grupo(cliente, "g01", QStringLiteral("Inserção de Valores"), area(231, 178, 189, 81));
    rotulo(g01, QStringLiteral("Valor R$"), no_grupo(8, 14, 120, 14));
    texto_valor_ = new tape::CampoValor(g01);
    texto_valor_->setObjectName(QStringLiteral("texto_valor"));
    texto_valor_->setGeometry(no_grupo(8, 29, 173, 27));
    texto_valor_->setFont(fonte("Arial", 12, true));
    pintar_fundo(texto_valor_, QColor(255, 255, 128), Qt::red);
    auto* nota =
        rotulo(g01, QStringLiteral("Tecle ENTER para adicionar o valor"), no_grupo(8, 59, 173, 14));
    nota->setFont(fonte("Arial", 7));
    connect(teclado_, &tape::Teclado::caractere, texto_valor_, &tape::CampoValor::acrescentar);
    connect(teclado_, &tape::Teclado::adicionar, this, [this] { acao("add_valor")->trigger(); });

    valor_final_ = mostrador(cliente, "valor_final", area(231, 268, 189, 33),
                             fonte("Arial", 14, true), QStringLiteral("0,00"));
    valor_leitor_ = mostrador(cliente, "valor_leitor", area(7, 306, 413, 57),
                              fonte("Arial", 9, true), QStringLiteral("ZERO"));
    valor_leitor_->setWordWrap(true);

    auto* g02 = grupo(cliente, "g02", QStringLiteral("Cabeçalho / Rodapé Impressão"),
                      area(427, 42, 210, 116));
    rotulo(g02, QStringLiteral("Título do Cabeçalho"), no_grupo(8, 16, 190, 14));
    cabecalho_ = new QLineEdit(g02);
    cabecalho_->setObjectName(QStringLiteral("cabecalho"));
    cabecalho_->setGeometry(no_grupo(8, 31, 193, 22));
    pintar_fundo(cabecalho_, QColor(239, 255, 223));
    rotulo(g02, QStringLiteral("Título do Rodapé"), no_grupo(8, 60, 190, 14));
    rodape_ = new QLineEdit(g02);
    rodape_->setObjectName(QStringLiteral("rodape"));
    rodape_->setGeometry(no_grupo(8, 75, 193, 22));
    pintar_fundo(rodape_, QColor(255, 239, 232));

    auto* g03 = grupo(cliente, "g03", QStringLiteral("Backup"), area(427, 164, 210, 199));
    d01_ = new QCheckBox(QStringLiteral("Realizar Backup a cada:"), g03);
    d01_->setObjectName(QStringLiteral("d01"));
    d01_->setGeometry(no_grupo(8, 18, 194, 18));
    QPalette pd = d01_->palette();
    pd.setColor(QPalette::WindowText, Qt::black);
    d01_->setPalette(pd);
    qtdetempo_ = new QComboBox(g03);
    qtdetempo_->setObjectName(QStringLiteral("qtdetempo"));
    qtdetempo_->addItems({"1", "2", "3", "4", "5"});
    qtdetempo_->setCurrentIndex(0);
    qtdetempo_->setGeometry(no_grupo(8, 40, 50, 22));
    QPalette pq = qtdetempo_->palette();
    pq.setColor(QPalette::Base, QColor(209, 255, 164));
    pq.setColor(QPalette::Button, QColor(209, 255, 164));
    qtdetempo_->setPalette(pq);
    rotulo(g03, QStringLiteral("minuto(s):"), no_grupo(64, 44, 80, 14));
    rotulo(g03, QStringLiteral("Nome do Arquivo:"), no_grupo(8, 68, 190, 14));
    nome_arquivo_ = new QLineEdit(g03);
    nome_arquivo_->setObjectName(QStringLiteral("nome_arquivo"));
    nome_arquivo_->setGeometry(no_grupo(8, 83, 193, 22));
    pintar_fundo(nome_arquivo_, QColor(206, 239, 255));
    for (QLineEdit* campo : {cabecalho_, rodape_, nome_arquivo_})
        documents::ValidadorConfiguracao::instalar(campo);
    auto* nota_backup =
        rotulo(g03,
               QStringLiteral(
                   "Este arquivo será salvo na pasta Backup, no diretório onde foi instalado o "
                   "Quarvel.\nPara a restauração do Backup, selecione através do menu Edições | "
                   "Restaurar / Limpar Backup, o nome do arquivo desejado"),
               no_grupo(8, 110, 194, 82));
    nota_backup->setFont(fonte("Arial", 7));
    nota_backup->setWordWrap(true);
    nota_backup->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(d01_, &QCheckBox::toggled, this, &FormPrincipal::d01Click);
    connect(qtdetempo_, &QComboBox::activated, this, &FormPrincipal::qtdetempoChange);

    // Tab order: the entry field first; the tape never takes the focus.
    setTabOrder(texto_valor_, cabecalho_);
    setTabOrder(cabecalho_, rodape_);
    setTabOrder(rodape_, d01_);
    setTabOrder(d01_, qtdetempo_);
    setTabOrder(qtdetempo_, nome_arquivo_);
}

void FormPrincipal::criar_barra_estado() {
    auto* barra = statusBar();
    barra->setObjectName(QStringLiteral("barra_estado"));
    barra->setFixedHeight(20);
    barra->setSizeGripEnabled(false);
    auto painel = [barra](const QString& texto, int largura) {
        auto* l = new QLabel(texto, barra);
        l->setAlignment(Qt::AlignCenter);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (largura > 0) {
            l->setFixedWidth(largura);
            barra->addWidget(l);
        } else {
            barra->addWidget(l, 1);
        }
        return l;
    };
    painel(QString::fromUtf8(kNomeComVersao), 150);
    painel(QStringLiteral("%1 - %2").arg(QString::fromUtf8(kAutor), QString::fromUtf8(kSite)), 350);
    relogio_ = painel(QString(), 0);
    relogio_->setObjectName(QStringLiteral("relogio"));
}

void FormPrincipal::criar_menus_edicao() {
    // pop: the tape's menu. Its items run the main commands under their own
    // captions; the shortcuts shown are the main menu's.
    pop_ = new QMenu(this);
    pop_->setObjectName(QStringLiteral("pop"));
    struct Item {
        const char* comando;
        const char* texto;
    };
    const Item itens[] = {
        {"limpar_valor", "&Limpar Tudo"},
        {nullptr, nullptr},
        {"add_valor", "&Adicionar"},
        {"novo_valor", "&Modificar"},
        {"deletar_valor", "&Deletar"},
        {nullptr, nullptr},
        {"buscar", "&Localizar Valor"},
        {"buscar_prox", "&Localizar Próximo Valor"},
        {nullptr, nullptr},
        {"armazenar_memoria", "&Armazenar Na Memória"},
        {nullptr, nullptr},
        {"repetir_valor", "&Repetir Valor"},
        {"transf", "&Exportar Resultado para Área de Transferência"},
        {nullptr, nullptr},
        {"abrir_txt", "Importar Arquivo de Texto"},
        {"save_txt", "&Exportar Para Arquivo de Texto"},
        {nullptr, nullptr},
        {"visualizar", "&Visualizar Impressão"},
        {"imprimir", "&Imprimir"},
    };
    for (const Item& i : itens) {
        if (!i.comando) {
            pop_->addSeparator();
            continue;
        }
        QAction* principal = acao(i.comando);
        auto* a = pop_->addAction(QString::fromUtf8(i.texto));
        a->setObjectName(QStringLiteral("pop_%1").arg(QString::fromLatin1(i.comando)));
        if (std::string_view(i.comando) != "transf") {
            a->setShortcut(principal->shortcut());
            a->setShortcutContext(Qt::WidgetShortcut); // shown only: the main action runs it
        }
        a->setEnabled(principal->isEnabled());
        connect(principal, &QAction::enabledChanged, a, &QAction::setEnabled);
        connect(a, &QAction::triggered, principal, &QAction::trigger);
    }
    valores_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(valores_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { pop_->exec(valores_->viewport()->mapToGlobal(p)); });

    // mnu1 and mnu2: the text fields' editing commands, enabled only when
    // they can act on that field.
    auto menu_edicao = [this](QLineEdit* campo, bool com_memoria) {
        campo->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(
            campo, &QWidget::customContextMenuRequested, this,
            [this, campo, com_memoria](const QPoint& p) {
                QMenu m(campo);
                m.setObjectName(com_memoria ? QStringLiteral("mnu2") : QStringLiteral("mnu1"));
                const bool selecao = campo->hasSelectedText();
                auto item = [&](const char* texto, const char* atalho, bool ativo, auto fazer) {
                    QAction* a = m.addAction(QString::fromUtf8(texto));
                    if (atalho) a->setShortcut(QKeySequence(QString::fromLatin1(atalho)));
                    a->setEnabled(ativo);
                    connect(a, &QAction::triggered, campo, fazer);
                };
                item("&Desfazer", "Ctrl+Z", campo->isUndoAvailable(), &QLineEdit::undo);
                m.addSeparator();
                item(com_memoria ? "&Recortar" : "Recortar", "Ctrl+X", selecao, &QLineEdit::cut);
                item(com_memoria ? "&Copiar" : "Copiar", "Ctrl+C", selecao, &QLineEdit::copy);
                item("&Colar", "Ctrl+V", !QApplication::clipboard()->text().isEmpty(),
                     &QLineEdit::paste);
                item("&Excluir", "Ctrl+Del", selecao, &QLineEdit::del);
                m.addSeparator();
                item("&Selecionar Tudo", "Ctrl+A", !campo->text().isEmpty(), &QLineEdit::selectAll);
                if (com_memoria) {
                    QAction* memoria = m.addAction(QStringLiteral("Valor Armazenado Na Memória"));
                    memoria->setShortcut(acao("valor_memoria")->shortcut());
                    memoria->setEnabled(acao("valor_memoria")->isEnabled());
                    connect(memoria, &QAction::triggered, acao("valor_memoria"), &QAction::trigger);
                }
                m.exec(campo->mapToGlobal(p));
            });
    };
    menu_edicao(texto_valor_, true);
    menu_edicao(cabecalho_, false);
    menu_edicao(rodape_, false);
    menu_edicao(nome_arquivo_, false);
}

} // namespace quarvel::app
