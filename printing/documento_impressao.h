#pragma once
// The print document: body lines, title, header and footer, page settings.
// It lays its pages out for a paint device and draws page n onto any painter,
// so the printer, the PDF writer and the preview share one drawing code.
#include <QFont>
#include <QString>
#include <QStringList>
#include <QDateTime>

class QPainter;
class QPrinter;
class QPagedPaintDevice;

namespace quarvel::printing {

struct ConteudoImpressao {
    QStringList linhas_fita;  // the tape lines as shown
    QString total;            // the text of the total display, "R$ 1.234,56"
    QString cabecalho;
    QString rodape;
    QString titulo;           // "Quarvel 1.0" to print, "Quarvel" to preview
};

class DocumentoImpressao {
public:
    // Header and footer set-up and body building.
    void preparar(const ConteudoImpressao& c);
    const QString& titulo() const;

    // Lays the pages out for a device of this resolution and paper; reads the
    // date and time for the macros once. Returns the page count.
    int paginar(const QPagedPaintDevice& dispositivo);
    int paginas() const;

    // Draws page n (1-based) in device coordinates of the last layout.
    void desenhar_pagina(QPainter& p, int n) const;

    // One job named after the title, all pages. False with a reason on failure.
    bool imprimir(QPrinter& impressora, QString* erro);

    // ...implementation details are the printing layer's own.
};

// Prints into a PDF file exactly as the print command would.
bool imprimir_pdf(DocumentoImpressao& doc, const QString& caminho, QString* erro);

}  // namespace quarvel::printing
