#include "tape/fita.h"

#include "calc/dinheiro.h"

#include <stdexcept>

namespace quarvel::tape {

namespace {

// Every mutator keeps the tape within the bound of the total's buffer; the
// callers test `cabe` first and show the limit message, so reaching this is a
// programming error.
void exigir_espaco(const Fita& fita, std::size_t mais) {
    if (!fita.cabe(mais)) throw std::length_error(kMensagemMaximo);
}

void exigir_posicao(const Fita& fita, std::size_t i) {
    if (i >= fita.tamanho()) throw std::out_of_range(kForaDaFita);
}

} // namespace

double somar_brutos(const std::vector<std::string>& brutos) {
    if (brutos.size() > kMaximoValores) throw std::length_error(kMensagemMaximo);
    // The buffer has kMaximoValores + 1 slots; slot k feeds partial sum
    // (kMaximoValores - k) % 4, taken from the top slot down. kMaximoValores
    // is a multiple of four, so that is the order calc::somar_brutos takes.
    static_assert(kMaximoValores % 4 == 0);
    return calc::somar_brutos(brutos);
}

void Fita::acrescentar(const std::string& bruto) {
    exigir_espaco(*this, 1);
    std::string linha = calc::linha_fita(bruto);
    brutos_.push_back(bruto);
    try {
        linhas_.push_back(std::move(linha));
    } catch (...) {
        brutos_.pop_back();
        throw;
    }
}

void Fita::acrescentar_varios(const std::string& bruto, std::size_t vezes) {
    exigir_espaco(*this, vezes);
    if (vezes == 0) return;
    const std::string linha = calc::linha_fita(bruto);
    const auto antes = brutos_.size();
    brutos_.insert(brutos_.end(), vezes, bruto);
    try {
        linhas_.insert(linhas_.end(), vezes, linha);
    } catch (...) {
        brutos_.resize(antes);
        throw;
    }
}

void Fita::substituir(std::size_t i, const std::string& bruto) {
    exigir_posicao(*this, i);
    std::string linha = calc::linha_fita(bruto);
    std::string copia = bruto;
    brutos_[i].swap(copia);
    linhas_[i].swap(linha);
}

void Fita::remover(std::size_t i) {
    exigir_posicao(*this, i);
    const auto pos = static_cast<std::ptrdiff_t>(i);
    brutos_.erase(brutos_.begin() + pos);
    linhas_.erase(linhas_.begin() + pos);
}

void Fita::inserir(std::size_t i, const std::string& bruto) {
    exigir_espaco(*this, 1);
    if (i > tamanho()) throw std::out_of_range(kForaDaFita);
    std::string linha = calc::linha_fita(bruto);
    const auto pos = static_cast<std::ptrdiff_t>(i);
    brutos_.insert(brutos_.begin() + pos, bruto);
    try {
        linhas_.insert(linhas_.begin() + pos, std::move(linha));
    } catch (...) {
        brutos_.erase(brutos_.begin() + pos);
        throw;
    }
}

void Fita::cortar(std::size_t n) {
    if (n > tamanho()) throw std::out_of_range(kForaDaFita);
    brutos_.resize(n);
    linhas_.resize(n);
}

void Fita::limpar() {
    brutos_.clear();
    linhas_.clear();
}

void Fita::trocar(std::vector<std::string> brutos, std::vector<std::string> linhas) {
    if (brutos.size() != linhas.size())
        throw std::invalid_argument("listas de valores e de linhas de tamanhos diferentes");
    if (brutos.size() > kMaximoValores) throw std::length_error(kMensagemMaximo);
    brutos_.swap(brutos);
    linhas_.swap(linhas);
}

} // namespace quarvel::tape
