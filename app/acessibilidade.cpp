#include "app/acessibilidade.h"

#include "tape/visao_fita.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

namespace quarvel::app {

namespace {

// After the main window becomes active again: Orca has read the window
// by then. Also the longest wait for an activation that does not come.
constexpr int kDepoisDaAtivacaoMs = 250;
constexpr int kEsperaMaximaMs = 600;
// An announcement sent while another window of the program was active is
// said again when the main window comes back this soon after it: Orca may
// have dropped it, busy with the controls the loading window disabled.
constexpr int kRepetirAteMs = 3000;

// The notification: no pixels, no focus, only a name and a role.
class Notificacao : public QWidget {
  public:
    explicit Notificacao(QWidget* pai) : QWidget(pai) {
        setObjectName(QStringLiteral("anuncio"));
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(0, 0, 0, 0);
    }
};

QAccessibleInterface* fabrica(const QString&, QObject* o) {
    if (auto* n = dynamic_cast<Notificacao*>(o))
        return new QAccessibleWidget(n, QAccessible::Notification);
    return nullptr;
}

} // namespace

Locutor::Locutor(QMainWindow& janela, QStatusBar& barra, tape::VisaoFita& fita, QLabel& total,
                 QLabel& extenso)
    : QObject(&janela), janela_(janela), fita_(&fita), total_(&total), extenso_(&extenso) {
    static const bool instalada = [] {
        QAccessible::installFactory(&fabrica);
        return true;
    }();
    (void)instalada;
    notificacao_ = new Notificacao(&barra);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Announcements need no showing notification; shown with the window it
    // would be read by Orca 48 as a bare "notification" at start.
    notificacao_->hide();
#endif
    envio_.setSingleShot(true);
    connect(&envio_, &QTimer::timeout, this, &Locutor::enviar);
    janela.installEventFilter(this);
    // The tape's description follows its current line and the line's text,
    // however they change (keys, clicks, commands, loads).
    connect(&fita, &tape::VisaoFita::linha_atual_mudou, this, &Locutor::descrever_fita);
    connect(&fita.modelo(), &tape::FitaModelo::alterada, this, &Locutor::descrever_fita);
    descrever_fita();
}

QString Locutor::linha_atual() const {
    if (!fita_) return {};
    const int linha = fita_->linha_atual();
    const QModelIndex i = fita_->model()->index(linha - 1, 0);
    if (!i.isValid()) return QStringLiteral("fita vazia");
    return QStringLiteral("linha %1: %2").arg(linha).arg(i.data().toString());
}

void Locutor::descrever_fita() {
    if (!fita_) return;
    const QString d = linha_atual();
    if (fita_->accessibleDescription() != d) fita_->setAccessibleDescription(d);
}

void Locutor::falar_total() {
    if (total_) falar(QStringLiteral("total %1").arg(total_->text()));
}

void Locutor::falar_linha() {
    descrever_fita();
    falar(linha_atual());
}

void Locutor::falar_extenso() {
    if (extenso_) falar(QStringLiteral("total por extenso: %1").arg(extenso_->text()));
}

void Locutor::falar(const QString& texto) {
    // The last word wins: an add says the total, not also the new line.
    pendente_ = texto;
    envio_.start(janela_.isActiveWindow() ? 0 : kEsperaMaximaMs);
}

void Locutor::enviar() {
    if (pendente_.isEmpty() || !QAccessible::isActive()) {
        pendente_.clear();
        return;
    }
    notificacao_->setAccessibleName(pendente_);
    ultimo_ = pendente_;
    pendente_.clear();
    enviado_fora_ = !janela_.isActiveWindow();
    enviado_.start();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.8 sends AT-SPI announcements, which Orca 48 says as they are; a
    // notification showing it would say as "notification" and then the text.
    QAccessibleAnnouncementEvent anuncio(notificacao_, ultimo_);
    QAccessible::updateAccessibility(&anuncio);
#else
    QAccessibleEvent mostrou(notificacao_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&mostrou);
#endif
}

bool Locutor::eventFilter(QObject* obj, QEvent* e) {
    if (obj == &janela_ && e->type() == QEvent::WindowActivate) {
        if (pendente_.isEmpty() && enviado_fora_ && enviado_.isValid() &&
            enviado_.elapsed() < kRepetirAteMs) {
            pendente_ = ultimo_;
            enviado_fora_ = false;
        }
        if (!pendente_.isEmpty()) envio_.start(kDepoisDaAtivacaoMs);
    }
    return QObject::eventFilter(obj, e);
}

} // namespace quarvel::app
