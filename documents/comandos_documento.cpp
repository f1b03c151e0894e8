#include "documents/comandos_documento.h"

#include "calc/dinheiro.h"
#include "documents/alteracoes.h"
#include "documents/arquivos.h"
#include "documents/carregamento.h"
#include "documents/dialogos_documento.h"
#include "documents/mensagens.h"
#include "documents/texto.h"
#include "espera/frm_loading.h"
#include "tape/comandos_fita.h"
#include "tape/visao_fita.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QUndoStack>

namespace quarvel::documents {
namespace {

std::string_view vista(const QByteArray& b) {
    return {b.constData(), static_cast<std::size_t>(b.size())};
}

// The settings of a titled document as its file holds them now, read once
// per question: another program may have changed them since the file was
// opened or saved. A file that can no longer be read (moved away, deleted,
// its permission taken) holds none of its keys, so each reads as its default
// (kSemIntervalo for the interval), as any reader of the file sees it; why it
// could not be read changes nothing in that answer.
Configuracao configuracao_no_disco(const QString& caminho) {
    const auto bytes = ler_arquivo(caminho, nullptr);
    return ler_configuracao(bytes ? vista(*bytes) : std::string_view{});
}

} // namespace

QString ComandosDocumento::nome() const {
    return arquivo_atual_.isEmpty() ? QString::fromUtf8(kNomeNovo) : nome_sem_pasta(arquivo_atual_);
}

std::string ComandosDocumento::bytes_documento() const {
    return escrever_calculo({ler_campos(c_.campos), c_.fita.brutos()});
}

bool ComandosDocumento::alterado() const {
    const Retrato atual{{ler_campos(c_.campos), c_.fita.brutos()},
                        c_.entrada.text().toStdString(),
                        c_.estado_fita.alterado};
    if (arquivo_atual_.isEmpty()) return documento_alterado(atual, std::nullopt);
    return documento_alterado(atual,
                              Documento{configuracao_no_disco(arquivo_atual_), brutos_salvos_});
}

bool ComandosDocumento::confirmar_alteracoes() {
    if (!alterado()) return true;
    switch (c_.dialogos.perguntar(c_.dono, QString::fromUtf8(kSalvarAlteracoes).arg(nome()))) {
    case DialogosDocumento::Resposta::Sim:
        // A cancelled or failed save stops the command that asked.
        return arquivo_atual_.isEmpty() ? pedir_nome_e_salvar() : salvar();
    case DialogosDocumento::Resposta::Nao:
        return true;
    case DialogosDocumento::Resposta::Cancelar:
        break;
    }
    return false;
}

void ComandosDocumento::marcar_salvo() {
    brutos_salvos_ = c_.fita.brutos();
    c_.estado_fita.alterado = false;
}

bool ComandosDocumento::gravar(const QString& caminho) {
    QString erro;
    if (!c_.carregamento.gravar(caminho, QByteArray::fromStdString(bytes_documento()), &erro)) {
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kArquivoNaoSalvo).arg(caminho, erro));
        return false;
    }
    return true;
}

bool ComandosDocumento::salvar() {
    if (!gravar(arquivo_atual_)) return false;
    marcar_salvo();
    return true;
}

bool ComandosDocumento::pedir_nome_e_salvar() {
    const QString caminho = c_.dialogos.salvar_arquivo(c_.dono, QString::fromUtf8(kFiltroCalculo),
                                                       QString::fromUtf8(kExtensaoCalculo));
    if (caminho.isEmpty() || !gravar(caminho)) return false;
    arquivo_atual_ = caminho;
    c_.arquivo_mudou();
    marcar_salvo();
    return true;
}

void ComandosDocumento::salvar_padrao() {
    if (arquivo_atual_.isEmpty())
        pedir_nome_e_salvar();
    else
        salvar();
}

void ComandosDocumento::salvar_como() {
    pedir_nome_e_salvar();
}

void ComandosDocumento::novo() {
    if (!confirmar_alteracoes()) return;
    esvaziar();
}

void ComandosDocumento::esvaziar() {
    c_.entrada.clear();
    brutos_salvos_.clear();
    c_.comandos_fita.limpar_valor(); // also the in-place mark, the search and the current line
    c_.historico.clear();            // the cleared tape starts a new history, not an undo step
    c_.visao.definir_linha_atual(1);
    c_.campos.cabecalho.clear();
    c_.campos.rodape.clear();
    c_.campos.d01.setChecked(false); // the switch's own command stops the timer
    c_.campos.qtdetempo.setCurrentIndex(0);
    c_.campos.nome_arquivo.clear();
    arquivo_atual_.clear();
    c_.arquivo_mudou();
    c_.entrada.setFocus();
}

