#pragma once
// A small INI reader and writer for the calculation files. Section and key
// names match without regard to letter case; a value is everything after the
// first "=" of its line, taken as it stands (no trimming, no quotes removed),
// which is exactly how the writer stores it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::documents::ini {

struct Chave {
    std::size_t secao; // index of its section, in file order
    std::string nome;  // blanks around the name removed
    std::string valor; // raw bytes after the first "="
    std::size_t linha; // 0-based index of its line
};

class Documento {
  public:
    // Reads every line: "[name]" opens a section, "name=value" inside a
    // section is a key, anything else (blank lines, ";" comments, keys before
    // the first section) is passed over.
    static Documento ler(const std::vector<std::string>& linhas);

    struct Procurada {
        std::string_view secao;
        std::string_view nome;
    };
    // The same reading straight from a file's bytes, keeping only the first
    // of each of these keys and the sections they live in: a file made of
    // millions of keys costs nothing more than its bytes.
    static Documento ler(std::string_view bytes, const std::vector<Procurada>& procuradas);

    bool tem_secao(std::string_view secao) const;
    // The first key of that name in that section, like the Windows reader.
    const Chave* achar(std::string_view secao, std::string_view nome) const;

  private:
    void ler_linha(std::string_view original, std::size_t i,
                   const std::vector<Procurada>* procuradas);

    std::vector<std::string> secoes_; // names as written, one per header line
    std::vector<Chave> chaves_;
    // While reading: whether a section was opened, which one, and whether
    // its keys are kept.
    bool em_secao_ = false;
    std::size_t secao_atual_ = 0;
    bool secao_procurada_ = true;
};

// Decimal with an optional sign, or "0x"/"0X" and hexadecimal digits; blanks
// around the number are allowed. Empty for anything else and for numbers that
// do not fit an int.
std::optional<int> ler_inteiro(std::string_view texto);

std::string linha_secao(std::string_view secao);
std::string linha_chave(std::string_view nome, std::string_view valor);

bool iguais_sem_caixa(std::string_view a, std::string_view b);

} // namespace quarvel::documents::ini
