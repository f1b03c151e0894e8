#pragma once
// The print dialogs answered from a script. RoteiroImpressaoSobre<Porta>
// adds this to any port built on printing::DialogosImpressao, so the
// application's scripted dialogs share it.
#include "printing/dialogos_impressao.h"
#include "tests/apoio/roteiro.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>
#include <functional>

namespace quarvel::printing {

template <class Porta> class RoteiroImpressaoSobre : public Porta {
  public:
    // What was shown.
    int previas = 0;
    int impressoes = 0;

    // The print dialog's answer: cancelled unless accepted.
    bool aceitar_impressao = false;
    QString impressao_pdf; // when set, the print dialog chooses this PDF file
    // What else the print dialog may hand over: the printer, a page range or
    // another part of the document, copies, and the CUPS options (name, value,
    // name, value...) its options tab and the printer properties collect.
    QString nome_impressora;
    QPrinter::PrintRange faixa = QPrinter::AllPages;
    int pagina_de = 0;
    int pagina_ate = 0;
    int copias = 1;
    QStringList opcoes_cups;
    // Runs when the print dialog is accepted, its choices made (a test stops
    // the server there).
    std::function<void()> ao_configurar;

    bool configurar_impressao(QWidget*, QPrinter& impressora) override {
        ++impressoes;
        if (!aceitar_impressao) return false;
        if (!nome_impressora.isEmpty()) {
            impressora.setOutputFormat(QPrinter::NativeFormat);
            impressora.setPrinterName(nome_impressora);
        }
        if (!impressao_pdf.isEmpty()) {
            impressora.setOutputFormat(QPrinter::PdfFormat);
            impressora.setOutputFileName(impressao_pdf);
        }
        impressora.setPrintRange(faixa);
        if (pagina_de > 0) impressora.setFromTo(pagina_de, pagina_ate);
        impressora.setCopyCount(copias);
        // Qt's CUPS engine keeps these under its private property key.
        if (!opcoes_cups.isEmpty())
            impressora.printEngine()->setProperty(QPrintEngine::PrintEnginePropertyKey(0xfe00),
                                                  opcoes_cups);
        if (ao_configurar) ao_configurar();
        return true;
    }
    void visualizar(QWidget*, DocumentoImpressao&) override { ++previas; }
};

using RoteiroImpressao = testes::AvisosSobre<RoteiroImpressaoSobre<DialogosImpressao>>;

} // namespace quarvel::printing
