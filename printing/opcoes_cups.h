#pragma once
// The options of a print job sent to CUPS. A tape is always printed whole and
// once, so whatever the print dialog collected that would make the server
// print only some pages, or more than one copy, stays out of the job.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarvel::printing {

// Name and value pairs, in the order they are applied.
using OpcoesCups = std::vector<std::pair<std::string, std::string>>;

// True for an option that picks pages or copies (page-ranges, page-set,
// copies, collation); option names are compared without regard to case.
bool escolhe_paginas_ou_copias(std::string_view nome);

// The job's options: `base` (paper, sides, orientation of the printer
// settings), then the dialog's options without those that pick pages or
// copies, then one copy. A later value of the same name replaces an earlier
// one in its place.
OpcoesCups opcoes_do_trabalho(const OpcoesCups& base, const OpcoesCups& do_dialogo);

// A destination the print server lists: a queue, or an instance of one
// (saved options under a name of its own), as the print dialog offers it.
struct DestinoImpressao {
    std::string fila;
    std::string instancia; // empty for the queue itself
    bool padrao = false;   // the user's or the server's default
    std::string descricao; // printer-info, possibly empty
    std::string local;     // printer-location, possibly empty
    std::string papel;     // the default media as the server names it, or empty
};

// "fila" or "fila/instancia", the name fila_do_destino takes apart.
std::string nome_do_destino(const DestinoImpressao& d);

// The size a media name carries in itself: PWG self-describing names end in
// the size, "iso_a4_210x297mm", "na_letter_8.5x11in", "custom_max_8x14in".
struct MedidaPapel {
    double largura = 0;
    double altura = 0;
    bool polegadas = false; // else millimetres
};
std::optional<MedidaPapel> medida_do_papel(std::string_view nome);

// The queue of a destination: "fila/instancia" names an instance (saved
// options) of the queue "fila"; jobs go to the queue.
std::string fila_do_destino(std::string_view destino);

} // namespace quarvel::printing
