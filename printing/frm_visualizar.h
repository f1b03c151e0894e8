#pragma once
// TestPrintPreviewDlg: the print preview window over a print document.
#include <QDialog>
#include <QPageLayout>
#include <QRect>
#include <functional>

#include "printing/ajuste_pagina.h"

class QAction;
class QLabel;
class QMenu;
class QToolButton;

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

    using Escala = printing::Escala;

    // Page view state.
    int pagina_atual() const;
    int paginas() const;
    Escala modo_escala() const;
    int percentual() const;
    QRect retangulo_pagina() const; // the page as drawn, in view coordinates

    // The commands FirstCmd..CloseCmd, by object name.
    QAction* comando(const QString& nome) const;
    QMenu* menu_zoom() const { return menu_zoom_; }
    QWidget* visao() const;       // the page view's drawing surface
    QString texto_ajuda() const;  // status panel 1
    QString texto_pagina() const; // status panel 2
    QString dica_arraste() const; // the "Page: %d" tip while the thumb is dragged, or ""

    // The page the window lays out on.
    const QPageLayout& pagina() const { return pagina_; }

    // Page view operations.
    void refazer_layout();
    void definir_escala(Escala e);
    void definir_percentual(int p);
    // Zoom menu: a code of printing/mensagens.h, kZoomPaginaInteira,
    // kZoomLarguraPagina or a percentage.
    void zoom(int codigo);
    void imprimir();

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

  private:
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
