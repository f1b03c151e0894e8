#include "printing/envio_cups.h"

#include <algorithm>

#include <cups/cups.h>

namespace quarvel::printing {

namespace {

QString motivo_do_servidor() {
    const char* texto = cupsLastErrorString();
    if (texto && *texto) return QString::fromUtf8(texto);
    return QStringLiteral("o servidor de impressão recusou o trabalho");
}

} // namespace

int enviar_para_cups(const QString& destino, const QString& titulo, const OpcoesCups& opcoes,
                     const QByteArray& pdf, QString* erro) {
    auto falha = [&](const QString& motivo) {
        if (erro) *erro = motivo;
        return 0;
    };
    const std::string fila = fila_do_destino(destino.toStdString());
    if (fila.empty()) return falha(QStringLiteral("nenhuma impressora foi escolhida"));
    const QByteArray nome = titulo.toUtf8();

    cups_option_t* lista = nullptr;
    int quantas = 0;
    for (const auto& [opcao, valor] : opcoes)
        quantas = cupsAddOption(opcao.c_str(), valor.c_str(), quantas, &lista);
    const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, fila.c_str(), nome.constData(), quantas, lista);
    cupsFreeOptions(quantas, lista);
    if (id <= 0) return falha(motivo_do_servidor());

    http_status_t estado = cupsStartDocument(CUPS_HTTP_DEFAULT, fila.c_str(), id, nome.constData(),
                                             CUPS_FORMAT_PDF, 1);
    constexpr qsizetype kBloco = 64 * 1024;
    for (qsizetype i = 0; estado == HTTP_STATUS_CONTINUE && i < pdf.size(); i += kBloco)
        estado = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData() + i,
                                      static_cast<size_t>(std::min(kBloco, pdf.size() - i)));
    QString motivo;
    if (estado != HTTP_STATUS_CONTINUE) {
        motivo = cupsLastError() > IPP_STATUS_OK_CONFLICTING
                     ? motivo_do_servidor()
                     : QStringLiteral("o documento não chegou ao servidor de impressão (%1)")
                           .arg(QString::fromUtf8(httpStatus(estado)));
        cupsFinishDocument(CUPS_HTTP_DEFAULT, fila.c_str());
    } else if (cupsFinishDocument(CUPS_HTTP_DEFAULT, fila.c_str()) > IPP_STATUS_OK_CONFLICTING) {
        motivo = motivo_do_servidor();
    }
    if (!motivo.isEmpty()) {
        // Nothing half-sent is left waiting in the queue.
        cupsCancelJob2(CUPS_HTTP_DEFAULT, fila.c_str(), id, 1);
        return falha(motivo);
    }
    return id;
}

} // namespace quarvel::printing
