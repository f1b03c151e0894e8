// Saves its second argument into the file named by its first, through the
// checked writer, as whoever runs it; "substituir" as the third replaces a
// link instead of following it. The reason of a failure on standard error,
// exit 1.
#include "gravacao/gravar.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const auto ligacao = argc > 3 && std::strcmp(argv[3], "substituir") == 0
                             ? quarvel::gravacao::Ligacao::Substituir
                             : quarvel::gravacao::Ligacao::Seguir;
    std::string erro;
    if (quarvel::gravacao::gravar_atomico(argv[1], argv[2], &erro, ligacao)) return 0;
    std::fprintf(stderr, "%s\n", erro.c_str());
    return 1;
}
