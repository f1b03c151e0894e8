#pragma once
// The calculation file (.qvl): an INI part with [CONFIG] and [LER], an empty
// line, then one raw value per line. Bytes are Windows-1252 with CR LF; the
// texts here are UTF-8.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::documents {

// QTDETEMPO keeps the index 0..4 of the backup interval item chosen; the box
// offers kIntervalosBackup items.
inline constexpr int kIntervalosBackup = 5;
// No item selected: what a missing or unknown QTDETEMPO reads as.
inline constexpr int kSemIntervalo = -1;

struct Configuracao {
    std::string cabecalho;
    std::string rodape;
    std::string texto_backup;
    bool backup = false;
    int qtdetempo = 0; // index 0..4 of the interval item, or kSemIntervalo
};

struct Documento {
    Configuracao config;
    std::vector<std::string> brutos; // raw values
};

// The exact bytes of the file; the same document always gives the same bytes.
std::string escrever_calculo(const Documento& doc);

struct CargaCalculo {
    enum class Estado { Ok, ExcedeMaximo, Danificado };
    Estado estado = Estado::Ok;
    Documento doc;                   // valid only when Ok
    std::vector<std::string> linhas; // money masks of doc.brutos, when Ok
    std::string detalhe;             // when Danificado: "linha 12: 'abc' não é um valor"
};

// Reads and checks the whole file before anything is applied. a_cada_valor is
// called once per value line (the window lets its events run there).
CargaCalculo carregar_calculo(std::string_view bytes,
                              const std::function<void(std::size_t)>& a_cada_valor = {});

// A text setting is read back up to this many characters, as the Windows
// reader with its 2,048-character buffer does.
inline constexpr std::size_t kMaximoTextoConfiguracao = 2047;

// Whether a text setting (UTF-8) reads back from the file exactly as typed:
// at most kMaximoTextoConfiguracao characters, every one of them printable in
// Windows-1252 (no line break, no control, nothing the code page lacks).
bool cabe_na_configuracao(std::string_view utf8);

// The [CONFIG] section as another reader sees it, for the unsaved-changes
// test: missing keys read empty / off / kSemIntervalo.
Configuracao ler_configuracao(std::string_view bytes);

} // namespace quarvel::documents
