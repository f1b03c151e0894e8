#pragma once
// Everything the main window asks of the user or of the desktop goes through
// this interface. Each subsystem's commands have their own port: the tape's
// questions (tape::DialogosFita), the documents' (documents::
// DialogosDocumento) and printing's (printing::DialogosImpressao); this one
// joins them and adds the about box and the opening of addresses. The
// program uses DialogosReais; tests script the answers instead of blocking on
// a modal window.
#include "documents/dialogos_documento.h"
#include "printing/dialogos_impressao.h"
#include "tape/dialogos_fita.h"

#include <QString>
#include <memory>

class QWidget;

namespace quarvel::app {

class Dialogos : public tape::DialogosFita,
                 public documents::DialogosDocumento,
                 public printing::DialogosImpressao {
  public:
    // One message box for every subsystem: this overrides the three ports'
    // aviso at once.
    void aviso(QWidget* dono, const QString& texto) override = 0;

    virtual void sobre(QWidget* dono) = 0;

    // The desktop: opening a file or an address with its default handler (the
    // result is ignored).
    virtual void abrir_endereco(const QString& endereco) = 0;
};

std::unique_ptr<Dialogos> criar_dialogos_reais();

} // namespace quarvel::app
