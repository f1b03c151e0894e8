// The session journal and the backup when the disk refuses, slows down or
// stalls: one warning for a refused record, the journal then written whole
// again; the window keeps taking keys while the writer thread waits for the
// disk, and what the disk holds at any moment is a tape the user saw.
#include "documents/escritor_fila.h"
#include "espera/frm_loading.h"
#include "sessao/diario.h"
#include "sessao/diario_sessao.h"
#include "tests/documents/comandos_apoio.h"
#include "tests/falhas/falhas.h"

#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <cerrno>

namespace quarvel::documents {
namespace {

using testes::Chamada;
using testes::Falhas;

using DiarioFalhas = ComandosTeste;
using Brutos = std::vector<std::string>;

std::optional<Sessao> reler(const QString& caminho) {
    const QByteArray b = testes::ler_arquivo(caminho);
    return reler_diario({b.constData(), static_cast<std::size_t>(b.size())});
}

TEST_F(DiarioFalhas, DiarioRecusadoAvisaUmaVezERecomecaInteiro) {
    ASSERT_TRUE(Falhas::carregada()) << "the fault library is not preloaded";
    // The journal of these commands, as the window keeps it.
    DiarioSessao diario(
        fita, escritor, campos, [this] { return comandos_documento.arquivo_atual(); },
        [this](const QString& motivo) { dlg->aviso(&dono, motivo); }, caminho("sessoes"));
    QString estado_diario;
    QStringList estados;
    diario.ao_mudar_estado([&](const QString& t) {
        estado_diario = t;
        estados << t;
    });
    const struct {
        Chamada chamada;
        int erro;
        const char* motivo;
    } casos[] = {
        {Chamada::Sincronia, EIO, "Erro de entrada/saída"},
        {Chamada::Escrita, ENOSPC, "Não há espaço disponível no dispositivo"},
    };
    const QString arquivo = diario.caminho();
    ASSERT_FALSE(arquivo.isEmpty()) << diario.erro().toStdString();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.motivo);
        dlg->respostas = {Resposta::Nao};
        comandos_documento.novo();
        dlg->avisos.clear();
        adicionar(QStringLiteral("1"));
        diario.esperar();
        Falhas::armar(QFileInfo(arquivo).absolutePath(), c.chamada, 1, c.erro);
        estados.clear();
        adicionar(QStringLiteral("2")); // its record is refused: a new journal, whole
        diario.esperar();
        // Told in the status bar until the new journal went through.
        EXPECT_EQ(estados, (QStringList{QStringLiteral("Diário da sessão falhou: %1").arg(c.motivo),
                                        QString()}));
        adicionar(QStringLiteral("3"));
        diario.esperar();
        Falhas::desarmar();
        ASSERT_EQ(dlg->avisos.size(), 1);
        EXPECT_TRUE(dlg->avisos.first().startsWith(
            QStringLiteral("O diário da sessão não pôde ser gravado em %1: %2.")
                .arg(arquivo, QString::fromUtf8(c.motivo))))
            << dlg->avisos.first().toStdString();
        EXPECT_TRUE(estado_diario.isEmpty()) << estado_diario.toStdString();
        EXPECT_TRUE(diario.erro().isEmpty());
        const auto s = reler(arquivo);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->brutos, (Brutos{"1", "2", "3"}));
        EXPECT_FALSE(s->cauda_descartada);
    }
}

TEST_F(DiarioFalhas, PastaDeSessoesQueELigacaoNaoESeguida) {
    const QString alvo = caminho("outra");
    ASSERT_TRUE(QDir().mkpath(alvo));
    const auto permissoes = QFileInfo(alvo).permissions();
    ASSERT_TRUE(QFile::link(alvo, caminho("sessoes")));
    DiarioSessao diario(
        fita, escritor, campos, [this] { return comandos_documento.arquivo_atual(); },
        [this](const QString& motivo) { dlg->aviso(&dono, motivo); }, caminho("sessoes"));
    QString estado_diario;
    diario.ao_mudar_estado([&estado_diario](const QString& t) { estado_diario = t; });
    EXPECT_EQ(estado_diario,
              QStringLiteral("Diário da sessão falhou: a pasta %1 é uma ligação simbólica")
                  .arg(caminho("sessoes")));
    adicionar(QStringLiteral("1"));
    diario.esperar();
    EXPECT_TRUE(diario.erro().startsWith(
        QStringLiteral("A pasta %1 é uma ligação simbólica, que não é seguida")
            .arg(caminho("sessoes"))))
        << diario.erro().toStdString();
    // Where the link leads is as it was: no journal, the same mode.
    EXPECT_TRUE(QDir(alvo).isEmpty());
    EXPECT_EQ(QFileInfo(alvo).permissions(), permissoes);
}

