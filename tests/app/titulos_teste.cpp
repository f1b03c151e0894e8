// Every dialog is wide enough for its whole title in a title bar drawn by
// Qt's own decorations (Wayland), which cut a title where the buttons begin.
#include "tape/botoes_dialogo.h"
#include "tests/app/janelas_programa.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace quarvel::app {
namespace {

class TituloInteiro : public ::testing::TestWithParam<JanelaPrograma> {};

TEST_P(TituloInteiro, LarguraCabeOTitulo) {
    auto d = GetParam().criar(nullptr);
    d->show();
    QApplication::processEvents();
    EXPECT_GE(d->width(), tape::largura_para_titulo(d->windowTitle()))
        << d->windowTitle().toStdString();
    // Fixed: no window manager offers to maximise it.
    EXPECT_EQ(d->minimumSize(), d->maximumSize());
}

INSTANTIATE_TEST_SUITE_P(Janelas, TituloInteiro, ::testing::ValuesIn(dialogos_fixos()),
                         [](const auto& p) { return std::string(p.param.nome); });

} // namespace
} // namespace quarvel::app
