#include "printing/comandos_impressao.h"

#include "printing/dialogos_impressao.h"
#include "printing/envio_cups.h"
#include "printing/mensagens.h"

namespace quarvel::printing {

ComandosImpressao::ComandosImpressao(ContextoImpressao contexto)
    : c_(std::move(contexto)), pagina_(EscolhaImpressao{}.pagina()) {}

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

void ComandosImpressao::imprimir_em(QWidget* dono, const std::function<void()>& preparar_doc) {
    // The printers are learnt here, away from the window's thread and within
    // the server's limit; the dialog only shows them.
    Resposta resposta = Resposta::Respondeu;
    std::vector<DestinoImpressao> destinos;
    servidor([&resposta, &destinos](const std::atomic<bool>& cancelar) {
        resposta = consultar_destinos(cancelar, &destinos);
    });
    if (resposta == Resposta::Cancelada) return;
    if (resposta == Resposta::NaoRespondeu) {
        c_.dialogos.aviso(dono, QString::fromUtf8(kServidorNaoRespondeu));
        return;
    }
    if (resposta == Resposta::Respondeu) pagina_ = pagina_padrao(destinos);
    const std::optional<EscolhaImpressao> escolha =
        c_.dialogos.configurar_impressao(dono, destinos);
    if (!escolha) return;
    if (preparar_doc) preparar_doc();
    QString erro;
    if (documento_.imprimir(*escolha, &erro, [this](const auto& tarefa) { servidor(tarefa); }))
        return;
    if (erro == QString::fromUtf8(kImpressaoCancelada)) return; // the user's own choice
    c_.dialogos.aviso(dono, erro == QString::fromUtf8(kServidorNaoRespondeu)
                                ? erro
                                : QString::fromUtf8(kFalhaImpressao).arg(erro));
}

void ComandosImpressao::imprimir() {
    imprimir_em(c_.dono, [this] { preparar(kTituloImpressao); });
}

void ComandosImpressao::visualizar() {
    preparar(kTituloVisualizacao);
    c_.dialogos.visualizar(c_.dono, documento_, pagina_,
                           [this](QWidget* janela) { imprimir_em(janela, {}); });
}

} // namespace quarvel::printing
