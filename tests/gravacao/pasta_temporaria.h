#pragma once
// A temporary folder for one test, removed with everything in it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace quarvel::testes {

class PastaTemporaria {
  public:
    PastaTemporaria() {
        char modelo[] = "/tmp/quarvel-gravacao-XXXXXX";
        if (::mkdtemp(modelo)) caminho_ = modelo;
    }
    ~PastaTemporaria() {
        std::error_code e;
        if (!caminho_.empty()) std::filesystem::remove_all(caminho_, e);
    }
    PastaTemporaria(const PastaTemporaria&) = delete;
    PastaTemporaria& operator=(const PastaTemporaria&) = delete;

    const std::string& caminho() const { return caminho_; }
    std::string operator/(const std::string& nome) const { return caminho_ + '/' + nome; }

  private:
    std::string caminho_;
};

inline std::string conteudo(const std::string& caminho) {
    std::string r;
    if (FILE* f = std::fopen(caminho.c_str(), "rb")) {
        char bloco[4096];
        std::size_t n;
        while ((n = std::fread(bloco, 1, sizeof bloco, f)) > 0)
            r.append(bloco, n);
        std::fclose(f);
        return r;
    }
    return "<ausente>";
}

inline bool escrever(const std::string& caminho, const std::string& bytes) {
    FILE* f = std::fopen(caminho.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace quarvel::testes
