#pragma once
// The tape's dialogs answered from a script: what was shown is recorded and
// the answers are taken in order. RoteiroFitaSobre<Porta> adds this to any
// port built on tape::DialogosFita, so the application's scripted dialogs
// share it.
#include "tape/dialogos_fita.h"
#include "tests/apoio/roteiro.h"

#include <QStringList>
#include <deque>
#include <optional>

namespace quarvel::tape {

template <class Porta> class RoteiroFitaSobre : public Porta {
  public:
    // What was shown, in order.
    int sons = 0;
    QString ultimo_titulo;        // form_valor's caption
    QString ultimo_valor_inicial; // and the text it opened with

    // The answers; an empty queue answers "Cancelar".
    std::deque<std::optional<QString>> valores; // form_valor; nothing = Cancelar
    std::deque<std::optional<int>> repeticoes;  // form_repetir

    std::optional<QString>
    pedir_valor(QWidget*, const QString& titulo, const QString&, const QString& inicial,
                const std::function<bool(const QString&)>& aceitar) override {
        ultimo_titulo = titulo;
        ultimo_valor_inicial = inicial;
        // Like the dialog: a refused text keeps it open, so the next scripted
        // answer is typed; running out of answers is Cancelar.
        while (!valores.empty()) {
            auto v = valores.front();
            valores.pop_front();
            if (!v) return std::nullopt;
            if (!aceitar || aceitar(*v)) return v;
        }
        return std::nullopt;
    }
    std::optional<int> pedir_repeticoes(QWidget*) override {
        return testes::tirar(repeticoes, std::optional<int>());
    }
    void tocar_confirmacao() override { ++sons; }
};

using RoteiroFita = testes::AvisosSobre<RoteiroFitaSobre<DialogosFita>>;

} // namespace quarvel::tape
