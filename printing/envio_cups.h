#pragma once
// Talks to the CUPS print server: asks for its destinations and hands a PDF
// document to a queue as one print job, each within a time limit, over a
// connection of its own whose every wait gives up at the limit or when the
// user cancels. The reasons the server gives come out in Portuguese (Qt's
// own CUPS engine drops them).
#include <QByteArray>
#include <QString>
#include <atomic>
#include <vector>

#include "printing/opcoes_cups.h"

namespace quarvel::printing {

struct EscolhaImpressao;

// How long the print server may take to answer, in milliseconds: 30 s, or
// the QUARVEL_PRAZO_IMPRESSAO_MS of the environment.
int prazo_servidor_ms();

enum class Resposta {
    Respondeu,
    SemServidor,  // none is running: nothing to wait for
    NaoRespondeu, // it took longer than the limit
    Cancelada,    // the user gave up waiting
};

// Whether the server lists its destinations within the limit, and which they
// are (into *destinos, when given, on Respondeu only).
Resposta consultar_destinos(const std::atomic<bool>& cancelar,
                            std::vector<DestinoImpressao>* destinos = nullptr);

// The job's options for what the print dialog chose: its paper and
// orientation; sides and the rest are the queue's own defaults, and the job
// prints one copy.
OpcoesCups opcoes_da_escolha(const EscolhaImpressao& escolha);

// `destino` is the printer name as Qt knows it ("fila" or "fila/instancia").
// The job is created held, and released only once the whole document has
// reached the server: a job left behind by a failure or a cancel never
// prints, and is cancelled when the server still answers. Returns the job
// id, or 0 with the reason in *erro.
int enviar_para_cups(const QString& destino, const QString& titulo, const OpcoesCups& opcoes,
                     const QByteArray& pdf, QString* erro,
                     const std::atomic<bool>* cancelar = nullptr);

} // namespace quarvel::printing
