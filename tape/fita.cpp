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
    acrescentar_varios(bruto, 1);
}

void Fita::acrescentar_varios(const std::string& bruto, std::size_t vezes) {
    exigir_espaco(*this, vezes);
    // The line first: it throws for a raw value that does not read.
    const std::string linha = calc::linha_fita(bruto);
    if (vezes == 0) return;
    const auto antes = brutos_.size();
    try {
        brutos_.insert(brutos_.end(), vezes, bruto);
        linhas_.insert(linhas_.end(), vezes, linha);
        slots_.insert(slots_.end(), vezes, calc::slot_do_bruto(bruto));
    } catch (...) {
        brutos_.resize(antes);
        linhas_.resize(antes);
        slots_.resize(antes);
        throw;
    }
    mudou_no_topo(antes, antes + vezes);
}

void Fita::substituir(std::size_t i, const std::string& bruto) {
    exigir_posicao(*this, i);
    std::string linha = calc::linha_fita(bruto);
    std::string copia = bruto;
    brutos_[i].swap(copia);
    linhas_[i].swap(linha);
    slots_[i] = calc::slot_do_bruto(bruto);
    mudou_em(i);
}

void Fita::remover(std::size_t i) {
    exigir_posicao(*this, i);
    const auto pos = static_cast<std::ptrdiff_t>(i);
    brutos_.erase(brutos_.begin() + pos);
    linhas_.erase(linhas_.begin() + pos);
    slots_.erase(slots_.begin() + pos);
    if (i == tamanho())
        mudou_no_topo(i, i + 1);
    else
        mudou(); // the values above moved down: every class changed
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
    try {
        slots_.insert(slots_.begin() + pos, calc::slot_do_bruto(bruto));
    } catch (...) {
        brutos_.erase(brutos_.begin() + pos);
        linhas_.erase(linhas_.begin() + pos);
        throw;
    }
    if (i + 1 == tamanho())
        mudou_no_topo(i, i + 1);
    else
        mudou();
}

void Fita::cortar(std::size_t n) {
    if (n > tamanho()) throw std::out_of_range(kForaDaFita);
    mudou_no_topo(n, tamanho());
    brutos_.resize(n);
    linhas_.resize(n);
    slots_.resize(n);
}

void Fita::limpar() {
    brutos_.clear();
    linhas_.clear();
    slots_.clear();
    mudou();
}

void Fita::trocar(std::vector<std::string> brutos, std::vector<std::string> linhas) {
    if (brutos.size() != linhas.size())
        throw std::invalid_argument("listas de valores e de linhas de tamanhos diferentes");
    if (brutos.size() > kMaximoValores) throw std::length_error(kMensagemMaximo);
    std::vector<double> slots;
    slots.reserve(brutos.size());
    for (const std::string& b : brutos)
        slots.push_back(calc::slot_do_bruto(b));
    brutos_.swap(brutos);
    linhas_.swap(linhas);
    slots_.swap(slots);
    mudou();
}

void Fita::mudou() {
    total_.reset();
    for (bool& certo : parcial_certo_)
        certo = false;
}

void Fita::mudou_no_topo(std::size_t de, std::size_t ate) {
    if (ate - de >= 4) {
        mudou();
        return;
    }
    total_.reset();
    for (std::size_t i = de; i < ate; ++i)
        parcial_certo_[calc::classe_do_slot(i)] = false;
}

void Fita::mudou_em(std::size_t i) {
    total_.reset();
    parcial_certo_[calc::classe_do_slot(i)] = false;
}

double Fita::total() const {
    if (!total_) {
        bool sem_slot = false;
        for (int c = 0; c < 4 && !sem_slot; ++c) {
            if (parcial_certo_[c]) continue;
            const std::optional<calc::Estendido> p = calc::parcial_dos_slots(slots_, c);
            sem_slot = !p;
            if (p) parciais_[c] = *p;
            parcial_certo_[c] = p.has_value();
        }
        // A value without a slot: the fresh sum throws, naming the first.
        total_ = sem_slot ? somar_brutos(brutos_) : calc::combinar_parciais(parciais_);
    }
    return *total_;
}

} // namespace quarvel::tape
