// Text import and export, and the automatic backup with its restore window.
#include "app/frm_principal.h"

#include "documents/arquivos.h"
#include "documents/frm_loading.h"
#include "documents/nome_backup.h"
#include "documents/pasta_backup.h"
#include "documents/texto.h"
#include "tape/campo_valor.h"
#include "tape/visao_fita.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QLineEdit>

namespace quarvel::app {
namespace {

const QString kFiltroTexto = QStringLiteral("Arquivo de Texto (*.txt)");

QByteArray bytes_texto(const tape::Fita& fita) {
    return QByteArray::fromStdString(documents::escrever_texto(fita.linhas()));
}

} // namespace

bool FormPrincipal::importar_linhas(const QString& caminho, bool so_arquivo_comum) {
    std::optional<QByteArray> bytes;
    if (so_arquivo_comum) {
        QString erro;
        bytes = documents::ler_arquivo_comum(caminho, &erro);
        if (!bytes)
            dialogos_->aviso(
                this, QStringLiteral("O arquivo %1 não pôde ser aberto: %2").arg(caminho, erro));
    } else {
        bytes = ler_ou_avisar(caminho);
    }
    if (!bytes) return false;
    documents::LeituraTexto leitura;
    com_janela_de_espera([&](documents::FormLoading& loading) {
        leitura = documents::ler_texto(
            {bytes->constData(), static_cast<std::size_t>(bytes->size())}, [&loading](std::size_t) {
                loading.a_cada_valor();
                return !loading.cancelado();
            });
    });
    texto_valor_->setFocus();
    // Every refusal leaves the tape exactly as it was.
    switch (leitura.estado) {
    case documents::LeituraTexto::Estado::LinhaSemValor:
        dialogos_->aviso(this, QStringLiteral("A linha %1 de %2 não contém um valor: %3")
                                   .arg(leitura.numero_linha)
                                   .arg(documents::nome_sem_pasta(caminho),
                                        QString::fromStdString(leitura.texto_linha)));
        return false;
    case documents::LeituraTexto::Estado::ExcedeMaximo:
        dialogos_->aviso(this, QString::fromUtf8(tape::kMensagemMaximo));
        return false;
    case documents::LeituraTexto::Estado::Cancelado:
        return false;
    case documents::LeituraTexto::Estado::Ok:
        break;
    }
    fita_.trocar(std::move(leitura.brutos), std::move(leitura.linhas));
    valores_->modelo().tudo_trocado();
    definir_linha_atual(1);
    atualizar_total();
    return true;
}

void FormPrincipal::abrir_txtExecute() {
    const QString caminho = dialogos_->abrir_arquivo(this, kFiltroTexto);
    if (!caminho.isEmpty()) importar_linhas(caminho);
}

void FormPrincipal::save_txtExecute() {
    const QString caminho = dialogos_->salvar_arquivo(this, kFiltroTexto, QStringLiteral("txt"));
    if (caminho.isEmpty()) return;
    QString erro;
    if (!documents::gravar_atomico(caminho, bytes_texto(fita_), &erro))
        dialogos_->aviso(
            this, QStringLiteral("Não foi possível salvar o arquivo %1: %2").arg(caminho, erro));
}

void FormPrincipal::d01Click(bool ligado) {
    if (!ligado) {
        bakup_.stop();
        return;
    }
    const int indice = qtdetempo_->currentIndex();
    if (indice < 0) {
        dialogos_->aviso(this, QStringLiteral("Selecione o intervalo do backup."));
        d01_->setChecked(false);
        return;
    }
    ligar_backup(indice + 1);
}

void FormPrincipal::ligar_backup(int minutos) {
    bakup_.setInterval(minutos * 60000);
    bakup_.start();
    const QString nome = nome_arquivo_->text();
    if (nome.isEmpty()) {
        dialogos_->aviso(this, QStringLiteral("Arquivo Não Definido !"));
        d01_->setChecked(false);
        bakup_.stop();
        nome_arquivo_->setFocus();
        return;
    }
    if (!documents::nome_backup_valido(nome.toStdString())) {
        dialogos_->aviso(this, QStringLiteral("Nome de arquivo de backup inválido: %1").arg(nome));
        d01_->setChecked(false);
        bakup_.stop();
        nome_arquivo_->setFocus();
        return;
    }
    aviso_backup_dado_ = false;
}

void FormPrincipal::qtdetempoChange(int indice) {
    bakup_.stop();
    bakup_.setInterval((indice + 1) * 60000);
    if (d01_->isChecked()) bakup_.start();
}

void FormPrincipal::bakupTimer() {
    const QString nome = nome_arquivo_->text();
    // While a load runs the tape is not yet the new one: no tick may write it.
    if (nome.isEmpty() || carregando_) return;
    auto falhar = [this](const QString& texto) {
        // One warning, not one a tick.
        if (aviso_backup_dado_) return;
        aviso_backup_dado_ = true;
        dialogos_->aviso(this, texto);
    };
    const std::string nome_utf8 = nome.toStdString();
    if (!documents::nome_backup_valido(nome_utf8)) {
        falhar(QStringLiteral("Nome de arquivo de backup inválido: %1").arg(nome));
        return;
    }
    QString erro;
    const QString pasta = documents::pasta_backup(&erro);
    if (pasta.isEmpty()) {
        falhar(erro);
        return;
    }
    const QString caminho =
        pasta + QLatin1Char('/') + QString::fromStdString(documents::arquivo_backup(nome_utf8));
    // A link in the Backup folder is replaced, never written through.
    if (!documents::gravar_atomico(caminho, bytes_texto(fita_), &erro,
                                   documents::Ligacao::Substituir)) {
        falhar(QStringLiteral("Não foi possível salvar o arquivo %1: %2").arg(caminho, erro));
        return;
    }
    aviso_backup_dado_ = false;
}

QString FormPrincipal::salvar_recuperacao() const {
    // The warnings come before the error report, which then names no file.
    QString erro;
    const QString pasta = documents::pasta_backup(&erro);
    if (pasta.isEmpty()) {
        dialogos_->aviso(window(), erro);
        return {};
    }
    const QString caminho =
        pasta +
        QStringLiteral("/recuperacao-%1.qvl")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
    if (!documents::gravar_atomico(caminho, QByteArray::fromStdString(bytes_documento()), &erro,
                                   documents::Ligacao::Substituir)) {
        dialogos_->aviso(
            window(),
            QStringLiteral("Não foi possível salvar o arquivo %1: %2").arg(caminho, erro));
        return {};
    }
    return caminho;
}

void FormPrincipal::limpar_pasta() {
    QString erro;
    const QString pasta = documents::pasta_backup(&erro);
    if (pasta.isEmpty())
        dialogos_->aviso(this, erro);
    else if (documents::limpar_pasta_backup(pasta, &erro))
        dialogos_->aviso(this, QStringLiteral("O processo da limpeza foi concluído com sucesso !"));
    else
        dialogos_->aviso(this,
                         QStringLiteral("Não foi possível limpar a pasta Backup: %1").arg(erro));
}

void FormPrincipal::backupExecute() {
    const QString pasta = documents::pasta_backup();
    const QStringList nomes = documents::listar_backups(pasta);
    bakup_.stop();
    const QString escolhido = dialogos_->escolher_backup(this, nomes, [this] { limpar_pasta(); });
    if (!escolhido.isEmpty()) importar_linhas(pasta + QLatin1Char('/') + escolhido, true);
    if (d01_->isChecked()) bakup_.start();
}

} // namespace quarvel::app
