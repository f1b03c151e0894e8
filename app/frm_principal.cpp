#include "app/frm_principal.h"

#include "app/acessibilidade.h"
#include "app/ajuda.h"
#include "app/controles.h"
#include "app/mensagens.h"
#include "app/recursos.h"
#include "backup/comandos_backup.h"
#include "documents/carregamento.h"
#include "documents/comandos_documento.h"
#include "documents/comandos_texto.h"
#include "documents/escritor_fila.h"
#include "printing/comandos_impressao.h"
#include "printing/data_hora.h"
#include "sessao/diario_sessao.h"
#include "sessao/recuperacao_sessao.h"
#include "tape/campo_valor.h"
#include "tape/teclado.h"
#include "tape/total.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>

namespace quarvel::app {

FormPrincipal::FormPrincipal(std::unique_ptr<Dialogos> dialogos, QString arquivo_inicial,
                             QWidget* parent)
    : QMainWindow(parent), dialogos_(std::move(dialogos)),
      arquivo_inicial_(std::move(arquivo_inicial)) {
    carregar_recursos();
    setObjectName(QStringLiteral("form_principal"));
    setWindowIcon(icone_programa());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPointSize(8);
    setFont(fonte);

    criar_acoes();
    criar_controles();
    // The status bar before the commands: they report into its panels.
    criar_barra_estado();
    criar_comandos();

    // Creation steps: rules once, empty tape, title, empty memory, clock.
    atualizar_acoes();
    estado_fita_ = {};
    definir_titulo();
    escrever_relogio();

    tempo_.setInterval(1000);
    connect(&tempo_, &QTimer::timeout, this, &FormPrincipal::escrever_relogio);
    tempo_.start();

    // Enabling rules follow the state whenever the event loop goes idle.
    if (auto* d = QAbstractEventDispatcher::instance())
        connect(d, &QAbstractEventDispatcher::aboutToBlock, this, &FormPrincipal::atualizar_acoes);

    // The window sees Enter, Up and Down before the focused control does.
    qApp->installEventFilter(this);

    // Client area 664 x 389 below the menu bar. The size is fixed: window
    // managers (openbox, and Wayland compositors, which know no other hint)
    // offer no maximise button only to a window that cannot change size,
    // and the controls keep their places anyway.
    setFixedSize(664, 389 + menuBar()->sizeHint().height());
    texto_valor_->setFocus();
    locutor_ = new Locutor(*this, *statusBar(), *valores_, *valor_final_, *valor_leitor_);
    connect(&fita_, &tape::FitaModelo::alterada, locutor_, &Locutor::falar_total);
}

FormPrincipal::~FormPrincipal() {
    qApp->removeEventFilter(this);
}

QString FormPrincipal::salvar_recuperacao() const {
    const QString caminho = comandos_documento_->salvar_recuperacao();
    // Not saved there: the journal stays for the next start to offer.
    if (caminho.isEmpty()) diario_->manter();
    return caminho;
}

void FormPrincipal::definir_linha_atual(int linha) {
    valores_->definir_linha_atual(linha);
}

void FormPrincipal::atualizar_total() {
    const tape::TextosTotal total = tape::textos_total(fita_.fita());
    const QString figuras = QString::fromStdString(total.figuras);
    QFont f = valor_final_->font();
    f.setPointSize(kPontosTotal);
    const int largura = valor_final_->contentsRect().width();
    while (f.pointSize() > 6 && QFontMetrics(f).horizontalAdvance(figuras) > largura)
        f.setPointSize(f.pointSize() - 1);
    valor_final_->setFont(f);
    valor_final_->setText(figuras);
    valor_leitor_->setText(QString::fromStdString(total.extenso));
    // The names carry the values, so that the focus and a screen reader's
    // review of the window read them.
    valor_final_->setAccessibleName(QStringLiteral("total %1").arg(valor_final_->text()));
    valor_leitor_->setAccessibleName(
        QStringLiteral("total por extenso: %1").arg(valor_leitor_->text()));
}

void FormPrincipal::escrever_relogio() {
    const QDateTime agora = QDateTime::currentDateTime();
    relogio_->setText(QStringLiteral("%1 - %2").arg(printing::data_brasileira(agora.date()),
                                                    printing::hora_brasileira(agora.time())));
}

void FormPrincipal::definir_titulo() {
    setWindowTitle(QStringLiteral("%1 - %2").arg(QString::fromUtf8(kTituloAplicacao),
                                                 comandos_documento_->nome()));
}

void FormPrincipal::ajudaExecute() {
    const QString caminho = arquivo_ajuda();
    if (!caminho.isEmpty()) dialogos_->abrir_endereco(caminho);
}

void FormPrincipal::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!primeira_exibicao_) return;
    primeira_exibicao_ = false;
    if (QScreen* tela = screen()) {
        const QRect area = tela->availableGeometry();
        move(area.center() - frameGeometry().center() + pos());
    }
    QTimer::singleShot(0, this, &FormPrincipal::iniciar_sessao);
}