TEST_F(DiarioFalhas, PastasNovasERemocoesSincronizadasNaPastaAcima) {
    ASSERT_TRUE(Falhas::carregada()) << "the fault library is not preloaded";
    testes::Desarmar desarmar;
    const QString raiz = caminho("dados");
    ASSERT_TRUE(QDir().mkpath(raiz));
    Falhas::contar(raiz);
    QString arquivo;
    int ao_criar = 0;
    {
        DiarioSessao diario(
            fita, escritor, campos, [this] { return comandos_documento.arquivo_atual(); },
            [this](const QString& motivo) { dlg->aviso(&dono, motivo); },
            raiz + QStringLiteral("/Quarvel/sessoes"));
        diario.esperar();
        arquivo = diario.caminho();
        ASSERT_TRUE(QFileInfo::exists(arquivo));
        ao_criar = Falhas::contagem(Chamada::Sincronia);
        // dados (for Quarvel), Quarvel (for sessoes), then the journal's own
        // write: its file and its folder.
        EXPECT_GE(ao_criar, 4);
    }
    // The journal and its lock removed, each synced out of the folder.
    EXPECT_FALSE(QFileInfo::exists(arquivo));
    EXPECT_GE(Falhas::contagem(Chamada::Sincronia), ao_criar + 2);
}

TEST_F(DiarioFalhas, FecharComODiscoParadoMostraAguardeEEspera) {
    ASSERT_TRUE(Falhas::carregada()) << "the fault library is not preloaded";
    testes::Desarmar desarmar;
    DiarioSessao diario(
        fita, escritor, campos, [this] { return comandos_documento.arquivo_atual(); },
        [this](const QString& motivo) { dlg->aviso(&dono, motivo); }, caminho("sessoes"));
    diario.esperar();
    const QString arquivo = diario.caminho();
    // A backup write stalls on the disk; the journal's own jobs are moot
    // once the window closes, the backup's are not.
    nome_arquivo->setText(QStringLiteral("malote"));
    d01->click();
    QDir().mkpath(pasta_backup());
    Falhas::contar(pasta_backup());
    Falhas::parar_sync(true);
    adicionar(QStringLiteral("7"));
    comandos_backup.tique();
    bool aguarde = false;
    // Runs once the close waits in its own event loop, with "Aguarde" up.
    QTimer::singleShot(0, &dono, [&aguarde] {
        for (QWidget* w : QApplication::topLevelWidgets())
            aguarde = aguarde || (qobject_cast<FormLoading*>(w) && w->isVisible());
        Falhas::parar_sync(false);
    });
    diario.encerrar();
    EXPECT_TRUE(aguarde);
    EXPECT_TRUE(escritor.em_dia());
    EXPECT_FALSE(QFileInfo::exists(arquivo));
    comandos_backup.esperar();
    EXPECT_EQ(testes::ler_arquivo(pasta_backup() + QStringLiteral("/malote.qvlbackup")),
              QByteArray("7,00\r\n"));
}

// The disk as a case has it while ten values are added.
enum class Disco { Lento, Parado, Falhando };
enum class Alvo { Diario, Backup };

struct CasoDisco {
    const char* nome;
    Disco disco;
    Alvo alvo;
};

class DiscoRuim : public ComandosTeste, public ::testing::WithParamInterface<CasoDisco> {};

