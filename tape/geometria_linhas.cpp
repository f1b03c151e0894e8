#include "tape/geometria_linhas.h"

#include <algorithm>

namespace quarvel::tape {

void GeometriaLinhas::uniforme(int quantas, int altura) {
    uniforme_ = true;
    contagem_ = std::max(0, quantas);
    altura_ = std::max(1, altura);
    fins_.clear();
    fins_.shrink_to_fit();
}

void GeometriaLinhas::medidas(const std::vector<int>& alturas) {
    uniforme_ = false;
    contagem_ = static_cast<int>(alturas.size());
    fins_.resize(alturas.size());
    int fim = 0;
    for (std::size_t i = 0; i < alturas.size(); ++i)
        fins_[i] = fim += std::max(1, alturas[i]);
}

void GeometriaLinhas::inserir(int posicao, int quantas, int altura) {
    posicao = std::clamp(posicao, 0, contagem_);
    quantas = std::max(0, quantas);
    contagem_ += quantas;
    if (uniforme_ || quantas == 0) return;
    altura = std::max(1, altura);
    const int antes = topo(posicao);
    const auto p = static_cast<std::size_t>(posicao);
    fins_.insert(fins_.begin() + static_cast<std::ptrdiff_t>(p), static_cast<std::size_t>(quantas),
                 0);
    for (int i = 0; i < quantas; ++i)
        fins_[p + static_cast<std::size_t>(i)] = antes + altura * (i + 1);
    const int desvio = altura * quantas;
    for (std::size_t i = p + static_cast<std::size_t>(quantas); i < fins_.size(); ++i)
        fins_[i] += desvio;
}

void GeometriaLinhas::remover(int posicao, int quantas) {
    posicao = std::clamp(posicao, 0, contagem_);
    quantas = std::clamp(quantas, 0, contagem_ - posicao);
    if (quantas == 0) return;
    const int desvio = topo(posicao + quantas) - topo(posicao);
    contagem_ -= quantas;
    if (uniforme_) return;
    const auto p = fins_.begin() + posicao;
    fins_.erase(p, p + quantas);
    for (auto i = fins_.begin() + posicao; i != fins_.end(); ++i)
        *i -= desvio;
}

void GeometriaLinhas::alterar(int linha, int altura) {
    if (uniforme_ || linha < 0 || linha >= contagem_) return;
    const int desvio = std::max(1, altura) - this->altura(linha);
    for (auto i = fins_.begin() + linha; i != fins_.end(); ++i)
        *i += desvio;
}

int GeometriaLinhas::topo(int linha) const {
    linha = std::clamp(linha, 0, contagem_);
    if (uniforme_) return linha * altura_;
    return linha == 0 ? 0 : fins_[static_cast<std::size_t>(linha - 1)];
}

int GeometriaLinhas::linha_em(int y) const {
    if (y < 0 || y >= total()) return -1;
    if (uniforme_) return y / altura_;
    // The first line whose bottom is below y.
    return static_cast<int>(std::upper_bound(fins_.begin(), fins_.end(), y) - fins_.begin());
}

int GeometriaLinhas::primeira_com_base_em(int linha, int altura_vista) const {
    if (contagem_ == 0) return 0;
    linha = std::clamp(linha, 0, contagem_ - 1);
    const int fim = topo(linha + 1);
    // The first line whose top is at or below fim - altura_vista.
    const int alto = fim - std::max(1, altura_vista);
    int primeira = 0;
    if (alto > 0 && uniforme_) {
        primeira = (alto + altura_ - 1) / altura_;
    } else if (alto > 0) {
        // Line k + 1 starts where line k ends.
        primeira =
            static_cast<int>(std::lower_bound(fins_.begin(), fins_.end(), alto) - fins_.begin()) +
            1;
    }
    return std::min(primeira, linha);
}

} // namespace quarvel::tape
