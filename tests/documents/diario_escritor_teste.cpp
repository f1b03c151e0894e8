// The writer thread of the journal and the backup: jobs in the order given,
// a batch's end run once per key however many of its jobs asked, and a wait
// that returns once what was handed over is done.
#include "documents/escritor_fila.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace quarvel::documents {
namespace {

TEST(EscritorFila, TrabalhosNaOrdemEFimDoLoteUmaVezPorChave) {
    std::vector<int> feito; // touched by the thread only, read after esperar()
    int fins = 0;
    std::mutex m;
    std::condition_variable cv;
    bool solto = false;
    {
        EscritorFila fila;
        const int chave = 0;
        // The first job holds the thread while the next ones queue up.
        fila.enfileirar([&] {
            std::unique_lock<std::mutex> l(m);
            cv.wait(l, [&] { return solto; });
            feito.push_back(0);
        });
        for (int i = 1; i <= 50; ++i)
            fila.enfileirar([&, i] {
                feito.push_back(i);
                fila.ao_fim_do_lote(&chave, [&] { ++fins; });
            });
        EXPECT_FALSE(fila.em_dia());
        EXPECT_FALSE(fila.esperar(std::chrono::milliseconds(0)));
        {
            const std::lock_guard<std::mutex> l(m);
            solto = true;
        }
        cv.notify_all();
        EXPECT_TRUE(fila.esperar());
        EXPECT_TRUE(fila.em_dia());
        EXPECT_EQ(fila.atraso(), EscritorFila::Relogio::duration::zero());
    }
    ASSERT_EQ(feito.size(), 51u);
    for (int i = 0; i <= 50; ++i)
        EXPECT_EQ(feito[static_cast<std::size_t>(i)], i);
    // The 50 queued behind the first went as one batch: one end.
    EXPECT_EQ(fins, 1);
}

TEST(EscritorFila, DestruidaTerminaOQueFicouNaFila) {
    std::atomic<int> feitos{0};
    {
        EscritorFila fila;
        for (int i = 0; i < 1000; ++i)
            fila.enfileirar([&feitos] { ++feitos; });
    }
    EXPECT_EQ(feitos.load(), 1000);
}

} // namespace
} // namespace quarvel::documents