TEST_P(DiscoRuim, AJanelaSegueEODiscoTemUmaFitaVista) {
    ASSERT_TRUE(Falhas::carregada()) << "the fault library is not preloaded";
    const CasoDisco& c = GetParam();
    testes::Desarmar desarmar;
    DiarioSessao diario(
        fita, escritor, campos, [this] { return comandos_documento.arquivo_atual(); },
        [this](const QString& motivo) { dlg->aviso(&dono, motivo); }, caminho("sessoes"));
    QString estado_diario;
    diario.ao_mudar_estado([&estado_diario](const QString& t) { estado_diario = t; });
    ASSERT_FALSE(diario.caminho().isEmpty()) << diario.erro().toStdString();
    nome_arquivo->setText(QStringLiteral("malote"));
    d01->click();
    diario.esperar();
    const QString backup = pasta_backup() + QStringLiteral("/malote.qvlbackup");
    QDir().mkpath(pasta_backup());
    const QString alvo =
        c.alvo == Alvo::Diario ? QFileInfo(diario.caminho()).absolutePath() : pasta_backup();
    switch (c.disco) {
    case Disco::Lento:
        Falhas::contar(alvo);
        Falhas::atrasar_sync(200);
        break;
    case Disco::Parado:
        Falhas::contar(alvo);
        Falhas::parar_sync(true);
        break;
    case Disco::Falhando:
        Falhas::armar(alvo, Chamada::Sincronia, 1, EIO);
        break;
    }
    std::vector<Brutos> vistos{fita.brutos()};
    for (int i = 1; i <= 10; ++i) {
        adicionar(QString::number(i));
        vistos.push_back(fita.brutos());
        if (c.alvo == Alvo::Backup) comandos_backup.tique();
    }
    // Every key was taken at once, and the event loop runs meanwhile.
    EXPECT_EQ(fita.tamanho(), 10u);
    bool rodou = false;
    QTimer::singleShot(0, &dono, [&rodou] { rodou = true; });
    QApplication::processEvents();
    EXPECT_TRUE(rodou);
    // Killed now, the journal gives a tape the user saw.
    if (const auto s = reler(diario.caminho())) {
        EXPECT_NE(std::find(vistos.begin(), vistos.end(), s->brutos), vistos.end());
        // How many of the ten commands a kill right now would cost.
        RecordProperty("comandos_perdidos_se_morto_agora",
                       static_cast<int>(fita.tamanho() - s->brutos.size()));
    } else {
        ADD_FAILURE() << "no journal to replay";
    }
    if (c.disco == Disco::Parado && c.alvo == Alvo::Diario) {
        // Behind for longer than the window lets pass without a word.
        // QTest's QTRY_ would only log a timeout; gtest must see it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !estado_diario.isEmpty(); }, 10000));
        EXPECT_EQ(estado_diario,
                  QStringLiteral("Diário da sessão atrasado: o disco não acompanha"));
    }
    Falhas::parar_sync(false);
    Falhas::atrasar_sync(0);
    diario.esperar();
    comandos_backup.esperar();
    if (c.disco == Disco::Lento && c.alvo == Alvo::Diario) {
        // The records that queued up behind a slow sync went in one.
        EXPECT_LT(Falhas::contagem(Chamada::Sincronia), 10);
    }
    Falhas::desarmar();
    // Caught up: the whole tape on the disk, nothing left to say.
    const auto s = reler(diario.caminho());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->brutos, fita.brutos());
    EXPECT_TRUE(estado_diario.isEmpty()) << estado_diario.toStdString();
    if (c.alvo == Alvo::Backup) {
        // A tick whose write was still running let the next ones pass.
        if (c.disco == Disco::Falhando) {
            EXPECT_FALSE(estado_backup.isEmpty());
        }
        tique_backup();
        EXPECT_TRUE(estado_backup.isEmpty()) << estado_backup.toStdString();
        EXPECT_EQ(testes::ler_arquivo(backup).count("\r\n"), 10);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Diario, DiscoRuim,
    ::testing::Values(CasoDisco{"diario_sync_lento", Disco::Lento, Alvo::Diario},
                      CasoDisco{"diario_sync_parado", Disco::Parado, Alvo::Diario},
                      CasoDisco{"diario_sync_falhando", Disco::Falhando, Alvo::Diario},
                      CasoDisco{"backup_sync_lento", Disco::Lento, Alvo::Backup},
                      CasoDisco{"backup_sync_parado", Disco::Parado, Alvo::Backup},
                      CasoDisco{"backup_sync_falhando", Disco::Falhando, Alvo::Backup}),
    [](const ::testing::TestParamInfo<CasoDisco>& caso) { return std::string(caso.param.nome); });

} // namespace
} // namespace quarvel::documents
