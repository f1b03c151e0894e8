#include "espera/frm_loading.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace quarvel::documents {

namespace {

constexpr int largura = 297;
constexpr int altura = 83;
constexpr int passo = 6;     // pixels the band moves per step
constexpr int periodo = 120; // width of one white-to-red-to-white wave

// The band: a white-red wave that slides to the right as the phase grows.
class Banda : public QWidget {
  public:
    Banda(const FormLoading* dono, QWidget* parent) : QWidget(parent), dono_(dono) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const double x0 = (dono_->fase() * passo) % periodo;
        QLinearGradient g(x0, 0, x0 + periodo / 2.0, 0);
        g.setSpread(QGradient::ReflectSpread);
        g.setColorAt(0, Qt::white);
        g.setColorAt(1, QColor(220, 0, 0));
        p.fillRect(rect(), g);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

  private:
    const FormLoading* dono_;
};

} // namespace

FormLoading::FormLoading(QWidget* principal)
    : QWidget(principal, Qt::Tool | Qt::FramelessWindowHint), principal_(principal) {
    setObjectName(QStringLiteral("form_loading"));
    setFixedSize(largura, altura);
    setFont(QFont(QStringLiteral("Arial"), 9));
    // Borderless, so no title shows; a screen reader still names the window.
    setAccessibleName(QStringLiteral("Aguarde"));
    setAccessibleDescription(QStringLiteral("carregando; Alt+F4 cancela"));

    auto* texto =
        new QLabel(QStringLiteral("Aguarde ...\nEsse processo pode demorar alguns minutos"), this);
    texto->setAlignment(Qt::AlignCenter);
    texto->setGeometry(8, 10, largura - 16, 36);

    progresso_ = new Banda(this, this);
    progresso_->setObjectName(QStringLiteral("progresso"));
    progresso_->setGeometry(16, 54, largura - 32, 16);
    progresso_->setAccessibleName(QStringLiteral("andamento"));
    progresso_->setAccessibleDescription(QStringLiteral("a faixa corre enquanto a carga continua"));

    relogio_ = new QTimer(this);
    relogio_->setInterval(intervalo_ms * 2);
    connect(relogio_, &QTimer::timeout, this, [this] { avancar(); });
}

FormLoading::~FormLoading() {
    relogio_->stop();
    for (const QPointer<QWidget>& w : desativadas_)
        if (w) w->setEnabled(true);
    desativadas_.clear();
    fechando_ = true;
    close();
}

void FormLoading::iniciar() {
    cancelado_ = false;
    const auto janelas = QApplication::topLevelWidgets();
    for (QWidget* w : janelas) {
        if (w == this || !w->isEnabled()) continue;
        w->setEnabled(false);
        desativadas_.append(w);
    }
    // Disabling the main window also disabled us, its child window.
    setEnabled(true);

    QRect r(QPoint(0, 0), size());
    if (principal_ && principal_->isVisible())
        r.moveCenter(principal_->window()->frameGeometry().center());
    else if (QScreen* tela = QGuiApplication::primaryScreen())
        r.moveCenter(tela->availableGeometry().center());
    move(r.topLeft());

    show();
    raise();
    activateWindow();
    setFocus();
    decorrido_.start();
    ultimo_pulso_ = 0;
    ultimos_eventos_ = -intervalo_eventos_ms; // the first value lets them run
    relogio_->start();
    repaint();
}

void FormLoading::esperar(QWidget* principal, const std::function<bool()>& pronto,
                          const std::function<void()>& cancelar) {
    FormLoading loading(principal);
    loading.iniciar();
    bool cancelou = false;
    QEventLoop laco;
    QTimer vigia;
    connect(&vigia, &QTimer::timeout, &laco, [&] {
        if (!cancelou && loading.cancelado()) {
            cancelou = true;
            cancelar();
        }
        if (pronto()) laco.quit();
    });
    vigia.start(20);
    if (!pronto()) laco.exec();
}

void FormLoading::pulsar() {
    // Called once per loaded value: most calls must cost nothing.
    if (!decorrido_.isValid()) decorrido_.start();
    const qint64 agora = decorrido_.elapsed();
    if (agora - ultimo_pulso_ < intervalo_ms) return;
    ultimo_pulso_ = agora;
    avancar();
}

void FormLoading::a_cada_valor() {
    pulsar();
    const qint64 agora = decorrido_.elapsed();
    if (intervalo_eventos_ms > 0 && agora - ultimos_eventos_ < intervalo_eventos_ms) return;
    ultimos_eventos_ = agora;
    QCoreApplication::processEvents();
}

void FormLoading::avancar() {
    ++fase_;
    if (isVisible()) progresso_->repaint();
}

void FormLoading::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(QColor(96, 96, 96));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void FormLoading::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F4 && (e->modifiers() & Qt::AltModifier)) {
        cancelado_ = true;
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void FormLoading::closeEvent(QCloseEvent* e) {
    if (fechando_) {
        e->accept();
        return;
    }
    // The window manager's close (Alt+F4 there) asks to cancel the load;
    // the loader decides when the window goes.
    cancelado_ = true;
    e->ignore();
}

} // namespace quarvel::documents
