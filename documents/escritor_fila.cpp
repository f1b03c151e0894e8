#include "documents/escritor_fila.h"

#include <algorithm>

namespace quarvel::documents {

EscritorFila::EscritorFila() : t_([this] { executar(); }) {}

EscritorFila::~EscritorFila() {
    {
        const std::lock_guard<std::mutex> l(m_);
        parar_ = true;
    }
    tem_trabalho_.notify_one();
    t_.join();
}

void EscritorFila::enfileirar(std::function<void()> trabalho) {
    {
        const std::lock_guard<std::mutex> l(m_);
        fila_.push_back({std::move(trabalho), Relogio::now()});
        ++entregues_;
    }
    tem_trabalho_.notify_one();
}

void EscritorFila::ao_fim_do_lote(const void* chave, std::function<void()> fim) {
    const bool ja_ha = std::any_of(fins_.begin(), fins_.end(),
                                   [chave](const auto& f) { return f.first == chave; });
    if (!ja_ha) fins_.emplace_back(chave, std::move(fim));
}

bool EscritorFila::esperar(std::optional<std::chrono::milliseconds> limite) {
    std::unique_lock<std::mutex> l(m_);
    const std::uint64_t alvo = entregues_;
    auto pronto = [this, alvo] { return concluidos_ >= alvo; };
    if (!limite) {
        feito_.wait(l, pronto);
        return true;
    }
    return feito_.wait_for(l, *limite, pronto);
}

bool EscritorFila::em_dia() const {
    const std::lock_guard<std::mutex> l(m_);
    return concluidos_ == entregues_;
}

EscritorFila::Relogio::duration EscritorFila::atraso() const {
    const std::lock_guard<std::mutex> l(m_);
    std::optional<Relogio::time_point> desde = lote_desde_;
    if (!desde && !fila_.empty()) desde = fila_.front().quando;
    return desde ? Relogio::now() - *desde : Relogio::duration::zero();
}

void EscritorFila::executar() {
    for (;;) {
        std::deque<Item> lote;
        {
            std::unique_lock<std::mutex> l(m_);
            tem_trabalho_.wait(l, [this] { return parar_ || !fila_.empty(); });
            if (fila_.empty()) return; // stopping, nothing left
            lote.swap(fila_);
            lote_desde_ = lote.front().quando;
        }
        for (Item& item : lote)
            item.trabalho();
        // What the batch's jobs left for its end, in the order they left it.
        auto fins = std::move(fins_);
        fins_.clear();
        for (auto& f : fins)
            f.second();
        {
            const std::lock_guard<std::mutex> l(m_);
            concluidos_ += lote.size();
            lote_desde_.reset();
        }
        feito_.notify_all();
    }
}

} // namespace quarvel::documents
