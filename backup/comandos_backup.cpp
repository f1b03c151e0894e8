#include "backup/comandos_backup.h"

#include "backup/intervalo_backup.h"
#include "backup/nome_backup.h"
#include "backup/pasta_backup.h"
#include "documents/arquivos.h"
#include "documents/carregamento.h"
#include "documents/comandos_texto.h"
#include "documents/dialogos_documento.h"
#include "documents/escritor_fila.h"
#include "documents/mensagens.h"
#include "documents/texto.h"
#include "espera/frm_loading.h"
#include "tape/visao_fita.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSignalBlocker>

namespace quarvel::backup {

using documents::CargaCalculo;
using documents::carregar_calculo;
using documents::Configuracao;
using documents::escrever_texto;
using documents::FormLoading;
using documents::kArquivoNaoSalvo;
using documents::kBackupEmOutraJanela;
using documents::kBackupFalhando;
using documents::kBackupSemIntervalo;
using documents::kPastaLimpa;
using documents::kPastaNaoLimpa;
using documents::mensagem_carga;

ComandosBackup::ComandosBackup(ContextoBackup contexto) : c_(contexto) {
    QObject::connect(&temporizador_, &QTimer::timeout, [this] { tique(); });
    // Whoever changes the box, the user or the program, the running timer
    // follows the interval it shows.
    QObject::connect(&c_.campos.qtdetempo, &QComboBox::currentIndexChanged,
                     [this](int indice) { intervalo_mostrado(indice); });
}

ComandosBackup::~ComandosBackup() {
    // The write reports to this object's timer: it must not outlive it.
    if (gravando_) c_.escritor.esperar();
}

void ComandosBackup::intervalo_mostrado(int indice) {
    if (!c_.campos.d01.isChecked() || !temporizador_.isActive()) return;
    if (indice < 0) {
        temporizador_.stop();
        return;
    }
    const int ms = intervalo_ms(minutos_do_indice(indice));
    if (temporizador_.interval() != ms) temporizador_.start(ms);
}

void ComandosBackup::chave_mudou(bool ligada) {
    if (!ligada) {
        temporizador_.stop();
        trava_.soltar();
        funcionou();
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
    // The name first: a refused one never has the timer started.
    const std::string recusa = recusa_nome_backup(c_.campos.nome_arquivo.text().toStdString());
    if (!recusa.empty()) {
        temporizador_.stop();
        c_.dialogos.aviso(c_.dono, QString::fromStdString(recusa));
        c_.campos.d01.setChecked(false);
        c_.campos.nome_arquivo.setFocus();
        return;
    }
    temporizador_.setInterval(intervalo_ms(minutos));
    temporizador_.start();
    aviso_dado_ = false;
    tomar_nome();
}

void ComandosBackup::tomar_nome() {
    QString erro;
    const QString arquivo = arquivo_do_nome(&erro);
    // A folder that cannot be made is told by the ticks; only a name in use
    // by another window turns the switch off.
    if (arquivo.isEmpty() || trava_.tomar(arquivo) != TravaBackup::Resultado::EmUso) return;
    c_.dialogos.aviso(c_.dono, QString::fromUtf8(kBackupEmOutraJanela).arg(arquivo));
    {
        const QSignalBlocker sem_sinal(&c_.campos.d01);
        c_.campos.d01.setChecked(false);
    }
    temporizador_.stop();
    c_.campos.nome_arquivo.setFocus();
}

void ComandosBackup::intervalo_escolhido(int indice) {
    temporizador_.stop();
    temporizador_.setInterval(intervalo_ms(minutos_do_indice(indice)));
    if (c_.campos.d01.isChecked()) temporizador_.start();
}

void ComandosBackup::aplicar(const Configuracao& c) {
    // The box first, so that the switch runs the interval the box shows. A
    // file that turns the switch on without an interval of its own shows,
    // and runs, the item shown before, else one minute: opening never stops
    // to ask for one. Already on, the timer still takes the file's interval.
    const int mostrado = c_.campos.qtdetempo.currentIndex();
    const int indice =
        c.backup ? indice_ao_abrir(c.qtdetempo, mostrado) : indice_do_arquivo(c.qtdetempo);
    {
        const QSignalBlocker sem_sinal(&c_.campos.d01);
        c_.campos.d01.setChecked(c.backup);
    }
    c_.campos.qtdetempo.setCurrentIndex(indice);
    if (c.backup)
        ligar(minutos_do_indice(indice));
    else
        temporizador_.stop();
}

QString ComandosBackup::arquivo_do_nome(QString* erro) {
    const std::string nome = c_.campos.nome_arquivo.text().toStdString();
    if (const std::string recusa = recusa_nome_backup(nome); !recusa.empty()) {
        *erro = QString::fromStdString(recusa);
        return {};
    }
    const QString pasta = pasta_backup(erro);
    if (pasta.isEmpty()) return {};
    return pasta + QLatin1Char('/') + QString::fromStdString(arquivo_backup(nome));
}

void ComandosBackup::falhou(const QString& texto) {
    if (avisar_estado_) avisar_estado_(QString::fromUtf8(kBackupFalhando).arg(texto));
    if (aviso_dado_) return;
    aviso_dado_ = true;
    c_.dialogos.aviso(c_.dono, texto);
}

void ComandosBackup::funcionou() {
    aviso_dado_ = false;
    if (avisar_estado_) avisar_estado_(QString());
}

void ComandosBackup::tique() {
    // While a load runs the tape is not yet the new one: no tick may write it.
    if (c_.campos.nome_arquivo.text().isEmpty() || c_.carregamento.ativo()) return;
    QString erro;
    const QString caminho = arquivo_do_nome(&erro);
    if (caminho.isEmpty()) {
        falhou(erro);
        return;
    }
    // Another window writes this name: its backup is left alone.
    switch (trava_.tomar(caminho, &erro)) {
    case TravaBackup::Resultado::Obtida:
        break;
    case TravaBackup::Resultado::EmUso:
        falhou(QString::fromUtf8(kBackupEmOutraJanela).arg(caminho));
        return;
    case TravaBackup::Resultado::Falhou:
        falhou(QString::fromUtf8(kArquivoNaoSalvo).arg(caminho, erro));
        return;
    }
    // The disk is slower than the ticks: the next one writes the tape then.
    if (gravando_) return;
    gravando_ = true;
    // A link in the Backup folder is replaced, never written through.
    c_.escritor.enfileirar([contexto = &temporizador_, this, nome = caminho.toStdString(),
                            bytes = escrever_texto(c_.fita.linhas())] {
        std::string motivo;
        const bool ok =
            gravacao::gravar_atomico(nome, bytes, &motivo, gravacao::Ligacao::Substituir);
        const QString aviso =
            ok ? QString()
               : QString::fromUtf8(kArquivoNaoSalvo)
                     .arg(QString::fromStdString(nome), QString::fromStdString(motivo));
        QMetaObject::invokeMethod(
            contexto, [this, aviso] { gravou(aviso); }, Qt::QueuedConnection);
    });
}

void ComandosBackup::gravou(const QString& erro) {
    gravando_ = false;
    if (erro.isEmpty())
        funcionou();
    else
        falhou(erro);
}

void ComandosBackup::esperar() {
    if (!gravando_) return;
    c_.escritor.esperar();
    QCoreApplication::sendPostedEvents(&temporizador_, QEvent::MetaCall);
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
    // Looked at, never made: only the clear command makes the folder.
    const QString pasta = local_de_backup();
    const QStringList nomes = listar_backups(pasta);
    temporizador_.stop();
    const QString escolhido = c_.dialogos.escolher_backup(
        c_.dono, nomes, motivo_pasta_backup(pasta), [this] { limpar_pasta(); });
    const QString caminho = pasta + QLatin1Char('/') + escolhido;
    if (escolhido.endsWith(QStringLiteral(".qvl")))
        restaurar_calculo(caminho);
    else if (!escolhido.isEmpty())
        c_.texto.importar(caminho, true);
    if (c_.campos.d01.isChecked()) temporizador_.start();
}

} // namespace quarvel::backup
