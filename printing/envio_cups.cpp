#include "printing/envio_cups.h"

#include "printing/dialogos_impressao.h"
#include "printing/mensagens.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/socket.h>

#include <cups/cups.h>

namespace quarvel::printing {

namespace {

using Relogio = std::chrono::steady_clock;

// A connection of its own to the server. Every wait inside libcups comes
// back here every fifth of a second and gives up at the deadline or when
// the user cancels, so no call can outlast the limit.
class Conexao {
  public:
    Conexao(const std::atomic<bool>* cancelar, int prazo_ms)
        : cancelar_(cancelar), fim_(Relogio::now() + std::chrono::milliseconds(prazo_ms)) {
        http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             prazo_ms, nullptr);
        if (http_) httpSetTimeout(http_, 0.2, &Conexao::continuar, this);
    }
    ~Conexao() {
        if (http_) httpClose(http_);
    }
    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;

    http_t* http() const { return http_; }
    bool cancelada() const { return cancelar_ && cancelar_->load(); }
    bool esgotada() const { return Relogio::now() >= fim_; }

  private:
    static int continuar(http_t*, void* dados) {
        const auto* c = static_cast<const Conexao*>(dados);
        return !c->cancelada() && !c->esgotada();
    }

    const std::atomic<bool>* cancelar_;
    Relogio::time_point fim_;
    http_t* http_ = nullptr;
};

QString com_fila(const char* texto, const QString& fila) {
    return QString::fromUtf8(texto).arg(fila);
}

// The server's last answer, in Portuguese.
QString motivo_do_servidor(const QString& fila) {
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return com_fila(kImpressoraInexistente, fila);
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return com_fila(kImpressoraRecusa, fila);
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
        return com_fila(kImpressaoNaoAutorizada, fila);
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return QString::fromUtf8(kServidorIndisponivel);
    case IPP_STATUS_ERROR_BUSY:
        return QString::fromUtf8(kServidorOcupado);
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        return com_fila(kFormatoRecusado, fila);
    default:
        return QString::fromUtf8(kServidorRecusou)
            .arg(fila, QString::fromUtf8(ippErrorString(cupsLastError())));
    }
}

// Why the exchange on this connection failed.
QString motivo(const Conexao& c, const QString& fila) {
    if (c.cancelada()) return QString::fromUtf8(kImpressaoCancelada);
    if (c.esgotada()) return QString::fromUtf8(kServidorNaoRespondeu);
    return motivo_do_servidor(fila);
}

bool falhou() {
    return cupsLastError() > IPP_STATUS_OK_CONFLICTING;
}

// Create-Job, asked on this connection. libcups' cupsCreateJob first looks
// the queue up on the thread's default connection, whose waits ignore ours.
int criar_trabalho(http_t* http, const std::string& fila, const char* titulo, int quantas,
                   cups_option_t* opcoes) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", fila.c_str());
    ipp_t* pedido = ippNewRequest(IPP_OP_CREATE_JOB);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, titulo);
    cupsEncodeOptions2(pedido, quantas, opcoes, IPP_TAG_OPERATION);
    cupsEncodeOptions2(pedido, quantas, opcoes, IPP_TAG_JOB);
    ipp_t* resposta = cupsDoRequest(http, pedido, ("/printers/" + fila).c_str());
    ipp_attribute_t* id = ippFindAttribute(resposta, "job-id", IPP_TAG_INTEGER);
    const int numero = id ? ippGetInteger(id, 0) : 0;
    ippDelete(resposta);
    return numero;
}

// A held job goes to print once the whole document is in.
bool liberar(http_t* http, int id) {
    ipp_t* pedido = ippNewRequest(IPP_OP_RELEASE_JOB);
    char uri[256];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/jobs/%d", id);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippDelete(cupsDoRequest(http, pedido, "/jobs/"));
    return !falhou();
}

} // namespace

int prazo_servidor_ms() {
    if (const char* valor = std::getenv("QUARVEL_PRAZO_IMPRESSAO_MS")) {
        const int ms = std::atoi(valor);
        if (ms > 0) return ms;
    }
    return 30000;
}

