#pragma once
// The value tape: the raw value list and the tape lines, kept together.
#include "calc/estendido.h"
#include "tape/mensagens.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::tape {

// Sum of the raw values as the total display shows it: each read strictly and
// stored as a double in a 50,001-slot buffer, summed from the top slot down
// into four extended-precision partial sums (calc::somar_brutos). Throws
// calc::ErroConversao, and std::length_error past kMaximoValores.
double somar_brutos(const std::vector<std::string>& brutos);

class Fita {
  public:
    std::size_t tamanho() const { return brutos_.size(); }
    bool vazia() const { return brutos_.empty(); }
    bool cabe(std::size_t mais) const { return tamanho() + mais <= kMaximoValores; }

    const std::vector<std::string>& brutos() const { return brutos_; }
    const std::vector<std::string>& linhas() const { return linhas_; }
    const std::string& bruto(std::size_t i) const { return brutos_[i]; }
    const std::string& linha(std::size_t i) const { return linhas_[i]; }

    // Each takes a raw value and derives its tape line (money mask).
    void acrescentar(const std::string& bruto);
    void acrescentar_varios(const std::string& bruto, std::size_t vezes);
    void substituir(std::size_t i, const std::string& bruto);
    void remover(std::size_t i);
    // Puts a raw value back at position i (0..size), the rest moving down.
    void inserir(std::size_t i, const std::string& bruto);
    // Keeps the first n entries.
    void cortar(std::size_t n);
    void limpar();
    // Replaces everything at once (loads); the two lists must have equal size.
    void trocar(std::vector<std::string> brutos, std::vector<std::string> linhas);

    // somar_brutos(brutos()) to the last bit, from each value's slot read
    // once when the value came in, and kept until the tape changes.
    double total() const;

  private:
    // What a change leaves of the kept total: nothing, or, for values come
    // or gone at the top [de, ate) or changed in place, the partial sums of
    // the classes they do not belong to.
    void mudou();
    void mudou_no_topo(std::size_t de, std::size_t ate);
    void mudou_em(std::size_t i);

    std::vector<std::string> brutos_;
    std::vector<std::string> linhas_;
    std::vector<double> slots_; // calc::slot_do_bruto of each raw value
    mutable std::optional<double> total_;
    mutable calc::Estendido parciais_[4] = {};
    mutable bool parcial_certo_[4] = {};
};

} // namespace quarvel::tape
