#pragma once
// Dialogs whose answers a test (or a benchmark) scripts in advance: each
// subsystem's script joined on the application's port, with one message box
// for them all. Every question asked is recorded, so a test can check what
// the user was shown.
#include "app/dialogos.h"
#include "tests/apoio/roteiro.h"
#include "tests/documents/roteiro_documento.h"
#include "tests/printing/roteiro_impressao.h"
#include "tests/tape/roteiro_fita.h"

#include <QStringList>

namespace quarvel::app {

class DialogosRoteiro
    : public testes::AvisosSobre<tape::RoteiroFitaSobre<
          documents::RoteiroDocumentoSobre<printing::RoteiroImpressaoSobre<Dialogos>>>> {
  public:
    using Resposta = Dialogos::Resposta;

    QStringList enderecos; // what the desktop was asked to open

    void sobre(QWidget*) override {}
    void abrir_endereco(const QString& e) override { enderecos << e; }
};

} // namespace quarvel::app
