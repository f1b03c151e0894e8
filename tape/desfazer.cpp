#include "tape/desfazer.h"

#include "calc/dinheiro.h"
#include "tape/comandos_fita.h"
#include "tape/mensagens.h"
#include "tape/visao_fita.h"

#include <QLocale>

namespace quarvel::tape {
namespace {

std::string juntar(const std::vector<std::string>& brutos) {
    std::string s;
    std::size_t total = 0;
    for (const auto& b : brutos)
        total += b.size() + 1;
    s.reserve(total);
    for (const auto& b : brutos) {
        s += b;
        s += '\n';
    }
    return s;
}

std::vector<std::string> separar(const std::string& juntos) {
    std::vector<std::string> r;
    std::size_t inicio = 0;
    for (std::size_t fim; (fim = juntos.find('\n', inicio)) != std::string::npos; inicio = fim + 1)
        r.emplace_back(juntos, inicio, fim - inicio);
    return r;
}

void trocar_por(FitaModelo& fita, const std::string& juntos) {
    std::vector<std::string> brutos = separar(juntos);
    std::vector<std::string> linhas;
    linhas.reserve(brutos.size());
    for (const auto& b : brutos)
        linhas.push_back(calc::linha_fita(b));
    fita.trocar(std::move(brutos), std::move(linhas));
}

// The amount as the tape shows it.
QString mascara(const std::string& bruto) {
    return QString::fromStdString(calc::linha_fita(bruto));
}

int ultima(const FitaModelo& fita) {
    return static_cast<int>(fita.tamanho());
}

} // namespace

Acrescimo::Acrescimo(AlvoDesfazer alvo, std::string bruto, std::size_t vezes)
    : a_(alvo), bruto_(std::move(bruto)), vezes_(vezes) {
    // The count grouped the Brazilian way: "× 5.000".
    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    setText(vezes_ == 1 ? QString::fromUtf8(kPassoAdicionar).arg(mascara(bruto_))
                        : QString::fromUtf8(kPassoRepetir)
                              .arg(mascara(bruto_), brasil.toString(qulonglong{vezes_})));
}

void Acrescimo::redo() {
    antes_ = a_.fita.tamanho();
    linha_antes_ = a_.visao.linha_atual();
    a_.fita.acrescentar_varios(bruto_, vezes_);
    a_.visao.definir_linha_atual(ultima(a_.fita));
}

void Acrescimo::undo() {
    a_.fita.cortar(antes_);
    a_.visao.definir_linha_atual(linha_antes_);
}

Remocao::Remocao(AlvoDesfazer alvo, std::size_t i) : a_(alvo), i_(i) {
    setText(QString::fromUtf8(kPassoDeletar).arg(mascara(a_.fita.brutos().at(i_))));
}

void Remocao::redo() {
    bruto_ = a_.fita.brutos().at(i_);
    a_.fita.remover(i_);
    a_.visao.definir_linha_atual(static_cast<int>(i_)); // the line above
}

void Remocao::undo() {
    a_.fita.inserir(i_, bruto_);
    a_.visao.definir_linha_atual(static_cast<int>(i_) + 1);
}

Modificacao::Modificacao(AlvoDesfazer alvo, std::size_t i, std::string bruto)
    : a_(alvo), i_(i), novo_(std::move(bruto)) {
    setText(
        QString::fromUtf8(kPassoModificar).arg(mascara(a_.fita.brutos().at(i_)), mascara(novo_)));
}

void Modificacao::redo() {
    antigo_ = a_.fita.brutos().at(i_);
    alterado_antes_ = a_.estado.alterado;
    a_.estado.alterado = true;
    a_.fita.substituir(i_, novo_);
    a_.visao.definir_linha_atual(static_cast<int>(i_) + 1);
}

void Modificacao::undo() {
    // Back to the value and to the mark it had: undone back to the saved
    // tape, the document is unchanged again.
    a_.estado.alterado = alterado_antes_;
    a_.fita.substituir(i_, antigo_);
    a_.visao.definir_linha_atual(static_cast<int>(i_) + 1);
}

Troca::Troca(AlvoDesfazer alvo, std::vector<std::string> brutos, std::vector<std::string> linhas,
             bool limpeza, const QString& texto)
    : a_(alvo), brutos_novos_(std::move(brutos)), linhas_novas_(std::move(linhas)),
      limpeza_(limpeza) {
    setText(limpeza_ ? QString::fromUtf8(kPassoLimpar) : texto);
}

void Troca::redo() {
    antigos_ = juntar(a_.fita.brutos());
    alterado_antes_ = a_.estado.alterado;
    linha_antes_ = a_.visao.linha_atual();
    if (novos_.empty() && !brutos_novos_.empty()) {
        a_.fita.trocar(std::move(brutos_novos_), std::move(linhas_novas_));
        brutos_novos_ = {};
        linhas_novas_ = {};
    } else {
        trocar_por(a_.fita, novos_);
    }
    if (limpeza_) {
        a_.estado.alterado = false;
        a_.estado.busca.valor = 0; // find-next is off until a new search
    }
    a_.visao.definir_linha_atual(1);
}

void Troca::undo() {
    novos_ = juntar(a_.fita.brutos()); // what a redo puts back
    a_.estado.alterado = alterado_antes_;
    trocar_por(a_.fita, antigos_);
    a_.visao.definir_linha_atual(linha_antes_);
}

} // namespace quarvel::tape
