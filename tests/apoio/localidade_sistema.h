#pragma once
// Switches Qt's system locale inside a running test, as if the machine were
// set to another one: Qt reads the locale variables once, and a system locale
// made and dropped has it read them again. Private Qt API (Qt6::CorePrivate).
#include <QByteArray>
#include <QtCore/private/qlocale_p.h>
#include <qglobal.h>

namespace quarvel::testes {

// LC_ALL set to `valor` (unset when empty), then read again by Qt.
inline void ler_localidade_do_sistema(const QByteArray& valor) {
    if (valor.isEmpty())
        qunsetenv("LC_ALL");
    else
        qputenv("LC_ALL", valor);
    QSystemLocale releitura;
}

} // namespace quarvel::testes
