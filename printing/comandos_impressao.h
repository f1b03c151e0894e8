#pragma once
// The print commands of the main window: imprimir through the print dialog,
// visualizar in the preview window, whose Print goes the same way. Both print what the window shows
// when they run: the tape lines, the total display, header and footer.
// Every exchange with the print server runs away from the window's thread,
// within a time limit, while the window waits with its events running.
#include "printing/documento_impressao.h"
#include "printing/fora_da_janela.h"

#include <QPageLayout>
#include <atomic>
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
    // The application's waiting window; empty, an event loop with none.
    Espera esperar = {};
};

class ComandosImpressao {
  public:
    explicit ComandosImpressao(ContextoImpressao contexto);

    void imprimir();
    void visualizar();

    // The server is being waited for: the window must not go away meanwhile.
    bool ocupado() const { return ocupado_; }

  private:
    void preparar(const char* titulo);
    // Asks the server for its destinations, then the dialog, then hands the
    // document over; `dono` owns the dialog and the messages. `preparar_doc`
    // runs once the dialog is accepted.
    void imprimir_em(QWidget* dono, const std::function<void()>& preparar_doc);
    // Runs `tarefa` on a thread of its own behind the waiting window.
    void servidor(const std::function<void(const std::atomic<bool>& cancelar)>& tarefa);

    ContextoImpressao c_;
    DocumentoImpressao documento_;
    bool ocupado_ = false;
    // The preview's page: A4 until the server names its default paper.
    QPageLayout pagina_;
};

} // namespace quarvel::printing
