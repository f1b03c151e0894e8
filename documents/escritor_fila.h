#pragma once
// The one thread that writes the session journal and the automatic backup,
// so that the window never waits for the disk. Jobs run one at a time, in
// the order they were handed over. The jobs that queue up while the thread
// is busy are taken together as a batch; a job may leave work for the end of
// its batch (a journal's fdatasync), done once however many of its records
// the batch wrote.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace quarvel::documents {

class EscritorFila {
  public:
    using Relogio = std::chrono::steady_clock;

    EscritorFila();
    // Runs what is still queued, then joins the thread.
    ~EscritorFila();
    EscritorFila(const EscritorFila&) = delete;
    EscritorFila& operator=(const EscritorFila&) = delete;

    // A job for the thread.
    void enfileirar(std::function<void()> trabalho);

    // Only from inside a job: `fim` runs once the jobs of this batch have
    // run. Of several left with the same `chave` in a batch, the first runs.
    void ao_fim_do_lote(const void* chave, std::function<void()> fim);

    // Waits until every job handed over before the call, and its batch's
    // end, has run. False when `limite` passed first.
    bool esperar(std::optional<std::chrono::milliseconds> limite = std::nullopt);

    // Whether every job handed over so far has run.
    bool em_dia() const;

    // How long the oldest job not yet done has been waiting; zero when none.
    Relogio::duration atraso() const;

  private:
    struct Item {
        std::function<void()> trabalho;
        Relogio::time_point quando;
    };
    void executar();

    mutable std::mutex m_;
    std::condition_variable tem_trabalho_;
    std::condition_variable feito_;
    std::deque<Item> fila_;
    std::uint64_t entregues_ = 0;
    std::uint64_t concluidos_ = 0;
    std::optional<Relogio::time_point> lote_desde_; // the running batch's oldest job
    bool parar_ = false;
    // Touched by the thread alone.
    std::vector<std::pair<const void*, std::function<void()>>> fins_;
    std::thread t_; // last: started once the rest is built
};

} // namespace quarvel::documents
