#include "tape/comandos_fita.h"

#include "calc/dinheiro.h"
#include "tape/desfazer.h"
#include "tape/dialogos_fita.h"
#include "tape/mensagens.h"
#include "tape/regra_entrada.h"
#include "tape/total.h"
#include "tape/visao_fita.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QUndoStack>

#include <algorithm>

namespace quarvel::tape {
namespace {

QString de_utf8(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

std::optional<std::string> ComandosFita::converter(const QString& texto) {
    const std::string utf8 = texto.toStdString();
    const Conversao c = converter_entrada(utf8);
    if (entrada_recusada(utf8, c)) {
        c_.dialogos.aviso(c_.dono, de_utf8(expressao_invalida(utf8, c.posicao_erro)));
        return std::nullopt;
    }
    return c.bruto;
}

AlvoDesfazer ComandosFita::alvo() const {
    return {c_.fita, c_.estado, c_.visao};
}

int ComandosFita::linha_atual() const {
    return c_.visao.linha_atual();
}

void ComandosFita::add_valor() {
    if (!c_.fita.cabe(1)) {
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kMensagemMaximo));
        return;
    }
    const auto bruto = converter(c_.entrada.text());
    if (!bruto) {
        c_.entrada.setFocus();
        return;
    }
    c_.historico.push(new Acrescimo(alvo(), *bruto, 1)); // the new line becomes current
    c_.dialogos.tocar_confirmacao();
    c_.entrada.clear();
    c_.entrada.setFocus();
}

void ComandosFita::deletar_valor() {
    // The line above becomes current; line 1 after the first.
    c_.historico.push(new Remocao(alvo(), static_cast<std::size_t>(linha_atual() - 1)));
}

void ComandosFita::novo_valor() {
    const auto i = static_cast<std::size_t>(linha_atual() - 1);
    std::optional<std::string> bruto;
    auto aceitar = [this, &bruto](const QString& texto) {
        bruto = converter(texto);
        return bruto.has_value();
    };
    const auto texto = c_.dialogos.pedir_valor(c_.dono, QString::fromUtf8(kTituloModificar),
                                               QString::fromUtf8(kRotuloModificar),
                                               de_utf8(c_.fita.linha(i)), aceitar);
    if (!texto) return;
    if (!aceitar(*texto)) return;                          // the confirmed text, read once more
    c_.historico.push(new Modificacao(alvo(), i, *bruto)); // also marks it modified
    c_.dialogos.tocar_confirmacao();
}

void ComandosFita::repetir_valor() {
    const auto vezes = c_.dialogos.pedir_repeticoes(c_.dono);
    if (!vezes) return;
    const auto n = static_cast<std::size_t>(std::clamp(*vezes, 1, kMaximoRepeticoes));
    if (!c_.fita.cabe(n)) {
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kMensagemMaximo));
        return;
    }
    // Read and converted once: every repetition would give the same raw value.
    const auto bruto = converter(c_.entrada.text());
    if (!bruto) return;
    c_.historico.push(new Acrescimo(alvo(), *bruto, n)); // the last line becomes current
    c_.entrada.clear();
    c_.entrada.setFocus();
    c_.dialogos.tocar_confirmacao();
}

void ComandosFita::limpar_valor() {
    // Also clears `alterado` and turns find-next off until a new search.
    c_.historico.push(new Troca(alvo(), {}, {}, true));
}

void ComandosFita::buscar() {
    std::optional<calc::Estendido> procurado;
    auto aceitar = [this, &procurado](const QString& texto) {
        // Read, not evaluated: 2*3 searches for 23.
        procurado = calc::extrair_valor(texto.toStdString());
        if (!procurado) c_.dialogos.aviso(c_.dono, QString::fromUtf8(kBuscaSemValor));
        return procurado.has_value();
    };
    const auto texto =
        c_.dialogos.pedir_valor(c_.dono, QString::fromUtf8(kTituloBuscar),
                                QString::fromUtf8(kRotuloBuscar), QString(), aceitar);
    if (!texto) return;
    if (!aceitar(*texto)) return;
    if (const auto linha = c_.estado.busca.buscar(c_.fita.brutos(), *procurado))
        c_.visao.definir_linha_atual(*linha);
    else
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kNadaEncontrado));
}

void ComandosFita::buscar_prox() {
    if (const auto linha = c_.estado.busca.buscar_proximo(c_.fita.brutos()))
        c_.visao.definir_linha_atual(*linha);
    else
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kFimDaPesquisa));
}

void ComandosFita::armazenar_memoria() {
    // The line as shown, two decimals, not the raw value.
    c_.estado.texto_memoria = de_utf8(c_.fita.linha(static_cast<std::size_t>(linha_atual() - 1)));
}

void ComandosFita::valor_memoria() {
    c_.entrada.setText(c_.estado.texto_memoria);
}

void ComandosFita::transf() {
    // The total display shows these figures after every change of the tape.
    QApplication::clipboard()->setText(de_utf8(textos_total(c_.fita.fita()).figuras));
}

bool ComandosFita::tem_linhas() const {
    return !c_.fita.vazia();
}

bool ComandosFita::tem_entrada() const {
    return !c_.entrada.text().isEmpty();
}

bool ComandosFita::busca_ativa() const {
    return c_.estado.busca.ativa() && !c_.fita.vazia();
}

bool ComandosFita::tem_memoria() const {
    return !c_.estado.texto_memoria.isEmpty();
}

} // namespace quarvel::tape
