#pragma once
// What a screen reader says of the main window's values as they change.
//
// Orca 43 reads out, whatever has the focus, a notification that shows up
// inside a status bar, and nothing else about an object without the focus.
// Qt 6.4 has no announcement event, and its name and description changes
// carry the object instead of the new text, which Orca then drops even for
// the focused object. So the window speaks through a notification object of
// its status bar: its name is what is said, and each announcement sends it
// "showing" again, so the same text is said twice when it comes twice.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QLabel;
class QMainWindow;
class QStatusBar;
class QWidget;

namespace quarvel::tape {
class VisaoFita;
}

namespace quarvel::app {

class Locutor : public QObject {
  public:
    // The notification goes into `barra`; `fita`, `total` and `extenso` are
    // what is read.
    Locutor(QMainWindow& janela, QStatusBar& barra, tape::VisaoFita& fita, QLabel& total,
            QLabel& extenso);

    void falar_total();   // "total R$ 1.834,00", after every change of the tape
    void falar_linha();   // "linha 2: 600,00", after Up and Down
    void falar_extenso(); // "total por extenso: SEISCENTOS REAIS", on request

    // The tape's description: its current line.
    QString linha_atual() const;
    // The object a screen reader hears the announcements from.
    QWidget* notificacao() const { return notificacao_; }

  protected:
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    void falar(const QString& texto);
    void enviar();
    void descrever_fita();

    QMainWindow& janela_;
    QPointer<tape::VisaoFita> fita_;
    QPointer<QLabel> total_;
    QPointer<QLabel> extenso_;
    QWidget* notificacao_ = nullptr;
    QString pendente_;
    // Sends once the event loop has run, so a command ends its changes first
    // (the entry field emptied, the focus back). After a dialog or the
    // loading window, it waits for the main window to be active again and a
    // little more: Orca reads the window and its focus on activation, and
    // whatever it says next cuts the announcement short.
    QTimer envio_;
    // The last announcement, when it went and whether the main window was
    // inactive then.
    QString ultimo_;
    QElapsedTimer enviado_;
    bool enviado_fora_ = false;
};

} // namespace quarvel::app
