#include "documents/comandos_backup.h"

#include "documents/arquivos.h"
#include "documents/carregamento.h"
#include "documents/comandos_texto.h"
#include "documents/dialogos_documento.h"
#include "documents/frm_loading.h"
#include "documents/intervalo_backup.h"
#include "documents/mensagens.h"
#include "documents/nome_backup.h"
#include "documents/pasta_backup.h"
#include "documents/texto.h"
#include "tape/visao_fita.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace quarvel::documents {

ComandosBackup::ComandosBackup(ContextoBackup contexto) : c_(contexto) {
    QObject::connect(&temporizador_, &QTimer::timeout, [this] { tique(); });
}

void ComandosBackup::chave_mudou(bool ligada) {
    if (!ligada) {
        temporizador_.stop();
        return;
    }
    const int indice = c_.campos.qtdetempo.currentIndex();
    if (indice < 0) {
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kBackupSemIntervalo));
        c_.campos.d01.setChecked(false);
        return;
    }
    ligar(minutos_do_indice(indice));
}

void ComandosBackup::ligar(int minutos) {
    temporizador_.setInterval(intervalo_ms(minutos));
    temporizador_.start();
    const std::string recusa = recusa_nome_backup(c_.campos.nome_arquivo.text().toStdString());
    if (!recusa.empty()) {
        c_.dialogos.aviso(c_.dono, QString::fromStdString(recusa));
        c_.campos.d01.setChecked(false);
        temporizador_.stop();
        c_.campos.nome_arquivo.setFocus();
        return;
    }
    aviso_dado_ = false;
}

void ComandosBackup::intervalo_escolhido(int indice) {
    temporizador_.stop();
    temporizador_.setInterval(intervalo_ms(minutos_do_indice(indice)));
    if (c_.campos.d01.isChecked()) temporizador_.start();
}

void ComandosBackup::aplicar(const Configuracao& c) {
    // The switch, then the interval. A switch the file turns on runs without
    // asking for an interval.
    const int indice = indice_do_arquivo(c.qtdetempo);
    if (c.backup != c_.campos.d01.isChecked()) {
        const QSignalBlocker sem_sinal(&c_.campos.d01);
        c_.campos.d01.setChecked(c.backup);
        if (c.backup)
            ligar(minutos_ao_abrir(indice, c_.campos.qtdetempo.currentIndex()));
        else
            temporizador_.stop();
    }
    c_.campos.qtdetempo.setCurrentIndex(indice);
}

void ComandosBackup::tique() {
    const QString nome = c_.campos.nome_arquivo.text();
    // While a load runs the tape is not yet the new one: no tick may write it.
    if (nome.isEmpty() || c_.carregamento.ativo()) return;
    auto falhar = [this](const QString& texto) {
        if (aviso_dado_) return;
        aviso_dado_ = true;
        c_.dialogos.aviso(c_.dono, texto);
    };
    const std::string nome_utf8 = nome.toStdString();
    if (const std::string recusa = recusa_nome_backup(nome_utf8); !recusa.empty()) {
        falhar(QString::fromStdString(recusa));
        return;
    }
    QString erro;
    const QString pasta = pasta_backup(&erro);
    if (pasta.isEmpty()) {
        falhar(erro);
        return;
    }
    const QString caminho =
        pasta + QLatin1Char('/') + QString::fromStdString(arquivo_backup(nome_utf8));
    // A link in the Backup folder is replaced, never written through.
    if (!gravar_atomico(caminho, QByteArray::fromStdString(escrever_texto(c_.fita.linhas())), &erro,
                        Ligacao::Substituir)) {
        falhar(QString::fromUtf8(kArquivoNaoSalvo).arg(caminho, erro));
        return;
    }
    aviso_dado_ = false;
}

void ComandosBackup::limpar_pasta() {
    QString erro;
    const QString pasta = pasta_backup(&erro);
    if (pasta.isEmpty())
        c_.dialogos.aviso(c_.dono, erro);
    else if (limpar_pasta_backup(pasta, &erro))
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kPastaLimpa));
    else
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kPastaNaoLimpa).arg(erro));
}

void ComandosBackup::restaurar_calculo(const QString& caminho) {
    // A tape kept after an unclean end: its values, as a restore gives them.
    const auto bytes = c_.carregamento.ler(caminho, true);
    if (!bytes) return;
    CargaCalculo carga;
    c_.carregamento.com_janela_de_espera([&](FormLoading& loading) {
        carga = carregar_calculo({bytes->constData(), static_cast<std::size_t>(bytes->size())},
                                 [&loading](std::size_t) { loading.a_cada_valor(); });
    });
    if (carga.estado != CargaCalculo::Estado::Ok) {
        c_.dialogos.aviso(c_.dono,
                          QString::fromStdString(mensagem_carga(carga, caminho.toStdString())));
        return;
    }
    c_.texto.trocar_fita(std::move(carga.doc.brutos), std::move(carga.linhas));
}

void ComandosBackup::restaurar() {
    const QString pasta = pasta_backup();
    const QStringList nomes = listar_backups(pasta);
    temporizador_.stop();
    const QString escolhido =
        c_.dialogos.escolher_backup(c_.dono, nomes, [this] { limpar_pasta(); });
    const QString caminho = pasta + QLatin1Char('/') + escolhido;
    if (escolhido.endsWith(QStringLiteral(".qvl")))
        restaurar_calculo(caminho);
    else if (!escolhido.isEmpty())
        c_.texto.importar(caminho, true);
    if (c_.campos.d01.isChecked()) temporizador_.start();
}

} // namespace quarvel::documents
