#pragma once
// Makes a window the active one as the window manager would, and waits until
// Qt says it is: the shortcuts and the focus follow the active window.
#include <QTest>
#include <QWidget>

namespace quarvel::testes {

inline bool ativar(QWidget* janela) {
    janela->activateWindow();
    return QTest::qWaitForWindowActive(janela);
}

} // namespace quarvel::testes
