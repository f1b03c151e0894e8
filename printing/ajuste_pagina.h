#pragma once
// How the preview fits a page of the print document into its view, in screen
// pixels: the page's drawn size at each scale, where it sits and its shadow,
// how far and by what steps the view scrolls, and the zoom the mouse buttons
// step through.
#include "printing/layout_pagina.h"

#include <optional>

namespace quarvel::printing {

enum class Escala { pagina_inteira, largura_pagina, percentual };

// Free space kept between the view's edge and the page, so that the page's
// border never touches the frame: the page starts this far in when it does
// not fit, and is centred only when it fits with this gap on both sides.
inline constexpr int kFolgaPagina = 12;
// The shadow along the page's right and bottom edges: both its thickness and
// how far it is shifted along that edge, as if lit from the top-left.
inline constexpr int kSombraPagina = 2;
// What the page needs beyond its own size to be seen whole along one axis:
// the gap on both sides plus the shadow.
inline constexpr int kEspacoEmVolta = 2 * kFolgaPagina + kSombraPagina;
// A device that reports no paper or no resolution is taken as A4's
// proportions at the printer's traditional 72 dpi: a page is drawn anyway.
inline constexpr double kPapelPadraoLargura = 210;
inline constexpr double kPapelPadraoAltura = 297;
inline constexpr double kDpiPadrao = 72;
// One notch of a mouse wheel, as Qt reports it (eighths of a degree), and the
// pixels it scrolls the page.
inline constexpr int kAnguloEntalhe = 120;
inline constexpr int kPixelsPorEntalhe = 120;
// A scroll bar's arrow moves this fraction of the view, a click on the bar
// this other one (a tenth and a half).
inline constexpr int kFracaoSeta = 10;
inline constexpr int kFracaoBarra = 2;
// The "Page: n" tip shown while the thumb is dragged sits this far in from
// the view's top-right corner.
inline constexpr int kRecuoDica = 8;

struct Tamanho {
    int largura = 0;
    int altura = 0;
};

struct Retangulo {
    int x = 0;
    int y = 0;
    int largura = 0;
    int altura = 0;
};

// The view's inner size and the screen's resolution.
struct Tela {
    Tamanho visao;
    double dpi_x = 96;
    double dpi_y = 96;
};

// The page's drawn size, never below 1 x 1. Whole page: the largest size of
// the paper's proportions that fits with the space around it. Page width:
// the width that fits, the height by the proportions. Percentage: the paper's
// real size on this screen times percentual / 100.
Tamanho tamanho_pagina(const Dispositivo& d, Escala modo, int percentual, const Tela& t);

// Which axes the scroll bars move in pixels: the vertical bar steps through
// pages in whole-page mode, the horizontal one is there only in percentage.
bool rola_horizontal(Escala modo);
bool rola_vertical(Escala modo);

// Where the page starts along one axis: centred when it fits with its gap on
// both sides, otherwise kFolgaPagina in, less how far that axis is scrolled.
int inicio_pagina(int pagina, int visao, int rolagem);
// The page as drawn in the view. rolagem_x and rolagem_y are the bars'
// values, counted only on the axes that scroll in pixels in this mode.
Retangulo retangulo_pagina(Escala modo, Tamanho pagina, Tamanho visao, int rolagem_x,
                           int rolagem_y);
// The shadow strips along the page's right and bottom edges.
Retangulo sombra_direita(const Retangulo& pagina);
Retangulo sombra_base(const Retangulo& pagina);

// How far the view scrolls along one axis so that the page, its gaps and its
// shadow can all be seen; 0 when they fit.
int alcance_rolagem(int pagina, int visao);
int passo_seta(int visao);
int passo_barra(int visao);

// Where the print document's painter goes on the drawn page: the origin of
// the printable area and the scale from device pixels to screen pixels. None
// when the device reports no paper.
struct Mapeamento {
    double x = 0;
    double y = 0;
    double escala_x = 1;
    double escala_y = 1;
};
std::optional<Mapeamento> mapear_conteudo(const Dispositivo& d, const Retangulo& pagina);

// The scale percent after a click on the page: the left button leaves the
// whole page for kPercentualInicial, otherwise doubles up to
// kPercentualMaximo; any other button halves down to kPercentualMinimo.
int percentual_apos_clique(Escala modo, int percentual, bool botao_esquerdo);

// Left edge of the drag tip of the given width, kRecuoDica in from the
// view's right edge and never left of the window.
int x_dica(int direita_visao, int largura_dica);

// Turns wheel angles into whole notches: a touchpad sends small steps, kept
// until they make a notch.
class RodaMouse {
  public:
    // Pixels the view moves up (negative: down) for this turn.
    int rolar(int angulo);

  private:
    int resto_ = 0;
};

} // namespace quarvel::printing
