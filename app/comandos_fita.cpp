// The tape commands: add, delete, modify, repeat, clear, find, memory and the
// clipboard, and the total recomputation that ends every change.
#include "app/frm_principal.h"

#include "tape/busca.h"
#include "tape/campo_valor.h"
#include "tape/formas_numero.h"
#include "tape/mensagens.h"
#include "tape/total.h"
#include "tape/visao_fita.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>

namespace quarvel::app {
namespace {

QString de_utf8(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

bool FormPrincipal::recusar_entrada(const QString&, const std::string& texto_utf8,
                                    int posicao_erro) {
    if (!tape::entrada_recusada(texto_utf8, tape::Conversao{{}, posicao_erro})) return false;
    dialogos_->aviso(this, de_utf8(tape::expressao_invalida(texto_utf8, posicao_erro)));
    return true;
}

void FormPrincipal::atualizar_total() {
    const tape::TextosTotal total = tape::textos_total(fita_.brutos());
    valor_leitor_->setText(de_utf8(total.extenso));
    valor_final_->setText(de_utf8(total.figuras));
}

void FormPrincipal::definir_linha_atual(int linha) {
    valores_->definir_linha_atual(linha);
}

void FormPrincipal::add_valorExecute() {
    if (!fita_.cabe(1)) {
        dialogos_->aviso(this, QString::fromUtf8(tape::kMensagemMaximo));
        return;
    }
    const QString texto = texto_valor_->text();
    const std::string utf8 = texto.toStdString();
    const tape::Conversao c = tape::converter_entrada(utf8);
    if (recusar_entrada(texto, utf8, c.posicao_erro)) {
        texto_valor_->setFocus();
        return;
    }
    fita_.acrescentar(c.bruto);
    dialogos_->tocar_confirmacao();
    definir_linha_atual(static_cast<int>(fita_.tamanho()));
    texto_valor_->clear();
    texto_valor_->setFocus();
}

void FormPrincipal::deletar_valorExecute() {
    const int i = linha_atual() - 1;
    fita_.remover(static_cast<std::size_t>(i));
    definir_linha_atual(i);
}

void FormPrincipal::novo_valorExecute() {
    const int i = linha_atual() - 1;
    std::string bruto;
    auto aceitar = [this, &bruto](const QString& texto) {
        const std::string utf8 = texto.toStdString();
        const tape::Conversao c = tape::converter_entrada(utf8);
        if (recusar_entrada(texto, utf8, c.posicao_erro)) return false;
        bruto = c.bruto;
        return true;
    };
    const auto texto = dialogos_->pedir_valor(
        this, QStringLiteral("Modificar Valor"), QStringLiteral("Novo Valor:"),
        de_utf8(fita_.linha(static_cast<std::size_t>(i))), aceitar);
    if (!texto) return;
    if (!aceitar(*texto)) return; // the confirmed text, read once more
    alterado_ = true;
    fita_.substituir(static_cast<std::size_t>(i), bruto);
    dialogos_->tocar_confirmacao();
}

void FormPrincipal::repetir_valorExecute() {
    const auto vezes = dialogos_->pedir_repeticoes(this);
    if (!vezes) return;
    const auto n = static_cast<std::size_t>(std::clamp(*vezes, 1, tape::kMaximoRepeticoes));
    if (!fita_.cabe(n)) {
        dialogos_->aviso(this, QString::fromUtf8(tape::kMensagemMaximo));
        return;
    }
    const QString texto = texto_valor_->text();
    const std::string utf8 = texto.toStdString();
    const tape::Conversao c = tape::converter_entrada(utf8);
    if (recusar_entrada(texto, utf8, c.posicao_erro)) return;
    fita_.acrescentar_varios(c.bruto, n);
    texto_valor_->clear();
    texto_valor_->setFocus();
    dialogos_->tocar_confirmacao();
    definir_linha_atual(static_cast<int>(fita_.tamanho()));
}

void FormPrincipal::limpar_valorExecute() {
    alterado_ = false;
    fita_.limpar();
    valor_busca_ = 0;
    definir_linha_atual(1);
}

void FormPrincipal::buscarExecute() {
    std::optional<long double> procurado;
    auto aceitar = [this, &procurado](const QString& texto) {
        procurado = tape::extrair_valor(texto.toStdString());
        if (!procurado) dialogos_->aviso(this, QString::fromUtf8(tape::kBuscaSemValor));
        return procurado.has_value();
    };
    const auto texto = dialogos_->pedir_valor(this, QStringLiteral("Buscar Valor"),
                                              QStringLiteral("Digite o valor que deseja buscar:"),
                                              QString(), aceitar);
    if (!texto) return;
    if (!aceitar(*texto)) return;
    valor_busca_ = *procurado;
    if (!localizar_desde(0)) dialogos_->aviso(this, QString::fromUtf8(tape::kNadaEncontrado));
}

void FormPrincipal::buscar_proxExecute() {
    if (!localizar_desde(static_cast<std::size_t>(std::max(posicao_busca_, 0))))
        dialogos_->aviso(this, QString::fromUtf8(tape::kFimDaPesquisa));
}

bool FormPrincipal::localizar_desde(std::size_t inicio) {
    const auto i = tape::localizar(fita_.brutos(), valor_busca_, inicio);
    if (!i) return false;
    posicao_busca_ = static_cast<int>(*i) + 1;
    definir_linha_atual(posicao_busca_);
    return true;
}

void FormPrincipal::armazenar_memoriaExecute() {
    texto_memoria_ = de_utf8(fita_.linha(static_cast<std::size_t>(linha_atual() - 1)));
}

void FormPrincipal::valor_memoriaExecute() {
    texto_valor_->setText(texto_memoria_);
}

void FormPrincipal::transfExecute() {
    QApplication::clipboard()->setText(valor_final_->text());
}

} // namespace quarvel::app