void FormPrincipal::iniciar_sessao() {
    if (!diario_->erro().isEmpty()) dialogos_->aviso(this, diario_->erro());
    const bool recuperou = documents::oferecer_recuperacao(
        {documents::pasta_sessoes(), *dialogos_, this, [this](documents::Sessao s) {
             comandos_documento_->recuperar({s.estado.config, std::move(s.brutos)},
                                            s.estado.arquivo);
         }});
    if (arquivo_inicial_.isEmpty()) return;
    // The tape brought back is not saved anywhere: opening the file in its
    // place asks first, as Open does.
    if (recuperou && !comandos_documento_->confirmar_alteracoes()) return;
    comandos_documento_->abrir_inicial(arquivo_inicial_);
}

void FormPrincipal::closeEvent(QCloseEvent* e) {
    // A load or a print lets events run; the window must not go away under it.
    if (carregamento_->ativo() || comandos_impressao_->ocupado() ||
        !comandos_documento_->confirmar_alteracoes()) {
        e->ignore();
        return;
    }
    diario_->encerrar();
    e->accept();
}

bool FormPrincipal::eventFilter(QObject* obj, QEvent* e) {
    // The keypad follows the entry field's keys and lets go of a lit button
    // when the field loses the focus with the key still down.
    if (obj == texto_valor_) teclado_->acompanhar_evento(*e);
    // A key the field ignores (a key-up) climbs back to the window: once.
    static bool reenviando = false;
    if (!reenviando && digitacao_sem_foco(*this, obj, *e) && texto_valor_->isEnabled()) {
        texto_valor_->setFocus(Qt::ActiveWindowFocusReason);
        reenviando = true;
        QCoreApplication::sendEvent(texto_valor_, e);
        reenviando = false;
        return true;
    }

    const auto tipo = e->type();
    if (tipo != QEvent::KeyPress && tipo != QEvent::KeyRelease && tipo != QEvent::ShortcutOverride)
        return false;
    auto* w = qobject_cast<QWidget*>(obj);
    if (!w || w->window() != this || !isEnabled()) return false;
    auto* tecla = static_cast<QKeyEvent*>(e);
    const int k = tecla->key();
    const auto mods = tecla->modifiers() & ~Qt::KeypadModifier;

    // The menu's shortcuts come before the focused control: a text field never
    // takes Del, Ins, Shift+Del, Ctrl+E and the rest, enabled or not.
    const QKeySequence sequencia(QKeyCombination(mods, Qt::Key(k)));
    const bool do_menu = roteador_->atalhos().contains(sequencia);
    if (tipo == QEvent::ShortcutOverride) return do_menu; // not accepted: the shortcut runs
    if (do_menu) return tipo == QEvent::KeyPress;         // a disabled command does nothing

    // Ctrl+Del is the fields' "Excluir": it deletes the selection only.
    if (k == Qt::Key_Delete && mods == Qt::ControlModifier) {
        if (auto* campo = qobject_cast<QLineEdit*>(w); campo && campo->hasSelectedText())
            campo->del();
        return true;
    }
    // Enter in any field of the window lights b03 while it is held, as in
    // the entry field, whose own keys the keypad already follows.
    const bool enter = k == Qt::Key_Return || k == Qt::Key_Enter;
    if (enter && obj != texto_valor_) teclado_->acompanhar_evento(*e);
    if (tipo == QEvent::KeyRelease) return false;
    switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        acoes().add_valor->trigger();
        return true;
    case Qt::Key_Up:
        definir_linha_atual(valores_->linha_atual() - 1);
        locutor_->falar_linha();
        return true;
    case Qt::Key_Down:
        definir_linha_atual(valores_->linha_atual() + 1);
        locutor_->falar_linha();
        return true;
    default:
        return false;
    }
}

} // namespace quarvel::app
