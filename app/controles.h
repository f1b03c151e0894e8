#pragma once
// The main window's controls as its layout draws them: blue group captions
// with black labels inside, coloured fields, black displays in green.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QEvent;
class QGroupBox;
class QLabel;
class QObject;
class QWidget;

namespace quarvel::app {

// Inside a group box: the caption stands above the frame line here rather
// than on it, so the controls go a little lower to clear the line.
QRect no_grupo(int x, int y, int w, int h);
QFont fonte(const char* familia, int pontos, bool negrito = false);
void pintar_fundo(QWidget* w, QColor fundo, QColor texto = Qt::black);
QGroupBox* grupo(QWidget* pai, const char* nome, const QString& titulo, QRect r);
QLabel* rotulo(QWidget* pai, const QString& texto, QRect r);
// A sunken black display with lime-green text, centred.
QLabel* mostrador(QWidget* pai, const char* nome, QRect r, const QFont& f, const QString& texto);

// Whether a key event that reached `alvo` is typing meant for the window's
// entry field although no control of the window has the focus: it arrived at
// the window itself while the window is being made active again (Wayland
// compositors hand over the keys before the activation reaches Qt, right
// after a dialog closes). Such typing belongs to the entry field.
bool digitacao_sem_foco(const QWidget& janela, const QObject* alvo, const QEvent& e);

} // namespace quarvel::app
