#pragma once
// Where each tape line sits in the view, in pixels from the top of the tape.
// While no line wraps every line is one row tall and a line's top is its
// number times the row height: nothing is kept per line. Once a line wraps the
// lines' ends are kept in a table; adding or dropping the last line still
// costs the same at any length, a change in the middle moves the ends below it.
#include <cstddef>
#include <vector>

namespace quarvel::tape {

class GeometriaLinhas {
  public:
    // Every line one row of `altura` pixels.
    void uniforme(int quantas, int altura);
    // Each line as tall as given.
    void medidas(const std::vector<int>& alturas);
    bool e_uniforme() const { return uniforme_; }

    // Lines come and go; `altura` is ignored while the lines are uniform.
    void inserir(int posicao, int quantas, int altura);
    void remover(int posicao, int quantas);
    void alterar(int linha, int altura);

    int contagem() const { return contagem_; }
    int topo(int linha) const; // 0-based; topo(contagem()) is the total height
    int altura(int linha) const { return topo(linha + 1) - topo(linha); }
    int total() const { return topo(contagem_); }
    // The line at `y` (from the top of the tape), or -1 past the last one.
    int linha_em(int y) const;
    // The first line to show at the top so `linha` ends at the bottom of a
    // view `altura_vista` tall (or, taller than the view, starts at its top).
    int primeira_com_base_em(int linha, int altura_vista) const;
    // The last line that can be at the top: from it to the end, all fits.
    int primeira_maxima(int altura_vista) const {
        return contagem_ == 0 ? 0 : primeira_com_base_em(contagem_ - 1, altura_vista);
    }

  private:
    bool uniforme_ = true;
    int contagem_ = 0;
    int altura_ = 1;
    std::vector<int> fins_; // fins_[i]: the bottom of line i, while not uniform
};

} // namespace quarvel::tape
