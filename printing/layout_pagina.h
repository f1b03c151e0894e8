#pragma once
// Page arithmetic of the print document, in millimetres and device units:
// margins, the header and footer bands, text positions and pagination.
#include <functional>

namespace quarvel::printing {

// Page settings in millimetres, measured from the paper edges.
struct Margens {
    double esquerda = 25;
    double direita = 15;
    double topo = 25;
    double base = 25;
    double cabecalho = 15; // top edge to the header rule
    double rodape = 20;    // bottom edge to the footer rule
    double recuo_esquerdo = 2;
    double recuo_direito = 2;
    double margem_interna = 0.5; // above and below the text of a band
};

// A paged device: resolution, paper and printable area, in device pixels.
// The painter's origin is the top-left corner of the printable area.
struct Dispositivo {
    double dpi_x = 72;
    double dpi_y = 72;
    double papel_largura = 0;
    double papel_altura = 0;
    double imprimivel_x = 0; // unprintable offset at the left edge
    double imprimivel_y = 0; // unprintable offset at the top edge
    double imprimivel_largura = 0;
    double imprimivel_altura = 0;
};

// The page's lines and rules in the painter's coordinates.
struct Geometria {
    double esquerda = 0; // left edge of the body and of the rules
    double direita = 0;  // right edge of the body and of the rules
    double topo = 0;     // top of the first body line
    double base = 0;     // lowest point a body line may reach
    double regua_cabecalho = 0;
    double regua_rodape = 0;
    double recuo_esquerdo = 0;
    double recuo_direito = 0;
    double margem_interna = 0; // vertical, in device pixels
    double largura_corpo() const { return direita - esquerda; }
    double altura_corpo() const { return base - topo; }
};

enum class Alinhamento { esquerda, centro, direita };

double mm_para_px(double mm, double dpi);

// Each distance is taken from the paper edge less the device's unprintable
// offset at that edge, never below zero.
Geometria calcular_geometria(const Dispositivo& d, const Margens& m = {});

// Body lines that fit on one page; at least one, so that a line taller than
// the body area still prints instead of starting pages forever.
int linhas_por_pagina(const Geometria& g, double altura_linha);
int contar_paginas(int linhas, int por_pagina);
// Index of the first line of page n (1-based) and how many lines it holds.
int primeira_linha(int pagina, int por_pagina);
int linhas_na_pagina(int pagina, int linhas, int por_pagina);

// The longest prefix of n characters whose width fits, at least 1 character.
// largura(k) must grow with k.
int prefixo_que_cabe(int n, double limite, const std::function<double(int)>& largura);

// Left edge of a header or footer text of the given width.
double x_item(Alinhamento a, double largura_texto, const Geometria& g);

// Height of a band: the text height plus the internal margin above and below.
double altura_faixa(double altura_texto, const Geometria& g);
// Baselines of line `linha` (1-based) of the header, whose `linhas` bands are
// stacked so that the last ends on the rule, and of the footer, whose bands
// start on the rule.
double base_cabecalho(const Geometria& g, double altura_texto, double ascendente, int linha,
                      int linhas);
double base_rodape(const Geometria& g, double altura_texto, double ascendente, int linha);

} // namespace quarvel::printing
