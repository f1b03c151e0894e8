// Every dialog is wide enough for its whole title in a title bar drawn by
// Qt's own decorations (Wayland), which cut a title where the buttons begin.
#include "app/frm_erro.h"
#include "app/frm_sobre.h"
#include "documents/frm_restaurar.h"
#include "tape/botoes_dialogo.h"
#include "tape/frm_repetir.h"
#include "tape/frm_valor.h"

#include <QApplication>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quarvel::app {
namespace {

struct Dialogo {
    const char* nome;
    std::function<std::unique_ptr<QDialog>()> criar;
};
void PrintTo(const Dialogo& d, std::ostream* os) {
    *os << d.nome;
}

const Dialogo kDialogos[] = {
    {"modificar_valor",
     [] {
         return std::make_unique<tape::FormValor>(QStringLiteral("Modificar Valor"),
                                                  QStringLiteral("Novo Valor:"));
     }},
    {"buscar_valor",
     [] {
         return std::make_unique<tape::FormValor>(
             QStringLiteral("Buscar Valor"), QStringLiteral("Digite o valor que deseja buscar:"));
     }},
    {"repetir", [] { return std::make_unique<tape::FormRepetir>(); }},
    {"restaurar",
     [] {
         return std::make_unique<documents::FormRestaurar>(QStringList{"malote.qvlbackup"}, [] {});
     }},
    {"sobre", [] { return std::make_unique<FormSobre>(); }},
    {"erro",
     [] { return std::make_unique<FormErro>(QStringLiteral("Arquivo não encontrado"), 0x1234); }},
};

class TituloInteiro : public ::testing::TestWithParam<Dialogo> {};

TEST_P(TituloInteiro, LarguraCabeOTitulo) {
    auto d = GetParam().criar();
    d->show();
    QApplication::processEvents();
    EXPECT_GE(d->width(), tape::largura_para_titulo(d->windowTitle()))
        << d->windowTitle().toStdString();
    // Fixed: no window manager offers to maximise it.
    EXPECT_EQ(d->minimumSize(), d->maximumSize());
}

INSTANTIATE_TEST_SUITE_P(Janelas, TituloInteiro, ::testing::ValuesIn(kDialogos),
                         [](const auto& p) { return std::string(p.param.nome); });

} // namespace
} // namespace quarvel::app