Resposta consultar_destinos(const std::atomic<bool>& cancelar,
                            std::vector<DestinoImpressao>* destinos) {
    const Conexao c(&cancelar, prazo_servidor_ms());
    if (!c.http()) return c.esgotada() ? Resposta::NaoRespondeu : Resposta::SemServidor;
    cups_dest_t* lista = nullptr;
    const int quantos = cupsGetDests2(c.http(), &lista);
    std::vector<DestinoImpressao> achados;
    achados.reserve(static_cast<std::size_t>(std::max(0, quantos)));
    auto opcao = [](const cups_dest_t& d, const char* nome) {
        const char* v = cupsGetOption(nome, d.num_options, d.options);
        return std::string(v ? v : "");
    };
    for (int i = 0; i < quantos; ++i) {
        const cups_dest_t& d = lista[i];
        DestinoImpressao r;
        r.fila = d.name ? d.name : "";
        r.instancia = d.instance ? d.instance : "";
        r.padrao = d.is_default != 0;
        r.descricao = opcao(d, "printer-info");
        r.local = opcao(d, "printer-location");
        // The queue's default media comes among the options the server lists
        // with the destination ("media", from media-default).
        r.papel = opcao(d, "media");
        if (!r.fila.empty()) achados.push_back(std::move(r));
    }
    cupsFreeDests(quantos, lista);
    if (c.cancelada()) return Resposta::Cancelada;
    if (c.esgotada()) return Resposta::NaoRespondeu;
    if (destinos) *destinos = std::move(achados);
    return Resposta::Respondeu;
}

int enviar_para_cups(const QString& destino, const QString& titulo, const OpcoesCups& opcoes,
                     const QByteArray& pdf, QString* erro, const std::atomic<bool>* cancelar) {
    auto falha = [&](const QString& texto) {
        if (erro) *erro = texto;
        return 0;
    };
    const std::string fila = fila_do_destino(destino.toStdString());
    const QString nome_fila = QString::fromStdString(fila);
    if (fila.empty()) return falha(QString::fromUtf8(kNenhumaImpressora));
    const QByteArray nome = titulo.toUtf8();

    const Conexao c(cancelar, prazo_servidor_ms());
    if (!c.http())
        return falha(c.esgotada() ? QString::fromUtf8(kServidorNaoRespondeu)
                                  : QString::fromUtf8(kServidorIndisponivel));
    cups_option_t* lista = nullptr;
    int quantas = 0;
    for (const auto& [opcao, valor] : opcoes)
        quantas = cupsAddOption(opcao.c_str(), valor.c_str(), quantas, &lista);
    // A hold the user chose in the dialog stays theirs to release.
    const char* retencao = cupsGetOption("job-hold-until", quantas, lista);
    const bool reter = retencao == nullptr || std::string_view(retencao) == "no-hold";
    if (reter) quantas = cupsAddOption("job-hold-until", "indefinite", quantas, &lista);
    const int id = criar_trabalho(c.http(), fila, nome.constData(), quantas, lista);
    cupsFreeOptions(quantas, lista);
    if (id <= 0) return falha(motivo(c, nome_fila));

    http_status_t estado =
        cupsStartDocument(c.http(), fila.c_str(), id, nome.constData(), CUPS_FORMAT_PDF, 1);
    constexpr qsizetype kBloco = 64 * 1024;
    for (qsizetype i = 0; estado == HTTP_STATUS_CONTINUE && i < pdf.size(); i += kBloco)
        estado = cupsWriteRequestData(c.http(), pdf.constData() + i,
                                      static_cast<size_t>(std::min(kBloco, pdf.size() - i)));
    QString por_que;
    if (estado != HTTP_STATUS_CONTINUE) {
        por_que =
            c.cancelada() || c.esgotada() || falhou()
                ? motivo(c, nome_fila)
                : QString::fromUtf8(kDocumentoNaoChegou).arg(QString::fromUtf8(httpStatus(estado)));
    } else if (cupsFinishDocument(c.http(), fila.c_str()) > IPP_STATUS_OK_CONFLICTING ||
               (reter && !liberar(c.http(), id))) {
        por_que = motivo(c, nome_fila);
    }
    if (!por_que.isEmpty()) {
        // The job is held, so it never prints. A server that still answers
        // also drops it, over a connection the user's cancel does not stop;
        // one that stopped answering is not waited for again.
        if (!c.esgotada()) {
            const Conexao cancelamento(nullptr, std::min(prazo_servidor_ms(), 2000));
            if (cancelamento.http()) cupsCancelJob2(cancelamento.http(), fila.c_str(), id, 1);
        }
        return falha(por_que);
    }
    return id;
}

// Paper and orientation as the print dialog chose them; opcoes_do_trabalho
// adds the single copy.
OpcoesCups opcoes_da_escolha(const EscolhaImpressao& escolha) {
    OpcoesCups base;
    base.emplace_back("media", escolha.papel.key().toStdString());
    if (escolha.orientacao == QPageLayout::Landscape) base.emplace_back("landscape", "");
    return opcoes_do_trabalho(base, {});
}

} // namespace quarvel::printing
