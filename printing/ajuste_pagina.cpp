#include "printing/ajuste_pagina.h"

#include <algorithm>

#include "printing/mensagens.h"

namespace quarvel::printing {

namespace {

// Rounded to the nearest pixel, at least one: a view smaller than the space
// around the page still draws a dot rather than nothing or a negative size.
int pixels(double v) {
    if (!(v >= 1)) return 1;
    if (v >= 1e9) return 1000000000;
    return static_cast<int>(v + 0.5);
}

} // namespace

Tamanho tamanho_pagina(const Dispositivo& d, Escala modo, int percentual, const Tela& t) {
    const double pw = d.papel_largura > 0 ? d.papel_largura : kPapelPadraoLargura;
    const double ph = d.papel_altura > 0 ? d.papel_altura : kPapelPadraoAltura;
    // A view smaller than the space around the page leaves nothing to fit
    // into; a negative side would flip the proportion test below.
    const double livre_w = std::max(0, t.visao.largura - kEspacoEmVolta);
    const double livre_h = std::max(0, t.visao.altura - kEspacoEmVolta);
    double w = 0, h = 0;
    switch (modo) {
    case Escala::pagina_inteira:
        w = livre_w;
        h = livre_h;
        // The side with room to spare gives way to the paper's proportions.
        if (w * ph > h * pw)
            w = h * pw / ph;
        else
            h = w * ph / pw;
        break;
    case Escala::largura_pagina:
        w = livre_w;
        h = w * ph / pw;
        break;
    case Escala::percentual: {
        const double dx = d.dpi_x > 0 ? d.dpi_x : kDpiPadrao;
        const double dy = d.dpi_y > 0 ? d.dpi_y : kDpiPadrao;
        w = pw / dx * t.dpi_x * percentual / 100.0;
        h = ph / dy * t.dpi_y * percentual / 100.0;
        break;
    }
    }
    return {pixels(w), pixels(h)};
}

bool rola_horizontal(Escala modo) {
    return modo == Escala::percentual;
}

bool rola_vertical(Escala modo) {
    return modo != Escala::pagina_inteira;
}

int inicio_pagina(int pagina, int visao, int rolagem) {
    if (pagina + 2 * kFolgaPagina < visao) return (visao - pagina) / 2;
    return kFolgaPagina - rolagem;
}

Retangulo retangulo_pagina(Escala modo, Tamanho pagina, Tamanho visao, int rolagem_x,
                           int rolagem_y) {
    return {inicio_pagina(pagina.largura, visao.largura, rola_horizontal(modo) ? rolagem_x : 0),
            inicio_pagina(pagina.altura, visao.altura, rola_vertical(modo) ? rolagem_y : 0),
            pagina.largura, pagina.altura};
}

Retangulo sombra_direita(const Retangulo& p) {
    return {p.x + p.largura, p.y + kSombraPagina, kSombraPagina, p.altura};
}

Retangulo sombra_base(const Retangulo& p) {
    return {p.x + kSombraPagina, p.y + p.altura, p.largura, kSombraPagina};
}

int alcance_rolagem(int pagina, int visao) {
    return std::max(0, pagina + kEspacoEmVolta - visao);
}

int passo_seta(int visao) {
    return std::max(1, visao / kFracaoSeta);
}

int passo_barra(int visao) {
    return std::max(1, visao / kFracaoBarra);
}

std::optional<Mapeamento> mapear_conteudo(const Dispositivo& d, const Retangulo& pagina) {
    if (d.papel_largura <= 0 || d.papel_altura <= 0) return std::nullopt;
    Mapeamento m;
    m.escala_x = pagina.largura / d.papel_largura;
    m.escala_y = pagina.altura / d.papel_altura;
    m.x = pagina.x + d.imprimivel_x * m.escala_x;
    m.y = pagina.y + d.imprimivel_y * m.escala_y;
    return m;
}

int percentual_apos_clique(Escala modo, int percentual, bool botao_esquerdo) {
    if (!botao_esquerdo) return std::max(kPercentualMinimo, percentual / 2);
    if (modo == Escala::pagina_inteira) return kPercentualInicial;
    return std::min(kPercentualMaximo, percentual * 2);
}

int x_dica(int direita_visao, int largura_dica) {
    return std::max(0, direita_visao - largura_dica - kRecuoDica);
}

int RodaMouse::rolar(int angulo) {
    resto_ += angulo;
    const int entalhes = resto_ / kAnguloEntalhe;
    resto_ -= entalhes * kAnguloEntalhe;
    return entalhes * kPixelsPorEntalhe;
}

} // namespace quarvel::printing
