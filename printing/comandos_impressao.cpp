#include "printing/comandos_impressao.h"

#include "printing/dialogos_impressao.h"
#include "printing/envio_cups.h"
#include "printing/mensagens.h"

#include <QPrinter>

namespace quarvel::printing {

void ComandosImpressao::preparar(const char* titulo) {
    ConteudoImpressao c = c_.conteudo();
    c.titulo = QString::fromUtf8(titulo);
    documento_.preparar(c);
}

void ComandosImpressao::servidor(const std::function<void(const std::atomic<bool>&)>& tarefa) {
    ocupado_ = true;
    fora_da_janela(tarefa, c_.esperar);
    ocupado_ = false;
}

void ComandosImpressao::imprimir() {
    // Qt's print dialog asks the server for its printers on this thread and
    // without a limit: the server is asked first, away from it.
    Resposta resposta = Resposta::Respondeu;
    servidor([&resposta](const std::atomic<bool>& cancelar) {
        resposta = consultar_destinos(cancelar);
    });
    if (resposta == Resposta::Cancelada) return;
    if (resposta == Resposta::NaoRespondeu) {
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kServidorNaoRespondeu));
        return;
    }
    QPrinter impressora(QPrinter::HighResolution);
    if (!c_.dialogos.configurar_impressao(c_.dono, impressora)) return;
    preparar(kTituloImpressao);
    QString erro;
    if (documento_.imprimir(impressora, &erro, [this](const auto& tarefa) { servidor(tarefa); }))
        return;
    if (erro == QString::fromUtf8(kImpressaoCancelada)) return; // the user's own choice
    c_.dialogos.aviso(c_.dono, erro == QString::fromUtf8(kServidorNaoRespondeu)
                                   ? erro
                                   : QString::fromUtf8(kFalhaImpressao).arg(erro));
}

void ComandosImpressao::visualizar() {
    preparar(kTituloVisualizacao);
    c_.dialogos.visualizar(c_.dono, documento_);
}

} // namespace quarvel::printing
