// The main window's construction: the command table, the controls at their
// fixed places in the client area, and the status bar.
#include "app/frm_principal.h"

#include "app/acessibilidade.h"
#include "app/controles.h"
#include "app/mensagens.h"
#include "backup/comandos_backup.h"
#include "backup/intervalo_backup.h"
#include "backup/pasta_backup.h"
#include "documents/carregamento.h"
#include "documents/comandos_documento.h"
#include "documents/comandos_texto.h"
#include "documents/escritor_fila.h"
#include "documents/mensagens.h"
#include "documents/validador_configuracao.h"
#include "espera/frm_loading.h"
#include "printing/comandos_impressao.h"
#include "sessao/diario_sessao.h"
#include "tape/campo_valor.h"
#include "tape/desfazer.h"
#include "tape/teclado.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>

#include <algorithm>
#include <array>

namespace quarvel::app {
namespace {

// The tool bar takes the top 39 pixels of the client area; the controls
// below are placed by their client-area coordinates.
constexpr int kAlturaBarra = 39;

QRect area(int x, int y, int w, int h) {
    return QRect(x, y - kAlturaBarra, w, h);
}

// A command of one subsystem, reached when the action runs: the commands are
// made after the actions.
template <class Comandos>
std::function<void()> de(const std::unique_ptr<Comandos>& comandos, void (Comandos::*comando)()) {
    return [&comandos, comando] { (comandos.get()->*comando)(); };
}

} // namespace

void FormPrincipal::criar_acoes() {
    using C = tape::ComandosFita;
    using D = documents::ComandosDocumento;
    using T = documents::ComandosTexto;
    using P = printing::ComandosImpressao;
    auto fita = [this](void (C::*comando)()) { return de(comandos_fita_, comando); };
    auto regra = [this](bool (C::*r)() const) {
        return [this, r] { return (comandos_fita_.get()->*r)(); };
    };
    const std::function<bool()> sempre; // no enabling rule
    const auto tem_linhas = regra(&C::tem_linhas);
    roteador_ = std::make_unique<RoteadorAcoes>(
        this,
        std::initializer_list<Comando>{
            {QUARVEL_COMANDO(novo), "&Novo", "Ctrl+N", de(comandos_documento_, &D::novo), sempre},
            {QUARVEL_COMANDO(abrir), "&Abrir", "Ctrl+O", de(comandos_documento_, &D::abrir),
             sempre},
            {QUARVEL_COMANDO(salvar_padrao), "&Salvar", "Ctrl+S",
             de(comandos_documento_, &D::salvar_padrao), sempre},
            {QUARVEL_COMANDO(salvar_como), "&Salvar Como", nullptr,
             de(comandos_documento_, &D::salvar_como), sempre},
            {QUARVEL_COMANDO(sair), "&Sair", nullptr, [this] { close(); }, sempre},
            // Enabled and named by the history itself (ligar_historico).
            {QUARVEL_COMANDO(desfazer), "Desfazer na Fita", "Alt+Backspace",
             [this] { historico_.undo(); }, sempre},
            {QUARVEL_COMANDO(refazer), "Refazer na Fita", "Alt+Shift+Backspace",
             [this] { historico_.redo(); }, sempre},
            {QUARVEL_COMANDO(limpar_valor), "&Limpar Tudo", "Shift+Del", fita(&C::limpar_valor),
             tem_linhas},
            {QUARVEL_COMANDO(add_valor), "Adicionar", nullptr, fita(&C::add_valor), sempre},
            {QUARVEL_COMANDO(novo_valor), "&Modificar", "Ins", fita(&C::novo_valor), tem_linhas},
            {QUARVEL_COMANDO(deletar_valor), "&Deletar", "Del", fita(&C::deletar_valor),
             tem_linhas},
            {QUARVEL_COMANDO(repetir_valor), "&Repetir Valor", "Ctrl+R", fita(&C::repetir_valor),
             regra(&C::tem_entrada)},
            {QUARVEL_COMANDO(transf), "&Exportar Resultado para Área de Transferência", "Ctrl+K",
             fita(&C::transf), tem_linhas},
            {QUARVEL_COMANDO(ler_extenso), "&Ler Total por Extenso", "Ctrl+L",
             [this] { locutor_->falar_extenso(); }, sempre},
            {QUARVEL_COMANDO(abrir_txt), "&Importar Arquivo de Texto", nullptr,
             de(comandos_texto_, &T::abrir_txt), sempre},
            {QUARVEL_COMANDO(save_txt), "&Exportar Arquivo de Texto", nullptr,
             de(comandos_texto_, &T::save_txt), tem_linhas},
            {QUARVEL_COMANDO(armazenar_memoria), "&Armazenar Na Memória", "Ctrl+M",
             fita(&C::armazenar_memoria), tem_linhas},
            {QUARVEL_COMANDO(valor_memoria), "Valor Armazenado na Memória", "Ctrl+E",
             fita(&C::valor_memoria), regra(&C::tem_memoria)},
            {QUARVEL_COMANDO(backup), documents::kTituloRestaurar, nullptr,
             de(comandos_backup_, &backup::ComandosBackup::restaurar), sempre},
            {QUARVEL_COMANDO(buscar), "&Localizar Valor", "F2", fita(&C::buscar), tem_linhas},
            {QUARVEL_COMANDO(buscar_prox), "&Localizar Próximo Valor", "F3", fita(&C::buscar_prox),
             regra(&C::busca_ativa)},
            {QUARVEL_COMANDO(visualizar), "&Visualizar Impressão", "Ctrl+I",
             de(comandos_impressao_, &P::visualizar), tem_linhas},
            {QUARVEL_COMANDO(imprimir), "&Imprimir", "Ctrl+P",
             de(comandos_impressao_, &P::imprimir), tem_linhas},
            {QUARVEL_COMANDO(ajuda), "&Ajuda", "F1", [this] { ajudaExecute(); }, sempre},
            {QUARVEL_COMANDO(sobre), "&Sobre", nullptr, [this] { dialogos_->sobre(this); }, sempre},
        });
    ligar_historico(acoes().desfazer, acoes().refazer, historico_);
    montar_menu_principal(this, acoes());
    montar_barra_ferramentas(this, acoes(), kAlturaBarra);
}

void FormPrincipal::criar_controles() {
    auto* cliente = new QWidget(this);
    cliente->setObjectName(QStringLiteral("cliente"));
    setCentralWidget(cliente);

    valores_ = new tape::VisaoFita(fita_, cliente);
    connect(&fita_, &tape::FitaModelo::alterada, this, &FormPrincipal::atualizar_total);
    valores_->setGeometry(area(7, 45, 217, 256));
    valores_->setAccessibleName(QStringLiteral("fita de valores"));
    // Tab reaches the tape, whose description is its current line; a click
    // still hands the focus back to the entry field.
    valores_->setFocusPolicy(Qt::TabFocus);
    connect(valores_, &tape::VisaoFita::linha_clicada, this, [this] { texto_valor_->setFocus(); });
    connect(valores_, &tape::VisaoFita::linha_duplo_clique, this, [this] {
        if (!fita_.vazia()) acoes().novo_valor->trigger();
    });
    auto* pop = montar_pop(this, acoes());
    pop->setAccessibleName(QStringLiteral("menu da fita"));
    valores_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(valores_, &QWidget::customContextMenuRequested, this,
            [this, pop](const QPoint& p) { pop->exec(valores_->viewport()->mapToGlobal(p)); });

    teclado_ = new tape::Teclado(cliente);
    teclado_->setGeometry(area(231, 45, 189, 127));

    auto* g01 =
        grupo(cliente, "g01", QStringLiteral("Inserção de Valores"), area(231, 178, 189, 81));
    rotulo(g01, QStringLiteral("Valor R$"), no_grupo(8, 14, 120, 14));
    texto_valor_ = new tape::CampoValor(g01);
    texto_valor_->setObjectName(QStringLiteral("texto_valor"));
    texto_valor_->setGeometry(no_grupo(8, 29, 173, 27));
    texto_valor_->setFont(fonte("Arial", 12, true));
    texto_valor_->setAccessibleName(QStringLiteral("valor digitado"));
    texto_valor_->setAccessibleDescription(
        QStringLiteral("um valor em reais ou uma expressão, como 12*50; Enter adiciona à fita, as "
                       "setas para cima e para baixo mudam a linha atual"));
    pintar_fundo(texto_valor_, QColor(255, 255, 128), tape::CampoValor::kCorTexto);
    auto* nota =
        rotulo(g01, QStringLiteral("Tecle ENTER para adicionar o valor"), no_grupo(8, 59, 173, 14));
    nota->setFont(fonte("Arial", 7));
    connect(teclado_, &tape::Teclado::caractere, texto_valor_, &tape::CampoValor::acrescentar);
    connect(teclado_, &tape::Teclado::adicionar, this, [this] { acoes().add_valor->trigger(); });

    valor_final_ = mostrador(cliente, "valor_final", area(231, 268, 189, 33),
                             fonte("Arial", kPontosTotal, true), QStringLiteral("0,00"));
    valor_leitor_ = mostrador(cliente, "valor_leitor", area(7, 306, 413, 57),
                              fonte("Arial", 9, true), QStringLiteral("ZERO"));
    valor_leitor_->setWordWrap(true);
    // Tab stops at both displays, so a screen reader reads them on arrival;
    // their names carry the values (FormPrincipal::atualizar_total).
    for (QLabel* l : {valor_final_, valor_leitor_})
        l->setFocusPolicy(Qt::TabFocus);
    valor_final_->setAccessibleName(QStringLiteral("total %1").arg(valor_final_->text()));
    valor_leitor_->setAccessibleName(
        QStringLiteral("total por extenso: %1").arg(valor_leitor_->text()));

    auto* g02 = grupo(cliente, "g02", QStringLiteral("Cabeçalho / Rodapé Impressão"),
                      area(427, 42, 210, 116));
    rotulo(g02, QStringLiteral("Título do Cabeçalho"), no_grupo(8, 16, 190, 14));
    cabecalho_ = new QLineEdit(g02);
    cabecalho_->setObjectName(QStringLiteral("cabecalho"));
    cabecalho_->setGeometry(no_grupo(8, 31, 193, 22));
    cabecalho_->setAccessibleName(QStringLiteral("título do cabeçalho"));
    cabecalho_->setAccessibleDescription(QStringLiteral("impresso no alto de cada página"));
    pintar_fundo(cabecalho_, QColor(239, 255, 223));
    rotulo(g02, QStringLiteral("Título do Rodapé"), no_grupo(8, 60, 190, 14));
    rodape_ = new QLineEdit(g02);
    rodape_->setObjectName(QStringLiteral("rodape"));
    rodape_->setGeometry(no_grupo(8, 75, 193, 22));
    rodape_->setAccessibleName(QStringLiteral("título do rodapé"));
    rodape_->setAccessibleDescription(QStringLiteral("impresso no pé de cada página"));
    pintar_fundo(rodape_, QColor(255, 239, 232));

    auto* g03 = grupo(cliente, "g03", QStringLiteral("Backup"), area(427, 164, 210, 199));
    d01_ = new QCheckBox(QStringLiteral("Realizar Backup a cada:"), g03);
    d01_->setObjectName(QStringLiteral("d01"));
    d01_->setGeometry(no_grupo(8, 18, 194, 18));
    d01_->setAccessibleDescription(
        QStringLiteral("grava a fita na pasta Backup a cada intervalo escolhido"));
    QPalette pd = d01_->palette();
    pd.setColor(QPalette::WindowText, Qt::black);
    d01_->setPalette(pd);
    qtdetempo_ = new QComboBox(g03);
    qtdetempo_->setObjectName(QStringLiteral("qtdetempo"));
    for (int i = 0; i < documents::kIntervalosBackup; ++i)
        qtdetempo_->addItem(QString::number(backup::minutos_do_indice(i)));
    qtdetempo_->setCurrentIndex(0);
    qtdetempo_->setGeometry(no_grupo(8, 40, 50, 22));
    qtdetempo_->setAccessibleName(QStringLiteral("intervalo do backup em minutos"));
    qtdetempo_->view()->setAccessibleName(QStringLiteral("minutos entre um backup e outro"));
    // A flat light green: the style's own button face would paint it as a
    // gradient.
    qtdetempo_->setStyleSheet(QStringLiteral(
        "QComboBox { background-color: rgb(209, 255, 164); border: 1px solid rgb(122, 122, 122);"
        " border-radius: 2px; padding: 1px 2px 1px 4px; }"));
    // On Linux a combo box is named by its current item; what it is for comes
    // from the label it is the buddy of.
    auto* minutos = rotulo(g03, QStringLiteral("minuto(s):"), no_grupo(64, 44, 80, 14));
    minutos->setObjectName(QStringLiteral("rotulo_qtdetempo"));
    minutos->setBuddy(qtdetempo_);
    minutos->setAccessibleName(qtdetempo_->accessibleName());
    rotulo(g03, QStringLiteral("Nome do Arquivo:"), no_grupo(8, 68, 190, 14));
    nome_arquivo_ = new QLineEdit(g03);
    nome_arquivo_->setObjectName(QStringLiteral("nome_arquivo"));
    nome_arquivo_->setGeometry(no_grupo(8, 83, 193, 22));
    nome_arquivo_->setAccessibleName(QStringLiteral("nome do arquivo de backup"));
    nome_arquivo_->setAccessibleDescription(
        QStringLiteral("nome com que a fita é gravada na pasta Backup"));
    pintar_fundo(nome_arquivo_, QColor(206, 239, 255));
    for (QLineEdit* campo : {cabecalho_, rodape_, nome_arquivo_})
        documents::ValidadorConfiguracao::instalar(campo);
    // Names the folder the backups really go to (backup/local_backup.h),
    // cut to the box; a screen reader reads it whole.
    const QString pasta_backup = backup::local_de_backup();
    const QFontMetrics medida(fonte("Arial", 7));
    const QString restauracao =
        QStringLiteral("\nPara a restauração do Backup, selecione através do menu Edições | "
                       "Restaurar / Limpar Backup, o nome do arquivo desejado");
    auto* nota_backup =
        rotulo(g03,
               backup::nota_pasta_backup(pasta_backup, medida, no_grupo(8, 110, 194, 82).width()) +
                   restauracao,
               no_grupo(8, 110, 194, 82));
    nota_backup->setObjectName(QStringLiteral("nota_backup"));
    nota_backup->setToolTip(pasta_backup);
    nota_backup->setAccessibleName(backup::nota_pasta_backup(pasta_backup, medida, -1) +
                                   restauracao);
    nota_backup->setFont(fonte("Arial", 7));
    nota_backup->setWordWrap(true);
    nota_backup->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    instalar_menu_edicao(texto_valor_, acoes().valor_memoria);
    for (QLineEdit* campo : {cabecalho_, rodape_, nome_arquivo_})
        instalar_menu_edicao(campo);

    // Tab order: the entry field first, then what a screen reader user reads
    // (the tape, the total, the words), then the settings.
    setTabOrder(texto_valor_, valores_);
    setTabOrder(valores_, valor_final_);
    setTabOrder(valor_final_, valor_leitor_);
    setTabOrder(valor_leitor_, cabecalho_);
    // The tape and the displays draw no focus of their own: a frame shows
    // where Tab has gone.
    auto* foco = new QFocusFrame(cliente);
    foco->setObjectName(QStringLiteral("moldura_foco"));
    // Hidden until it frames something: a shown frame lies over the tape
    // and keeps its one-line scrolls from moving the pixels already drawn.
    foco->hide();
    // The pointers, not `this`: focus still moves while the window is being
    // destroyed, when it is no longer a FormPrincipal.
    connect(qApp, &QApplication::focusChanged, foco,
            [foco, leitores = std::array<QWidget*, 3>{valores_, valor_final_, valor_leitor_}](
                QWidget*, QWidget* agora) {
                const bool leitura =
                    std::find(leitores.begin(), leitores.end(), agora) != leitores.end();
                foco->setWidget(leitura ? agora : nullptr);
            });
    setTabOrder(cabecalho_, rodape_);
    setTabOrder(rodape_, d01_);
    setTabOrder(d01_, qtdetempo_);
    setTabOrder(qtdetempo_, nome_arquivo_);
}

void FormPrincipal::criar_comandos() {
    escritor_ = std::make_unique<documents::EscritorFila>();
    historico_.setUndoLimit(tape::kLimiteDesfazer);
    comandos_fita_ = std::make_unique<tape::ComandosFita>(tape::ContextoFita{
        fita_, estado_fita_, *texto_valor_, *valores_, *dialogos_, this, historico_});

    const documents::CamposConfiguracao campos{*cabecalho_, *rodape_, *nome_arquivo_, *d01_,
                                               *qtdetempo_};
    carregamento_ = std::make_unique<documents::Carregamento>(*dialogos_, this);
    comandos_texto_ = std::make_unique<documents::ComandosTexto>(documents::ContextoTexto{
        fita_, *texto_valor_, *valores_, *carregamento_, *dialogos_, this,
        [this](std::vector<std::string> brutos, std::vector<std::string> linhas,
               const QString& passo) {
            historico_.push(new tape::Troca({fita_, estado_fita_, *valores_}, std::move(brutos),
                                            std::move(linhas), false, passo));
        }});
    comandos_backup_ = std::make_unique<backup::ComandosBackup>(backup::ContextoBackup{
        fita_, campos, *comandos_texto_, *carregamento_, *dialogos_, this, *escritor_});
    comandos_documento_ =
        std::make_unique<documents::ComandosDocumento>(documents::ContextoDocumento{
            fita_, *comandos_fita_, estado_fita_, *texto_valor_, *valores_, campos,
            [this](const documents::Configuracao& c) { comandos_backup_->aplicar(c); },
            [](QString* erro) { return backup::pasta_backup(erro); }, *carregamento_, *dialogos_,
            this,
            [this] {
                definir_titulo();
                if (diario_) diario_->gravar_estado(); // New, Open, Save As: at once
            },
            historico_});
    // The backup's timer hangs in the window's tree under its name, as the
    // controls it serves do; the command still owns it, and it leaves the
    // tree when the command goes.
    comandos_backup_->temporizador().setParent(this);
    comandos_backup_->temporizador().setObjectName(QStringLiteral("temporizador_backup"));
    comandos_backup_->ao_mudar_estado([this](const QString& texto) {
        estado_backup_->setText(texto);
        estado_backup_->setVisible(!texto.isEmpty());
    });
    // The journal starts with the document as the window opens.
    diario_ = std::make_unique<documents::DiarioSessao>(
        fita_, *escritor_, campos, [this] { return comandos_documento_->arquivo_atual(); },
        [this](const QString& motivo) { dialogos_->aviso(this, motivo); });
    diario_->ao_mudar_estado([this](const QString& texto) {
        estado_diario_->setText(texto);
        estado_diario_->setVisible(!texto.isEmpty());
    });
    connect(d01_, &QCheckBox::toggled, this,
            [this](bool ligada) { comandos_backup_->chave_mudou(ligada); });
    connect(qtdetempo_, &QComboBox::activated, this,
            [this](int indice) { comandos_backup_->intervalo_escolhido(indice); });

    // A print shows the tape and the texts as they stand when it runs.
    auto conteudo = [this] {
        printing::ConteudoImpressao c;
        c.linhas_fita.reserve(static_cast<int>(fita_.tamanho()));
        for (const std::string& l : fita_.linhas())
            c.linhas_fita.append(QString::fromStdString(l));
        c.total = valor_final_->text();
        c.cabecalho = cabecalho_->text();
        c.rodape = rodape_->text();
        return c;
    };
    // The print server is waited for behind the loading window.
    auto esperar = [this](const std::function<bool()>& pronto,
                          const std::function<void()>& cancelar) {
        documents::FormLoading::esperar(this, pronto, cancelar);
    };
    comandos_impressao_ = std::make_unique<printing::ComandosImpressao>(
        printing::ContextoImpressao{conteudo, *dialogos_, this, esperar});
}

void FormPrincipal::criar_barra_estado() {
    auto* barra = statusBar();
    barra->setObjectName(QStringLiteral("barra_estado"));
    barra->setFixedHeight(20);
    barra->setSizeGripEnabled(false);
    barra->setAccessibleName(QStringLiteral("barra de estado"));
    auto painel = [barra](const QString& texto, int largura) {
        auto* l = new QLabel(texto, barra);
        l->setAlignment(Qt::AlignCenter);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The panels keep their widths and clip their texts when the window
        // is narrow; the last one takes what is left, down to nothing.
        if (largura > 0) {
            l->setFixedWidth(largura);
            barra->addWidget(l);
        } else {
            l->setMinimumWidth(0);
            l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            barra->addWidget(l, 1);
        }
        return l;
    };
    painel(QString::fromUtf8(kNomeComVersao), 150)
        ->setAccessibleDescription(QStringLiteral("versão do programa"));
    painel(QStringLiteral("%1 - %2").arg(QString::fromUtf8(kAutor), QString::fromUtf8(kSite)), 350)
        ->setAccessibleDescription(QStringLiteral("autor e site do programa"));
    relogio_ = painel(QString(), 0);
    relogio_->setObjectName(QStringLiteral("relogio"));
    relogio_->setAccessibleDescription(QStringLiteral("data e hora"));
    // Shown only while the backup ticks keep failing; beside the three
    // panels, not one of them.
    auto* caixa = new QWidget(barra);
    auto* backup = estado_backup_ = new QLabel(caixa);
    backup->setObjectName(QStringLiteral("estado_backup"));
    backup->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* arranjo = new QHBoxLayout(caixa);
    arranjo->setContentsMargins(0, 0, 0, 0);
    arranjo->addWidget(backup);
    // The same for the session journal while it fails or falls behind.
    auto* diario = estado_diario_ = new QLabel(caixa);
    diario->setObjectName(QStringLiteral("estado_diario"));
    diario->setStyleSheet(backup->styleSheet());
    arranjo->addWidget(diario);
    barra->addPermanentWidget(caixa);
    backup->hide();
    diario->hide();
}

} // namespace quarvel::app
