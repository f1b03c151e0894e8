#include "printing/comandos_impressao.h"

#include "printing/dialogos_impressao.h"
#include "printing/envio_cups.h"
#include "printing/mensagens.h"

#include <QEventLoop>
#include <QPrinter>
#include <QTimer>
#include <chrono>
#include <thread>

namespace quarvel::printing {

void ComandosImpressao::preparar(const char* titulo) {
    ConteudoImpressao c = c_.conteudo();
    c.titulo = QString::fromUtf8(titulo);
    documento_.preparar(c);
}

void ComandosImpressao::fora_da_janela(
    const std::function<void(const std::atomic<bool>&)>& tarefa) {
    ocupado_ = true;
    std::atomic<bool> cancelar{false};
    std::atomic<bool> pronto{false};
    std::thread fio([&] {
        tarefa(cancelar);
        pronto = true;
    });
    // A quick answer shows no window: for a fifth of a second at most the
    // window simply waits.
    for (int i = 0; i < 20 && !pronto; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!pronto) {
        const auto terminou = [&pronto] { return pronto.load(); };
        const auto desistir = [&cancelar] { cancelar = true; };
        if (c_.esperar) {
            c_.esperar(terminou, desistir);
        } else {
            QEventLoop laco;
            QTimer vigia;
            QObject::connect(&vigia, &QTimer::timeout, [&] {
                if (pronto) laco.quit();
            });
            vigia.start(20);
            laco.exec();
        }
    }
    // The task ends at the server's time limit or soon after the cancel.
    fio.join();
    ocupado_ = false;
}

void ComandosImpressao::imprimir() {
    // Qt's print dialog asks the server for its printers on this thread and
    // without a limit: the server is asked first, away from it.
    Resposta resposta = Resposta::Respondeu;
    fora_da_janela([&resposta](const std::atomic<bool>& cancelar) {
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
    if (documento_.imprimir(impressora, &erro,
                            [this](const auto& tarefa) { fora_da_janela(tarefa); }))
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
