#pragma once
// The print document: body lines, title, header and footer, page settings.
// It lays its pages out for a paint device and draws page n onto any painter,
// so the printer, the PDF writer and the preview share one drawing code.
#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

#include "printing/layout_pagina.h"

class QPainter;
class QPagedPaintDevice;

namespace quarvel::printing {

struct EscolhaImpressao;

// The resolution pages are laid out and drawn at for print, for the PDF file
// and for the preview's measures, in dots per inch.
inline constexpr int kResolucaoImpressao = 1200;

struct ConteudoImpressao {
    QStringList linhas_fita; // the tape lines as shown
    QString total;           // the text of the total display, "R$ 1.234,56"
    QString cabecalho;
    QString rodape;
    QString titulo; // kTituloImpressao to print, kTituloVisualizacao to preview
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

    // Runs the hand-over to the print server and waits for it; the task
    // gets the flag the user's cancel sets.
    using Envio =
        std::function<void(const std::function<void(const std::atomic<bool>& cancelar)>& tarefa)>;

    // Every page as one job named after the title, one copy: into the PDF
    // file the dialog chose, or handed to the CUPS queue, through `envio`
    // when given. False with the reason on failure: the print server's, or
    // the file's name and the system's.
    bool imprimir(const EscolhaImpressao& escolha, QString* erro, const Envio& envio = {});

    // What the layout found, for the preview and for checks.
    const QStringList& corpo() const { return corpo_; }
    const Dispositivo& dispositivo() const { return dispositivo_; }
    const Geometria& geometria() const { return geometria_; }
    int altura_linha() const { return altura_linha_; }
    int linhas_por_pagina() const { return por_pagina_; }
    int linhas_impressas() const; // body lines after wrapping
    QStringList linhas_da_pagina(int n) const;
    QString data_layout() const { return data_; }
    QString hora_layout() const { return hora_; }
    // The text of an item with its macros expanded for page n.
    QString expandir(const QString& texto, int n) const;

    struct ItemCabecalho {
        QString texto;
        QFont fonte;
        Alinhamento alinhamento = Alinhamento::esquerda;
        int linha = 1;
        // Set by the layout: the font in device pixels and its metrics.
        QFont fonte_px;
        int altura = 0;
        int ascendente = 0;
    };
    const std::vector<ItemCabecalho>& itens_cabecalho() const { return cabecalho_; }
    const std::vector<ItemCabecalho>& itens_rodape() const { return rodape_; }

  private:
    // A piece of a body line as printed: the whole line unless it wraps.
    struct Trecho {
        int linha;
        int inicio;
        int tamanho;
    };
    QString texto_trecho(int i) const;
    void desenhar_faixas(QPainter& p, const std::vector<ItemCabecalho>& itens, bool cabecalho,
                         int n) const;

    QStringList corpo_;
    QFont fonte_corpo_;
    QString titulo_;
    std::vector<ItemCabecalho> cabecalho_;
    std::vector<ItemCabecalho> rodape_;

    // Last layout.
    Dispositivo dispositivo_;
    Geometria geometria_;
    QFont fonte_corpo_px_; // the body font sized in device pixels
    int altura_linha_ = 1;
    int ascendente_corpo_ = 0;
    int por_pagina_ = 1;
    int paginas_ = 1;
    bool quebrado_ = false; // some line wraps: trechos_ holds the printed pieces
    std::vector<Trecho> trechos_;
    QString data_;
    QString hora_;
};

// Prints into a PDF file exactly as the print command would.
bool imprimir_pdf(DocumentoImpressao& doc, const QString& caminho, QString* erro);

} // namespace quarvel::printing
