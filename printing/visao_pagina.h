#pragma once
// VisaoPagina: the preview's page view, one page of the print document drawn
// at the chosen scale over the workspace background, with the scroll bars of
// that scale. The arithmetic is printing/ajuste_pagina.h's.
#include <QAbstractScrollArea>
#include <QRect>
#include <functional>

#include "printing/ajuste_pagina.h"
#include "printing/mensagens.h"

class QLabel;

namespace quarvel::printing {

class DocumentoImpressao;

class VisaoPagina : public QAbstractScrollArea {
  public:
    VisaoPagina(DocumentoImpressao& doc, QWidget* pai);

    std::function<void(int)> ao_mudar_pagina;
    std::function<void(Qt::MouseButton)> ao_clicar;

    int pagina() const { return pagina_; }
    int paginas() const { return paginas_; }
    Escala modo() const { return modo_; }
    int percentual() const { return percentual_; }
    QString dica() const; // the drag tip's text while it shows, or ""

    // A new layout of `paginas` pages; the held percentage stays only in
    // percentage mode.
    void refazer(int paginas);
    // Within 1 and the page count; reports the page when it changes, or
    // always when asked.
    void ir_para(int n, bool sempre = false);
    void definir_modo(Escala e);
    void definir_percentual(int p);

    QRect retangulo_pagina() const; // the page as drawn, in viewport coordinates

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int, int) override;
    void mousePressEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

  private:
    Tamanho tamanho_pagina() const;
    void atualizar_barras();
    void mostrar_dica();

    DocumentoImpressao& doc_;
    QLabel* dica_ = nullptr;
    int pagina_ = 1;
    int paginas_ = 1;
    Escala modo_ = Escala::pagina_inteira;
    Escala modo_barras_ = Escala::pagina_inteira; // the mode the bars are set up for
    int percentual_ = kPercentualInicial;
    RodaMouse roda_;
    bool ajustando_ = false;
};

} // namespace quarvel::printing
