#pragma once
// Reading printed PDFs back as text, and tapes to print.
#include <QString>
#include <QStringList>

#include "printing/documento_impressao.h"

namespace apoio {

// The text of each page, laid out as on paper (pdftotext -layout).
QStringList paginas_pdf(const QString& arquivo);
// What pdfinfo reports about the file.
QString info_pdf(const QString& arquivo);
// The non-empty lines of a page's text, trimmed.
QStringList linhas(const QString& pagina);

// A tape of n lines "1,00", "2,00", ... with the given texts.
quarvel::printing::ConteudoImpressao fita(int n, const QString& cabecalho = {},
                                          const QString& rodape = {},
                                          const QString& titulo = QStringLiteral("Quarvel 1.0"));

} // namespace apoio