void ComandosDocumento::abrir() {
    if (!confirmar_alteracoes()) return;
    const QString caminho = c_.dialogos.abrir_arquivo(
        c_.dono, QString::fromUtf8(kFiltroAbrirCalculo), QString::fromUtf8(kExtensaoCalculo));
    if (!caminho.isEmpty()) carregar(caminho);
}

void ComandosDocumento::abrir_inicial(const QString& argumento) {
    if (argumento.isEmpty() || !QFileInfo::exists(argumento)) return;
    carregar(argumento);
}

bool ComandosDocumento::carregar(const QString& caminho) {
    if (e_arquivo_backup(caminho.toStdString())) return carregar_backup(caminho);
    // A save into the file itself was cut short: its bytes may be half old,
    // half new. The copy of the old document is offered first.
    const QString copia = copia_interrompida(caminho);
    if (!copia.isEmpty() &&
        c_.dialogos.perguntar_recuperacao(
            c_.dono, QString::fromUtf8(kSalvamentoInterrompido).arg(caminho, copia)))
        return carregar(copia);
    const auto bytes = c_.carregamento.ler(caminho);
    if (!bytes) return false;
    CargaCalculo carga;
    c_.carregamento.com_janela_de_espera([&](FormLoading& loading) {
        carga =
            carregar_calculo(vista(*bytes), [&loading](std::size_t) { loading.a_cada_valor(); });
    });
    if (carga.estado != CargaCalculo::Estado::Ok) {
        c_.dialogos.aviso(c_.dono, QString::fromStdString(mensagem_carga(
                                       carga, caminho.toStdString(), copia.toStdString())));
        return false;
    }
    arquivo_atual_ = caminho;
    const Configuracao& config = carga.doc.config;
    c_.campos.cabecalho.setText(QString::fromStdString(config.cabecalho));
    c_.campos.rodape.setText(QString::fromStdString(config.rodape));
    c_.campos.nome_arquivo.setText(QString::fromStdString(config.texto_backup));
    c_.aplicar_backup(config);
    c_.fita.trocar(std::move(carga.doc.brutos), std::move(carga.linhas));
    c_.historico.clear();
    c_.visao.definir_linha_atual(1);
    marcar_salvo();
    c_.arquivo_mudou();
    return true;
}

void ComandosDocumento::recuperar(Documento sessao, const std::string& arquivo) {
    const Configuracao& config = sessao.config;
    c_.campos.cabecalho.setText(QString::fromStdString(config.cabecalho));
    c_.campos.rodape.setText(QString::fromStdString(config.rodape));
    c_.campos.nome_arquivo.setText(QString::fromStdString(config.texto_backup));
    c_.aplicar_backup(config);
    std::vector<std::string> linhas;
    linhas.reserve(sessao.brutos.size());
    for (const auto& b : sessao.brutos)
        linhas.push_back(calc::linha_fita(b));
    arquivo_atual_ = QString::fromStdString(arquivo);
    c_.fita.trocar(std::move(sessao.brutos), std::move(linhas));
    c_.historico.clear();
    c_.visao.definir_linha_atual(1);
    // Nothing of it is saved as it stands.
    brutos_salvos_.clear();
    c_.estado_fita.alterado = true;
    c_.arquivo_mudou();
}

QString ComandosDocumento::salvar_recuperacao() const {
    // The warnings come before the error report, which then names no file.
    QWidget* janela = c_.dono ? c_.dono->window() : nullptr;
    QString erro;
    const QString pasta = c_.pasta_backup(&erro);
    if (pasta.isEmpty()) {
        c_.dialogos.aviso(janela, erro);
        return {};
    }
    const QString caminho =
        pasta +
        QStringLiteral("/recuperacao-%1.qvl")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
    if (!gravar_atomico(caminho, QByteArray::fromStdString(bytes_documento()), &erro,
                        Ligacao::Substituir)) {
        c_.dialogos.aviso(janela, QString::fromUtf8(kArquivoNaoSalvo).arg(caminho, erro));
        return {};
    }
    return caminho;
}

} // namespace quarvel::documents
