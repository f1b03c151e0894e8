#include "app/frm_splash.h"

#include "app/mensagens.h"
#include "app/recursos.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>

namespace quarvel::app {

FormSplash::FormSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    carregar_recursos();
    setObjectName(QStringLiteral("form_splash"));
    setFixedSize(largura, altura);
    setAccessibleName(QString::fromUtf8(kNome));
    setAccessibleDescription(QStringLiteral("iniciando"));
    // The picture covers every pixel; no background behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);

    imagem_ = QPixmap(largura, altura);
    imagem_.fill(Qt::white);
    QSvgRenderer svg(QStringLiteral(":/imagens/splash.svg"));
    QPainter p(&imagem_);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(0, 0, largura, altura));
}

void FormSplash::exibir() {
    if (QScreen* tela = screen() ? screen() : QGuiApplication::primaryScreen()) {
        QRect r(QPoint(0, 0), size());
        r.moveCenter(tela->geometry().center());
        move(r.topLeft());
    }
    show();
    repaint();
    QApplication::processEvents();
}

void FormSplash::encerrar_apos(int ms, std::function<void()> seguinte) {
    QTimer::singleShot(ms, this, [this, seguinte = std::move(seguinte)] {
        // The next window first: with none visible, closing the splash
        // would be the last window closing and end the program.
        if (seguinte) seguinte();
        close();
    });
}

void FormSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, imagem_);
}

} // namespace quarvel::app
