#include "printing/opcoes_cups.h"

#include <algorithm>
#include <cctype>

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

std::string fila_do_destino(std::string_view destino) {
    return std::string(destino.substr(0, destino.find('/')));
}

} // namespace quarvel::printing
