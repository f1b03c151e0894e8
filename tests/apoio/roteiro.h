#pragma once
// What every scripted dialogs port shares: the answers taken in order, and
// the message boxes recorded. Each subsystem's script (tests/tape/
// roteiro_fita.h, tests/documents/roteiro_documento.h, tests/printing/
// roteiro_impressao.h) adds its own questions on top of a port; AvisosSobre
// then gives the port its one message box.
#include <QString>
#include <QStringList>
#include <deque>

class QWidget;

namespace quarvel::testes {

// The next answer, or `padrao` once the script has run out.
template <class T, class D> T tirar(std::deque<T>& fila, D padrao) {
    if (fila.empty()) return padrao;
    T v = fila.front();
    fila.pop_front();
    return v;
}

template <class Porta> class AvisosSobre : public Porta {
  public:
    QStringList avisos; // every message box shown, in order

    void aviso(QWidget*, const QString& texto) override { avisos << texto; }
};

} // namespace quarvel::testes
