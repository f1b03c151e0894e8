#pragma once
// Runs a task that talks to the print server on a thread of its own while
// the window's thread keeps its events running: the clock, the backup and
// the repaints go on, and nothing there waits on the server.
#include <atomic>
#include <functional>

namespace quarvel::printing {

// Waits, the event loop running, until pronto() holds, behind a waiting
// window whose cancel calls cancelar (once).
using Espera =
    std::function<void(const std::function<bool()>& pronto, const std::function<void()>& cancelar)>;

// Returns when `tarefa` has; the task must end by itself in bounded time
// (the server's limit), and soon after the flag it gets is set. A quick
// task shows no window: the first fifth of a second is waited without
// events. Empty `esperar`: an event loop with no window.
void fora_da_janela(const std::function<void(const std::atomic<bool>& cancelar)>& tarefa,
                    const Espera& esperar);

} // namespace quarvel::printing
