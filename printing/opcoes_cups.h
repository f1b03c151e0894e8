#pragma once
// The options of a print job sent to CUPS. A tape is always printed whole and
// once, so whatever the print dialog collected that would make the server
// print only some pages, or more than one copy, stays out of the job.
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

// The queue of a destination: "fila/instancia" names an instance (saved
// options) of the queue "fila"; jobs go to the queue.
std::string fila_do_destino(std::string_view destino);

} // namespace quarvel::printing
