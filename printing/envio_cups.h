#pragma once
// Hands a PDF document to a CUPS queue as one print job, and says why when
// the print server refuses it (Qt's own CUPS engine drops that answer).
#include <QByteArray>
#include <QString>

#include "printing/opcoes_cups.h"

namespace quarvel::printing {

// `destino` is the printer name as Qt knows it ("fila" or "fila/instancia").
// Returns the job id, or 0 with the server's reason in *erro.
int enviar_para_cups(const QString& destino, const QString& titulo, const OpcoesCups& opcoes,
                     const QByteArray& pdf, QString* erro);

} // namespace quarvel::printing
