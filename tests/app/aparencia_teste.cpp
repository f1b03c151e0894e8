// How the main window looks where a style or a narrow window could change it.
#include "app/aparencia.h"
#include "tests/app/janela_apoio.h"

#include <QComboBox>
#include <QImage>
#include <QStatusBar>
#include <QStyleHints>
#include <qpa/qwindowsysteminterface.h>

namespace quarvel::app {
namespace {

class AparenciaTeste : public JanelaTeste {
  protected:
    QList<QLabel*> paineis() const {
        QList<QLabel*> r;
        for (QLabel* l : janela->statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            r << l;
        std::sort(r.begin(), r.end(),
                  [](QLabel* a, QLabel* b) { return a->geometry().x() < b->geometry().x(); });
        return r;
    }
};

TEST_F(AparenciaTeste, PaineisDaBarraDeEstadoMantemALarguraNaJanelaEstreita) {
    for (int largura : {664, 420, 300}) {
        janela->resize(largura, janela->height());
        QApplication::processEvents();
        const QList<QLabel*> p = paineis();
        ASSERT_EQ(p.size(), 3);
        EXPECT_EQ(p[0]->width(), 150) << largura;
        EXPECT_EQ(p[1]->width(), 350) << largura;
        // The clock never slides over panel 2: it starts after it or is gone.
        EXPECT_TRUE(p[2]->width() <= 0 || p[2]->geometry().left() > p[1]->geometry().right())
            << largura << ": clock at " << p[2]->geometry().left() << ", panel 2 ends at "
            << p[1]->geometry().right();
    }
}

TEST_F(AparenciaTeste, IntervaloDoBackupEmVerdeClaroChapado) {
    auto* caixa = filho<QComboBox>("qtdetempo");
    const QImage img = caixa->grab().toImage();
    // A row through the box between the "1" and the arrow: one flat colour,
    // not a gradient running from top to bottom.
    const int x = caixa->width() / 2 - 4;
    int verdes = 0;
    for (int y = 4; y < caixa->height() - 4; ++y)
        if (img.pixelColor(x, y) == QColor(209, 255, 164)) ++verdes;
    EXPECT_EQ(verdes, caixa->height() - 8);
}

// A desktop that changes its theme or colour scheme while the program runs
// (Qt 6.8 follows GNOME's and the portal's "prefer dark") makes Qt read the
// theme's palette again; the program's look stays as it was.
TEST_F(AparenciaTeste, TrocaDeTemaDoDesktopNaoEscureceAJanela) {
    aplicar_aparencia_clara();
    QApplication::processEvents();
    const QImage antes = janela->grab().toImage();
    QWindowSystemInterface::handleThemeChange<QWindowSystemInterface::SynchronousDelivery>();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(239, 239, 239));
    EXPECT_EQ(QApplication::palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_TRUE(janela->grab().toImage() == antes);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    EXPECT_NE(QGuiApplication::styleHints()->colorScheme(), Qt::ColorScheme::Dark);
#endif
}

} // namespace
} // namespace quarvel::app
