#pragma once
// form_loading: the borderless "Aguarde ..." window with a moving gradient,
// shown during long loads while every other window is disabled. Alt+F4 in it
// sets the cancel flag that the text import and the restore honour.
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class QTimer;

namespace quarvel::documents {

class FormLoading : public QWidget {
    Q_OBJECT
  public:
    explicit FormLoading(QWidget* principal);
    ~FormLoading() override; // stops, re-enables the other windows

    void iniciar(); // disable others, show, start the gradient
    bool cancelado() const { return cancelado_; }
    void pulsar(); // advance the gradient if its time has come

    // Called once per loaded value: advances the gradient and lets pending
    // events run (repaints, Alt+F4, timers) at most every
    // intervalo_eventos_ms of loading work. A system call per value would
    // cost more than the load itself.
    void a_cada_valor();
    // 0 lets the events run after every value (the benchmarks' baseline).
    static inline int intervalo_eventos_ms = 16;

    // Shows the window over `principal` while pronto() is false, the event
    // loop running (the clock and the backup tick); Alt+F4 in it calls
    // cancelar, once, and the wait goes on until pronto().
    static void esperar(QWidget* principal, const std::function<bool()>& pronto,
                        const std::function<void()>& cancelar);

    // Position of the moving band, for painting.
    int fase() const { return fase_; }
    // Minimum time between two visible steps of pulsar().
    static constexpr int intervalo_ms = 40;

  protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void avancar();

    QWidget* principal_;
    bool cancelado_ = false;
    int fase_ = 0;
    qint64 ultimo_pulso_ = 0;
    qint64 ultimos_eventos_ = 0;

    QWidget* progresso_ = nullptr;
    QTimer* relogio_ = nullptr;
    QElapsedTimer decorrido_;
    QList<QPointer<QWidget>> desativadas_;
    bool fechando_ = false;
};

} // namespace quarvel::documents
