#include "documents/codificacao.h"

#include <cstdint>

namespace quarvel::documents {

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes that Windows-1252
// leaves undefined map to the C1 control of the same number, as Windows
// itself does, so every byte survives a round trip.
constexpr char32_t kFaixa80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t ponto_de_byte(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kFaixa80[b - 0x80];
    return b;
}

// The byte for a code point, or '?' when the code page has none.
char byte_de_ponto(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kFaixa80[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

void anexar_utf8(std::string& saida, char32_t c) {
    if (c < 0x80) {
        saida += static_cast<char>(c);
    } else if (c < 0x800) {
        saida += static_cast<char>(0xC0 | (c >> 6));
        saida += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        saida += static_cast<char>(0xE0 | (c >> 12));
        saida += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        saida += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        saida += static_cast<char>(0xF0 | (c >> 18));
        saida += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        saida += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        saida += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool continuacao(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Decodes one UTF-8 sequence at s[i]. Returns its length, or 0 when the bytes
// there do not form a well-formed sequence (overlong forms, surrogates and
// code points past U+10FFFF included).
std::size_t decodificar(std::string_view s, std::size_t i, char32_t& c) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t n;
    char32_t minimo;
    if (b0 < 0x80) {
        c = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        n = 2;
        c = b0 & 0x1F;
        minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3;
        c = b0 & 0x0F;
        minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4;
        c = b0 & 0x07;
        minimo = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - i < n) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (!continuacao(b)) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return n;
}

} // namespace

std::string utf8_para_cp1252(std::string_view utf8) {
    std::string saida;
    saida.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        const std::size_t n = decodificar(utf8, i, c);
        if (n == 0) {
            saida += '?';
            ++i;
        } else {
            saida += byte_de_ponto(c);
            i += n;
        }
    }
    return saida;
}

std::string cp1252_para_utf8(std::string_view bytes) {
    std::string saida;
    saida.reserve(bytes.size() + bytes.size() / 8);
    for (char b : bytes)
        anexar_utf8(saida, ponto_de_byte(static_cast<unsigned char>(b)));
    return saida;
}

LeitorLinhas::LeitorLinhas(std::string_view bytes) : resto_(bytes.substr(0, bytes.find('\0'))) {}

bool LeitorLinhas::proxima(std::string_view& linha) {
    if (resto_.empty()) return false;
    const std::size_t fim = resto_.find_first_of("\r\n");
    if (fim == std::string_view::npos) {
        linha = resto_;
        resto_ = {};
        return true;
    }
    linha = resto_.substr(0, fim);
    const bool crlf = resto_[fim] == '\r' && fim + 1 < resto_.size() && resto_[fim + 1] == '\n';
    resto_.remove_prefix(fim + (crlf ? 2 : 1));
    return true;
}

std::vector<std::string> dividir_linhas(std::string_view bytes) {
    std::vector<std::string> linhas;
    LeitorLinhas leitor(bytes);
    for (std::string_view l; leitor.proxima(l);)
        linhas.emplace_back(l);
    return linhas;
}

std::string juntar_linhas_crlf(const std::vector<std::string>& linhas) {
    std::size_t total = 0;
    for (const auto& l : linhas)
        total += l.size() + 2;
    std::string saida;
    saida.reserve(total);
    for (const auto& l : linhas) {
        saida += l;
        saida += "\r\n";
    }
    return saida;
}

// One byte is one character in Windows-1252, so the cut is made on the bytes.
std::string citar_linha(std::string_view bytes) {
    constexpr std::size_t kMaximo = 40;
    if (bytes.size() <= kMaximo) return cp1252_para_utf8(bytes);
    return cp1252_para_utf8(bytes.substr(0, kMaximo)) + "...";
}

} // namespace quarvel::documents
