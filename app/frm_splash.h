#pragma once
// form_splash: the borderless start-up picture, shown while the main window
// is built.
//
// Use from main():
//     quarvel::app::FormSplash splash;
//     splash.exibir();                      // centred, asked to paint
//     FormPrincipal janela;                 // built while the picture shows
//     splash.encerrar_apos(2000, [&] { janela.show(); });
//     return app.exec();                    // the picture is drawn here
#include <QPixmap>
#include <QWidget>

#include <functional>

namespace quarvel::app {

class FormSplash : public QWidget {
    Q_OBJECT
  public:
    static constexpr int largura = 500;
    static constexpr int altura = 118;

    explicit FormSplash(QWidget* parent = nullptr);

    // Centres on the screen, shows and paints what it can at once.
    void exibir();

    // After ms of the event loop, runs `seguinte` (which shows the next
    // window) and closes. The loop keeps running meanwhile: a window
    // manager maps and exposes the splash only when the program answers it,
    // so a sleep here would leave the screen blank.
    void encerrar_apos(int ms, std::function<void()> seguinte);

    const QPixmap& imagem() const { return imagem_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QPixmap imagem_;
};

} // namespace quarvel::app
