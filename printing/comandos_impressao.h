#pragma once
// The print commands of the main window: imprimir through the system print
// dialog, visualizar in the preview window. Both print what the window shows
// when they run: the tape lines, the total display, header and footer.
#include "printing/documento_impressao.h"

#include <functional>
#include <utility>

class QWidget;

namespace quarvel::printing {

class DialogosImpressao;

struct ContextoImpressao {
    // What is printed, as it stands now; the title is the command's own.
    std::function<ConteudoImpressao()> conteudo;
    DialogosImpressao& dialogos;
    QWidget* dono; // owner of the message boxes and dialogs
};

class ComandosImpressao {
  public:
    explicit ComandosImpressao(ContextoImpressao contexto) : c_(std::move(contexto)) {}

    void imprimir();
    void visualizar();

  private:
    void preparar(const char* titulo);

    ContextoImpressao c_;
    DocumentoImpressao documento_;
};

} // namespace quarvel::printing
