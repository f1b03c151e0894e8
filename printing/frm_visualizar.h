#pragma once
// TestPrintPreviewDlg: the print preview window over a print document. Its
// parts go by object name: the commands FirstCmd..CloseCmd (each on a
// <name>Button), the zoom menu PopupMenu1, the page view PageView and the
// StatusBar with its help and page panels.
#include <QDialog>
#include <QPageLayout>
#include <functional>

#include "printing/ajuste_pagina.h"

class QAction;
class QLabel;
class QMenu;

namespace quarvel::printing {

class DocumentoImpressao;
class VisaoPagina;

class TestPrintPreviewDlg : public QDialog {
    Q_OBJECT
  public:
    // What Print runs, with this window as the owner of what it shows: the
    // print command's own question, dialog and hand-over.
    using Impressao = std::function<void(QWidget* janela)>;

    // The pages are laid out on `pagina` (A4 unless given) at the print
    // resolution; nothing asks the print server for that.
    TestPrintPreviewDlg(DocumentoImpressao& doc, QWidget* parent = nullptr,
                        const QPageLayout& pagina = {}, Impressao ao_imprimir = {});
    ~TestPrintPreviewDlg() override;

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

  private:
    using Escala = printing::Escala;

    // The page laid out again on the window's own page (after a print).
    void refazer_layout();
    void definir_escala(Escala e);
    void definir_percentual(int p);
    // Zoom menu: a code of printing/mensagens.h, kZoomPaginaInteira,
    // kZoomLarguraPagina or a percentage.
    void zoom(int codigo);
    void imprimir();

    QAction* novo_comando(const char* nome, const QKeySequence& atalho, const QString& dica);
    void botao_do_mouse(Qt::MouseButton b);
    void pagina_mudou(int n);

    DocumentoImpressao& doc_;
    QPageLayout pagina_;
    Impressao imprimir_;
    VisaoPagina* visao_ = nullptr;
    QMenu* menu_zoom_ = nullptr;
    QLabel* painel1_ = nullptr;
    QLabel* painel2_ = nullptr;
    bool mostrada_ = false;
};

} // namespace quarvel::printing
