// The document commands: New, Open, Save, Save As, the unsaved-changes
// question and the opening of a file named on the command line.
#include "app/frm_principal.h"

#include "documents/arquivo_calculo.h"
#include "documents/arquivos.h"
#include "documents/frm_loading.h"
#include "tape/campo_valor.h"
#include "tape/visao_fita.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalBlocker>

namespace quarvel::app {
namespace {

const QString kFiltroCalculo = QStringLiteral("Calculos de Vantorel (*.qvl)");

std::string_view vista(const QByteArray& b) {
    return {b.constData(), static_cast<std::size_t>(b.size())};
}

} // namespace

std::string FormPrincipal::bytes_documento() const {
    documents::Documento doc;
    doc.config.cabecalho = cabecalho_->text().toStdString();
    doc.config.rodape = rodape_->text().toStdString();
    doc.config.texto_backup = nome_arquivo_->text().toStdString();
    doc.config.backup = d01_->isChecked();
    doc.config.qtdetempo = qtdetempo_->currentIndex();
    doc.brutos = fita_.brutos();
    return documents::escrever_calculo(doc);
}

bool FormPrincipal::documento_alterado() const {
    if (arquivo_atual_.isEmpty()) {
        return !fita_.vazia() || !texto_valor_->text().isEmpty() || !cabecalho_->text().isEmpty() ||
               !rodape_->text().isEmpty() || qtdetempo_->currentIndex() != 0 || d01_->isChecked() ||
               !nome_arquivo_->text().isEmpty();
    }
    // The settings are compared with the file as it stands on disk; the values
    // with those last opened or saved, so that deleting one and adding another
    // still counts as a change.
    documents::Configuracao salvo;
    salvo.qtdetempo = -1;
    QString erro;
    if (const auto bytes = documents::ler_arquivo(arquivo_atual_, &erro))
        salvo = documents::ler_configuracao(vista(*bytes));
    return linhas_salvas_ != fita_.tamanho() || fita_.brutos() != brutos_salvos_ || alterado_ ||
           cabecalho_->text().toStdString() != salvo.cabecalho ||
           rodape_->text().toStdString() != salvo.rodape ||
           nome_arquivo_->text().toStdString() != salvo.texto_backup ||
           d01_->isChecked() != salvo.backup || qtdetempo_->currentIndex() != salvo.qtdetempo;
}

bool FormPrincipal::confirmar_alteracoes() {
    if (!documento_alterado()) return true;
    const bool sem_nome = arquivo_atual_.isEmpty();
    const QString nome =
        sem_nome ? QString::fromLatin1(kNomeNovo) : documents::nome_sem_pasta(arquivo_atual_);
    switch (
        dialogos_->perguntar(this, QStringLiteral("Deseja salvar as alterações em %1").arg(nome))) {
    case Dialogos::Resposta::Sim:
        // A cancelled or failed save stops the command that asked.
        return sem_nome ? salvar_como() : salvar();
    case Dialogos::Resposta::Nao:
        return true;
    case Dialogos::Resposta::Cancelar:
        break;
    }
    return false;
}

void FormPrincipal::marcar_salvo() {
    linhas_salvas_ = fita_.tamanho();
    brutos_salvos_ = fita_.brutos();
    alterado_ = false;
}

bool FormPrincipal::gravar_documento(const QString& caminho) {
    const std::string bytes = bytes_documento();
    QString erro;
    if (!documents::gravar_atomico(caminho, QByteArray::fromStdString(bytes), &erro)) {
        dialogos_->aviso(
            this, QStringLiteral("Não foi possível salvar o arquivo %1: %2").arg(caminho, erro));
        return false;
    }
    return true;
}

bool FormPrincipal::salvar() {
    if (!gravar_documento(arquivo_atual_)) return false;
    marcar_salvo();
    return true;
}

bool FormPrincipal::salvar_como() {
    const QString caminho = dialogos_->salvar_arquivo(this, kFiltroCalculo, QStringLiteral("qvl"));
    if (caminho.isEmpty() || !gravar_documento(caminho)) return false;
    arquivo_atual_ = caminho;
    definir_titulo();
    marcar_salvo();
    return true;
}

void FormPrincipal::salvar_padraoExecute() {
    if (arquivo_atual_.isEmpty())
        salvar_como();
    else
        salvar();
}

void FormPrincipal::salvar_comoExecute() {
    salvar_como();
}

void FormPrincipal::novoExecute() {
    if (!confirmar_alteracoes()) return;
    alterado_ = false;
    texto_valor_->clear();
    linhas_salvas_ = 0;
    brutos_salvos_.clear();
    fita_.limpar();
    valores_->modelo().tudo_trocado();
    definir_linha_atual(1);
    cabecalho_->clear();
    rodape_->clear();
    d01_->setChecked(false);
    qtdetempo_->setCurrentIndex(0);
    valor_busca_ = 0;
    nome_arquivo_->clear();
    arquivo_atual_.clear();
    definir_titulo();
    atualizar_total();
    texto_valor_->setFocus();
}

void FormPrincipal::abrirExecute() {
    if (!confirmar_alteracoes()) return;
    const QString caminho = dialogos_->abrir_arquivo(this, kFiltroCalculo);
    if (!caminho.isEmpty()) carregar_documento(caminho);
}

void FormPrincipal::abrir_inicial(const QString& argumento) {
    if (argumento.isEmpty() || !QFileInfo::exists(argumento)) return;
    carregar_documento(argumento);
}

void FormPrincipal::aplicar_configuracao(const documents::Configuracao& c) {
    cabecalho_->setText(QString::fromStdString(c.cabecalho));
    rodape_->setText(QString::fromStdString(c.rodape));
    nome_arquivo_->setText(QString::fromStdString(c.texto_backup));
    // The switch, then the interval. A switch the file turns on runs with the
    // file's interval when it has one, else with the one shown (one minute
    // when none is), so opening never asks for an interval.
    const int indice = c.qtdetempo >= 0 && c.qtdetempo <= 4 ? c.qtdetempo : -1;
    if (c.backup != d01_->isChecked()) {
        const QSignalBlocker sem_sinal(d01_);
        d01_->setChecked(c.backup);
        if (c.backup) {
            const int mostrado = qtdetempo_->currentIndex();
            ligar_backup(indice >= 0 ? indice + 1 : mostrado >= 0 ? mostrado + 1 : 1);
        } else {
            bakup_.stop();
        }
    }
    qtdetempo_->setCurrentIndex(indice);
}

std::optional<QByteArray> FormPrincipal::ler_ou_avisar(const QString& caminho) {
    QString erro;
    auto bytes = documents::ler_arquivo(caminho, &erro);
    if (!bytes)
        dialogos_->aviso(this,
                         QStringLiteral("O arquivo %1 não pôde ser aberto: %2").arg(caminho, erro));
    return bytes;
}

void FormPrincipal::com_janela_de_espera(
    const std::function<void(documents::FormLoading&)>& carga) {
    carregando_ = true;
    {
        documents::FormLoading loading(this);
        loading.iniciar();
        carga(loading);
    }
    carregando_ = false;
}

bool FormPrincipal::carregar_documento(const QString& caminho) {
    const auto bytes = ler_ou_avisar(caminho);
    if (!bytes) return false;
    documents::CargaCalculo carga;
    com_janela_de_espera([&](documents::FormLoading& loading) {
        carga = documents::carregar_calculo(vista(*bytes),
                                            [&loading](std::size_t) { loading.a_cada_valor(); });
    });
    switch (carga.estado) {
    case documents::CargaCalculo::Estado::ExcedeMaximo:
        dialogos_->aviso(this, QString::fromUtf8(tape::kMensagemMaximo));
        return false;
    case documents::CargaCalculo::Estado::Danificado:
        dialogos_->aviso(this, QStringLiteral("O arquivo %1 não pôde ser aberto: %2")
                                   .arg(caminho, QString::fromStdString(carga.detalhe)));
        return false;
    case documents::CargaCalculo::Estado::Ok:
        break;
    }
    arquivo_atual_ = caminho;
    aplicar_configuracao(carga.doc.config);
    fita_.trocar(std::move(carga.doc.brutos), std::move(carga.linhas));
    valores_->modelo().tudo_trocado();
    definir_linha_atual(1);
    atualizar_total();
    marcar_salvo();
    definir_titulo();
    return true;
}

} // namespace quarvel::app
