#include "gravacao/descritores.h"

#include <unistd.h>

namespace quarvel::gravacao {

bool escrever_tudo(int fd, const char* p, std::size_t resta) {
    while (resta > 0) {
        const ssize_t n = ::write(fd, p, resta);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) { // no progress and no reason: take it as a device failure
            errno = EIO;
            return false;
        }
        p += n;
        resta -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace quarvel::gravacao
