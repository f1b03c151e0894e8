#pragma once
// Dialogs whose answers a test (or a benchmark) scripts in advance. Every
// question asked is recorded, so a test can check what the user was shown.
#include "app/dialogos.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>
#include <deque>
#include <optional>

namespace quarvel::app {

class DialogosRoteiro : public Dialogos {
  public:
    // What was shown, in order.
    QStringList avisos;
    QStringList perguntas;
    int sons = 0;
    QStringList enderecos;
    int previas = 0;
    int impressoes = 0;

    // The answers, taken in order; an empty queue answers "cancel".
    std::deque<Resposta> respostas;
    std::deque<QString> arquivos_abrir;
    std::deque<QString> arquivos_salvar;
    std::deque<std::optional<QString>> valores; // form_valor; nothing = Cancelar
    std::deque<std::optional<int>> repeticoes;  // form_repetir
    std::deque<QString> backups;                // form_restaurar; "" = nothing chosen
    bool limpar_no_restaurar = false;           // press "Limpar a pasta Backup"
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

    void aviso(QWidget*, const QString& texto) override { avisos << texto; }
    Resposta perguntar(QWidget*, const QString& texto) override {
        perguntas << texto;
        return tirar(respostas, Resposta::Cancelar);
    }
    QString abrir_arquivo(QWidget*, const QString&) override {
        return tirar(arquivos_abrir, QString());
    }
    QString salvar_arquivo(QWidget*, const QString&, const QString&) override {
        return tirar(arquivos_salvar, QString());
    }
    bool configurar_impressao(QWidget*, QPrinter& impressora) override;
    std::optional<QString>
    pedir_valor(QWidget*, const QString&, const QString&, const QString& inicial,
                const std::function<bool(const QString&)>& aceitar) override {
        ultimo_valor_inicial = inicial;
        // Like the dialog: a refused text keeps it open, so the next scripted
        // answer is typed; running out of answers is Cancelar.
        while (!valores.empty()) {
            auto v = valores.front();
            valores.pop_front();
            if (!v) return std::nullopt;
            if (!aceitar || aceitar(*v)) return v;
        }
        return std::nullopt;
    }
    std::optional<int> pedir_repeticoes(QWidget*) override {
        return tirar(repeticoes, std::optional<int>());
    }
    QString escolher_backup(QWidget*, const QStringList& nomes,
                            const std::function<void()>& limpar) override {
        nomes_backup = nomes;
        if (limpar_no_restaurar) {
            limpar();
            return {};
        }
        return tirar(backups, QString());
    }
    void visualizar(QWidget*, printing::DocumentoImpressao&) override { ++previas; }
    void sobre(QWidget*) override {}
    void tocar_confirmacao() override { ++sons; }
    void abrir_endereco(const QString& e) override { enderecos << e; }

    QString ultimo_valor_inicial;
    QStringList nomes_backup;

  private:
    template <class T, class D> static T tirar(std::deque<T>& fila, D padrao) {
        if (fila.empty()) return padrao;
        T v = fila.front();
        fila.pop_front();
        return v;
    }
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
