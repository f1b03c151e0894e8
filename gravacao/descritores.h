#pragma once
// The two ways every writer here talks to a file descriptor: a call that a
// signal interrupted is made again, and a write goes on until every byte
// is out or a real error stops it.
#include <cerrno>
#include <cstddef>

namespace quarvel::gravacao {

// Runs a call again for as long as a signal interrupts it.
template <class F> auto sem_interrupcao(F chamada) {
    decltype(chamada()) r;
    do {
        r = chamada();
    } while (r == -1 && errno == EINTR);
    return r;
}

// Every byte written, short writes continued; false with errno set.
bool escrever_tudo(int fd, const char* p, std::size_t resta);

} // namespace quarvel::gravacao
