#include "documents/ini.h"

#include "documents/codificacao.h"

#include <climits>
#include <cstdint>

namespace quarvel::documents::ini {

namespace {

bool branco(char c) {
    return c == ' ' || c == '\t';
}

std::string_view aparar(std::string_view s) {
    while (!s.empty() && branco(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && branco(s.back()))
        s.remove_suffix(1);
    return s;
}

char minuscula(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int valor_digito(char c, int base) {
    int v;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    else
        return -1;
    return v < base ? v : -1;
}

} // namespace

bool iguais_sem_caixa(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (minuscula(a[i]) != minuscula(b[i])) return false;
    return true;
}

void Documento::ler_linha(std::string_view original, std::size_t i,
                          const std::vector<Procurada>* procuradas) {
    const std::string_view linha = aparar(original);
    if (linha.empty() || linha.front() == ';') return;
    if (linha.front() == '[') {
        const std::size_t fecha = linha.find(']');
        if (fecha != std::string_view::npos) {
            const std::string_view nome = aparar(linha.substr(1, fecha - 1));
            em_secao_ = true;
            if (procuradas == nullptr) {
                secoes_.emplace_back(nome);
                secao_atual_ = secoes_.size() - 1;
                return;
            }
            secao_procurada_ = false;
            for (const Procurada& p : *procuradas)
                secao_procurada_ = secao_procurada_ || iguais_sem_caixa(p.secao, nome);
            if (!secao_procurada_) return;
            // One entry per name: a repeated header adds nothing.
            secao_atual_ = secoes_.size();
            for (std::size_t s = 0; s < secoes_.size(); ++s)
                if (iguais_sem_caixa(secoes_[s], nome)) secao_atual_ = s;
            if (secao_atual_ == secoes_.size()) secoes_.emplace_back(nome);
            return;
        }
    }
    if (!em_secao_ || !secao_procurada_) return;
    // The value is cut from the untrimmed line so blanks typed at its ends
    // survive.
    const std::size_t igual = original.find('=');
    if (igual == std::string_view::npos) return;
    const std::string_view nome = aparar(original.substr(0, igual));
    if (nome.empty()) return;
    if (procuradas != nullptr) {
        const std::string& secao = secoes_[secao_atual_];
        bool procurada = false;
        for (const Procurada& p : *procuradas)
            procurada =
                procurada || (iguais_sem_caixa(p.secao, secao) && iguais_sem_caixa(p.nome, nome));
        // Only the first of a name is ever looked up.
        if (!procurada || achar(secao, nome) != nullptr) return;
    }
    chaves_.push_back(
        Chave{secao_atual_, std::string(nome), std::string(original.substr(igual + 1)), i});
}

Documento Documento::ler(const std::vector<std::string>& linhas) {
    Documento doc;
    for (std::size_t i = 0; i < linhas.size(); ++i)
        doc.ler_linha(linhas[i], i, nullptr);
    return doc;
}

Documento Documento::ler(std::string_view bytes, const std::vector<Procurada>& procuradas) {
    Documento doc;
    LeitorLinhas leitor(bytes);
    std::size_t i = 0;
    for (std::string_view linha; leitor.proxima(linha); ++i)
        doc.ler_linha(linha, i, &procuradas);
    return doc;
}

bool Documento::tem_secao(std::string_view secao) const {
    for (const auto& s : secoes_)
        if (iguais_sem_caixa(s, secao)) return true;
    return false;
}

const Chave* Documento::achar(std::string_view secao, std::string_view nome) const {
    for (const auto& c : chaves_)
        if (iguais_sem_caixa(secoes_[c.secao], secao) && iguais_sem_caixa(c.nome, nome)) return &c;
    return nullptr;
}

std::optional<int> ler_inteiro(std::string_view texto) {
    std::string_view s = aparar(texto);
    int base = 10;
    bool negativo = false;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negativo = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    // Accumulated in 64 bits and stopped as soon as it leaves the int range,
    // so a line of a million digits cannot overflow.
    std::int64_t v = 0;
    const std::int64_t limite = negativo ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    for (char c : s) {
        const int d = valor_digito(c, base);
        if (d < 0) return std::nullopt;
        v = v * base + d;
        if (v > limite) return std::nullopt;
    }
    return static_cast<int>(negativo ? -v : v);
}

std::string linha_secao(std::string_view secao) {
    std::string s = "[";
    s += secao;
    s += ']';
    return s;
}

std::string linha_chave(std::string_view nome, std::string_view valor) {
    std::string s(nome);
    s += '=';
    s += valor;
    return s;
}

} // namespace quarvel::documents::ini
