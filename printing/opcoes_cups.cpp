#include "printing/opcoes_cups.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace quarvel::printing {

namespace {

bool iguais(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

void definir(OpcoesCups& r, const std::string& nome, const std::string& valor) {
    for (auto& o : r)
        if (iguais(o.first, nome)) {
            o.second = valor;
            return;
        }
    r.emplace_back(nome, valor);
}

} // namespace

bool escolhe_paginas_ou_copias(std::string_view nome) {
    for (std::string_view proibida :
         {"page-ranges", "page-set", "copies", "collate", "multiple-document-handling"})
        if (iguais(nome, proibida)) return true;
    return false;
}

OpcoesCups opcoes_do_trabalho(const OpcoesCups& base, const OpcoesCups& do_dialogo) {
    OpcoesCups r;
    for (const auto& [nome, valor] : base)
        if (!nome.empty() && !escolhe_paginas_ou_copias(nome)) definir(r, nome, valor);
    for (const auto& [nome, valor] : do_dialogo)
        if (!nome.empty() && !escolhe_paginas_ou_copias(nome)) definir(r, nome, valor);
    // Said outright, so that no default of the queue adds copies.
    definir(r, "copies", "1");
    return r;
}

std::string nome_do_destino(const DestinoImpressao& d) {
    return d.instancia.empty() ? d.fila : d.fila + '/' + d.instancia;
}

std::optional<MedidaPapel> medida_do_papel(std::string_view nome) {
    const std::size_t traco = nome.rfind('_');
    if (traco == std::string_view::npos) return std::nullopt;
    std::string_view medida = nome.substr(traco + 1);
    MedidaPapel r;
    if (medida.size() > 2 && medida.substr(medida.size() - 2) == "in")
        r.polegadas = true;
    else if (!(medida.size() > 2 && medida.substr(medida.size() - 2) == "mm"))
        return std::nullopt;
    medida.remove_suffix(2);
    const std::size_t x = medida.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    // Digits and one point only: strtod alone would take "1e3", "inf" or a
    // leading sign.
    auto numero = [](std::string_view t, double* v) {
        if (t.empty() || t.size() > 12) return false;
        int pontos = 0;
        for (char c : t) {
            if (c == '.') {
                if (++pontos > 1) return false;
            } else if (c < '0' || c > '9') {
                return false;
            }
        }
        const std::string s(t);
        *v = std::strtod(s.c_str(), nullptr);
        return *v > 0;
    };
    if (!numero(medida.substr(0, x), &r.largura) || !numero(medida.substr(x + 1), &r.altura))
        return std::nullopt;
    return r;
}

std::string fila_do_destino(std::string_view destino) {
    return std::string(destino.substr(0, destino.find('/')));
}

} // namespace quarvel::printing
