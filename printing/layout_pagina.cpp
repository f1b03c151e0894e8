#include "printing/layout_pagina.h"

#include <algorithm>
#include <cmath>

namespace quarvel::printing {

double mm_para_px(double mm, double dpi) {
    return mm * dpi / 25.4;
}

Geometria calcular_geometria(const Dispositivo& d, const Margens& m) {
    const double off_esq = d.imprimivel_x;
    const double off_topo = d.imprimivel_y;
    const double off_dir = std::max(0.0, d.papel_largura - d.imprimivel_x - d.imprimivel_largura);
    const double off_base = std::max(0.0, d.papel_altura - d.imprimivel_y - d.imprimivel_altura);
    auto de_x = [&](double mm, double off) { return std::max(0.0, mm_para_px(mm, d.dpi_x) - off); };
    auto de_y = [&](double mm, double off) { return std::max(0.0, mm_para_px(mm, d.dpi_y) - off); };

    Geometria g;
    g.esquerda = de_x(m.esquerda, off_esq);
    g.direita = d.imprimivel_largura - de_x(m.direita, off_dir);
    g.topo = de_y(m.topo, off_topo);
    g.base = d.imprimivel_altura - de_y(m.base, off_base);
    g.regua_cabecalho = de_y(m.cabecalho, off_topo);
    g.regua_rodape = d.imprimivel_altura - de_y(m.rodape, off_base);
    g.recuo_esquerdo = mm_para_px(m.recuo_esquerdo, d.dpi_x);
    g.recuo_direito = mm_para_px(m.recuo_direito, d.dpi_x);
    g.margem_interna = mm_para_px(m.margem_interna, d.dpi_y);
    // Paper too small for the margins: keep the areas non-negative.
    g.direita = std::max(g.direita, g.esquerda);
    g.base = std::max(g.base, g.topo);
    return g;
}

int linhas_por_pagina(const Geometria& g, double altura_linha) {
    if (!(altura_linha > 0)) return 1;
    // The same count as placing lines one by one while pos + height <= base;
    // the small slack keeps an exact fit from being lost to rounding.
    const double n = std::floor(g.altura_corpo() / altura_linha + 1e-9);
    return std::max(1, static_cast<int>(std::min(n, 1e9)));
}

int contar_paginas(int linhas, int por_pagina) {
    if (linhas <= 0 || por_pagina <= 0) return 1;
    return (linhas + por_pagina - 1) / por_pagina;
}

int primeira_linha(int pagina, int por_pagina) {
    return (pagina - 1) * por_pagina;
}

int linhas_na_pagina(int pagina, int linhas, int por_pagina) {
    if (pagina < 1) return 0;
    const long long inicio = static_cast<long long>(pagina - 1) * por_pagina;
    if (inicio >= linhas) return 0;
    return static_cast<int>(std::min<long long>(por_pagina, linhas - inicio));
}

int prefixo_que_cabe(int n, double limite, const std::function<double(int)>& largura) {
    if (n <= 1) return n;
    if (largura(n) <= limite) return n;
    int bom = 1, ruim = n; // largura(ruim) > limite
    while (ruim - bom > 1) {
        const int meio = bom + (ruim - bom) / 2;
        if (largura(meio) <= limite)
            bom = meio;
        else
            ruim = meio;
    }
    return bom;
}

double x_item(Alinhamento a, double largura_texto, const Geometria& g) {
    const double esq = g.esquerda + g.recuo_esquerdo;
    const double dir = g.direita - g.recuo_direito;
    switch (a) {
    case Alinhamento::esquerda:
        return esq;
    case Alinhamento::direita:
        return dir - largura_texto;
    case Alinhamento::centro:
        break;
    }
    return (esq + dir - largura_texto) / 2;
}

double altura_faixa(double altura_texto, const Geometria& g) {
    return altura_texto + 2 * g.margem_interna;
}

double base_cabecalho(const Geometria& g, double altura_texto, double ascendente, int linha,
                      int linhas) {
    const double faixa = altura_faixa(altura_texto, g);
    const double topo = g.regua_cabecalho - (linhas - linha + 1) * faixa;
    return topo + g.margem_interna + ascendente;
}

double base_rodape(const Geometria& g, double altura_texto, double ascendente, int linha) {
    const double topo = g.regua_rodape + (linha - 1) * altura_faixa(altura_texto, g);
    return topo + g.margem_interna + ascendente;
}

} // namespace quarvel::printing
