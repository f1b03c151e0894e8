#pragma once
// form_splash: the borderless start-up picture, shown while the main window
// is built.
//
// Use from main():
//     quarvel::app::FormSplash splash;
//     splash.exibir();                      // centred and painted at once
//     FormPrincipal janela;                 // built while the picture shows
//     quarvel::app::FormSplash::pausar(2000);  // blocks, no events run
//     splash.close();                       // or let it go out of scope
//     janela.show();
//     return app.exec();
#include <QPixmap>
#include <QWidget>

namespace quarvel::app {

class FormSplash : public QWidget {
    Q_OBJECT
  public:
    static constexpr int largura = 500;
    static constexpr int altura = 118;

    explicit FormSplash(QWidget* parent = nullptr);

    // Centres on the screen, shows and paints immediately, so the picture is
    // on screen before the caller goes on with slow work.
    void exibir();

    // Waits without running the event loop: whatever is on screen stays.
    static void pausar(int ms);

    const QPixmap& imagem() const { return imagem_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QPixmap imagem_;
};

} // namespace quarvel::app
