#include "printing/fora_da_janela.h"

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

namespace quarvel::printing {

void fora_da_janela(const std::function<void(const std::atomic<bool>&)>& tarefa,
                    const Espera& esperar) {
    std::atomic<bool> cancelar{false};
    std::atomic<bool> pronto{false};
    std::thread fio([&] {
        tarefa(cancelar);
        pronto = true;
    });
    for (int i = 0; i < 20 && !pronto; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!pronto) {
        const auto terminou = [&pronto] { return pronto.load(); };
        if (esperar) {
            esperar(terminou, [&cancelar] { cancelar = true; });
        } else {
            QEventLoop laco;
            QTimer vigia;
            QObject::connect(&vigia, &QTimer::timeout, &laco, [&] {
                if (pronto) laco.quit();
            });
            vigia.start(20);
            laco.exec();
        }
    }
    fio.join();
}

} // namespace quarvel::printing
