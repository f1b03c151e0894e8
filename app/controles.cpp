#include "app/controles.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

namespace quarvel::app {

namespace {

constexpr int kDescidaGrupo = 4;

} // namespace

QRect no_grupo(int x, int y, int w, int h) {
    return QRect(x, y + kDescidaGrupo, w, h);
}

QFont fonte(const char* familia, int pontos, bool negrito) {
    QFont f(QString::fromLatin1(familia));
    f.setPointSize(pontos);
    f.setBold(negrito);
    return f;
}

void pintar_fundo(QWidget* w, QColor fundo, QColor texto) {
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

bool digitacao_sem_foco(const QWidget& janela, const QObject* alvo, const QEvent& e) {
    if (alvo != &janela) return false;
    if (e.type() != QEvent::KeyPress && e.type() != QEvent::KeyRelease) return false;
    // A key a control of the window ignored also climbs to the window; that
    // one is not lost typing.
    const QWidget* foco = QApplication::focusWidget();
    if (foco && foco->window() == &janela) return false;
    const auto& tecla = static_cast<const QKeyEvent&>(e);
    if (tecla.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString texto = tecla.text();
    return !texto.isEmpty() && texto.at(0).isPrint();
}

} // namespace quarvel::app
