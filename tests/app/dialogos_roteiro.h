#pragma once
// Dialogs whose answers a test (or a benchmark) scripts in advance. Every
// question asked is recorded, so a test can check what the user was shown.
#include "app/dialogos.h"
#include "tests/tape/roteiro_fita.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>
#include <deque>
#include <optional>

namespace quarvel::app {

class DialogosRoteiro : public tape::RoteiroFitaSobre<Dialogos> {
  public:
    // What was shown, in order (the tape's questions are recorded by the base).
    QStringList perguntas;
    QStringList enderecos;
    int previas = 0;
    int impressoes = 0;

    // The answers, taken in order; an empty queue answers "cancel".
    std::deque<Resposta> respostas;
    std::deque<QString> arquivos_abrir;
    std::deque<QString> arquivos_salvar;
    std::deque<QString> backups;      // form_restaurar; "" = nothing chosen
    bool limpar_no_restaurar = false; // press "Limpar a pasta Backup"
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

    Resposta perguntar(QWidget*, const QString& texto) override {
        perguntas << texto;
        return tape::tirar(respostas, Resposta::Cancelar);
    }
    QString abrir_arquivo(QWidget*, const QString&) override {
        return tape::tirar(arquivos_abrir, QString());
    }
    QString salvar_arquivo(QWidget*, const QString&, const QString&) override {
        return tape::tirar(arquivos_salvar, QString());
    }
    bool configurar_impressao(QWidget*, QPrinter& impressora) override;
    QString escolher_backup(QWidget*, const QStringList& nomes,
                            const std::function<void()>& limpar) override {
        nomes_backup = nomes;
        if (limpar_no_restaurar) {
            limpar();
            return {};
        }
        return tape::tirar(backups, QString());
    }
    void visualizar(QWidget*, printing::DocumentoImpressao&) override { ++previas; }
    void sobre(QWidget*) override {}
    void abrir_endereco(const QString& e) override { enderecos << e; }

    QStringList nomes_backup;
};

inline bool DialogosRoteiro::configurar_impressao(QWidget*, QPrinter& impressora) {
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
    return true;
}

} // namespace quarvel::app
