#pragma once
// The print commands over their narrow context: what is printed as the
// window hands it over, the dialogs answered from a script and a plain owner
// window; no main window.
#include "printing/comandos_impressao.h"
#include "tests/apoio/impressao_qt.h"
#include "tests/printing/apoio_pdf.h"
#include "tests/printing/roteiro_impressao.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace quarvel::printing {

class ImpressaoTeste : public ::testing::Test {
  protected:
    // `esperar`: the waiting window the application gives; none by default.
    explicit ImpressaoTeste(Espera esperar = {})
        : comandos(
              ContextoImpressao{[this] { return conteudo; }, roteiro, &dono, std::move(esperar)}) {}

    void SetUp() override {
        ASSERT_TRUE(pasta.isValid());
        dono.show();
        QApplication::processEvents();
    }
    QString caminho(const char* nome) const { return pasta.filePath(QString::fromUtf8(nome)); }

    QTemporaryDir pasta;
    QWidget dono;
    RoteiroImpressao roteiro;
    RoteiroImpressao* dlg = &roteiro;
    // What the window shows when a command runs: tape lines, total, texts.
    ConteudoImpressao conteudo;
    ComandosImpressao comandos;
};

} // namespace quarvel::printing
