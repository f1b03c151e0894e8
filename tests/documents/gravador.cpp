// A process that saves two documents over the same file, one after the
// other, until it is killed; "pronto" on standard output after the first.
// With "uma" as a fourth argument it saves the first once and ends.
#include "gravacao/gravar.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool ler(const char* caminho, std::string& bytes) {
    std::ifstream f(caminho, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return static_cast<bool>(f) || f.eof();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    std::string docs[2];
    if (!ler(argv[2], docs[0]) || !ler(argv[3], docs[1])) return 2;
    const bool uma = argc > 4 && std::strcmp(argv[4], "uma") == 0;
    std::string erro;
    for (unsigned i = 0;; ++i) {
        if (!quarvel::gravacao::gravar_atomico(argv[1], docs[i % 2], &erro)) return 1;
        if (uma) return 0;
        if (i == 0) {
            std::puts("pronto");
            std::fflush(stdout);
        }
    }
}
