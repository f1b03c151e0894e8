#pragma once
// Readable, stable names for the cases of a parametrised suite. A test name
// holds only letters, digits and "_", so a case's text is spelt out:
// "1234,56" is named 1234_virgula_56, "(1)" abre_1_fecha, "" vazio.
#include <cstdio>
#include <string>
#include <string_view>

namespace quarvel::testes {

inline std::string nome_de_texto(std::string_view texto) {
    // Past this many bytes a name keeps the beginning and tells the length.
    constexpr std::size_t kMaximo = 24;
    if (texto.size() > kMaximo)
        return nome_de_texto(texto.substr(0, 12)) + "_" + std::to_string(texto.size()) + "_bytes";
    struct Sinal {
        char c;
        const char* nome;
    };
    static constexpr Sinal kSinais[] = {
        {' ', "espaco"}, {'\t', "tab"},         {'\r', "cr"},    {'\n', "lf"},
        {'\0', "nul"},   {',', "virgula"},      {'.', "ponto"},  {'*', "vezes"},
        {'/', "barra"},  {'\\', "contrabarra"}, {'+', "mais"},   {'-', "menos"},
        {'(', "abre"},   {')', "fecha"},        {'$', "cifrao"}, {':', "dois_pontos"},
    };
    std::string nome;
    auto palavra = [&nome](const std::string& p) {
        if (!nome.empty() && nome.back() != '_') nome += '_';
        nome += p;
        nome += '_';
    };
    // Accented letters of UTF-8 text by their plain letter ("Página" is
    // Pagina), other characters by their code point (u00A0).
    static constexpr char kLatinas[] =
        "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo_ouuuuyty";
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        const auto u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')) {
            nome += c;
            continue;
        }
        if ((u & 0xE0) == 0xC0 && i + 1 < texto.size() &&
            (static_cast<unsigned char>(texto[i + 1]) & 0xC0) == 0x80) {
            const unsigned ponto =
                ((u & 0x1Fu) << 6) | (static_cast<unsigned char>(texto[++i]) & 0x3Fu);
            if (ponto >= 0xC0 && ponto <= 0xFF && kLatinas[ponto - 0xC0] != '_' &&
                kLatinas[ponto - 0xC0] != 'x') {
                nome += kLatinas[ponto - 0xC0];
            } else {
                char codigo[8];
                std::snprintf(codigo, sizeof codigo, "u%04X", ponto);
                palavra(codigo);
            }
            continue;
        }
        const char* dito = nullptr;
        for (const Sinal& s : kSinais)
            if (s.c == c) dito = s.nome;
        if (dito) {
            palavra(dito);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "x%02X", u);
            palavra(hex);
        }
    }
    while (!nome.empty() && nome.back() == '_')
        nome.pop_back();
    return nome.empty() ? "vazio" : nome;
}

} // namespace quarvel::testes
