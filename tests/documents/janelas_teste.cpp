// The loading window.
#include "espera/frm_loading.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

using quarvel::documents::FormLoading;

TEST(FormLoading, DesativaEReativaExatamenteAsOutras) {
    QWidget principal, ja_desativada;
    ja_desativada.setEnabled(false);
    principal.show();
    ja_desativada.show();
    {
        FormLoading f(&principal);
        f.iniciar();
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(f.isEnabled());
        EXPECT_FALSE(principal.isEnabled());
        EXPECT_FALSE(ja_desativada.isEnabled());
        EXPECT_EQ(f.size(), QSize(297, 83));
        EXPECT_NE(f.findChild<QWidget*>("progresso"), nullptr);
    }
    EXPECT_TRUE(principal.isEnabled());
    EXPECT_FALSE(ja_desativada.isEnabled()); // was off before, stays off
}

TEST(FormLoading, AltF4Cancela) {
    QWidget principal;
    principal.show();
    auto f = std::make_unique<FormLoading>(&principal);
    f->iniciar();
    EXPECT_FALSE(f->cancelado());

    QKeyEvent f4(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
    QApplication::sendEvent(f.get(), &f4);
    EXPECT_FALSE(f->cancelado()); // F4 alone is nothing

    QKeyEvent alt_f4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QApplication::sendEvent(f.get(), &alt_f4);
    EXPECT_TRUE(f->cancelado());
    EXPECT_TRUE(f->isVisible());
}

TEST(FormLoading, FecharPeloGerenciadorCancelaSemFechar) {
    QWidget principal;
    principal.show();
    FormLoading f(&principal);
    f.iniciar();
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.cancelado());
    EXPECT_TRUE(f.isVisible());
}

TEST(FormLoading, PulsarSemJanelaVisivelNaoFalha) {
    QWidget outra;
    outra.show();
    FormLoading f(nullptr);
    for (int i = 0; i < 1000; ++i)
        f.pulsar();
    // Before iniciar() the pulses show nothing, disable nothing, cancel nothing.
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(outra.isEnabled());
    EXPECT_FALSE(f.cancelado());
    // And the window still starts as usual afterwards.
    f.iniciar();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(outra.isEnabled());
}
