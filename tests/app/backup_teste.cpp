// The automatic backup: the switch and its refusals, the tick, and the
// restore window's restore and clear.
#include "tests/app/janela_apoio.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quarvel::app {
namespace {

QByteArray ler(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void escrever(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << caminho.toStdString();
    f.write(bytes);
}

class BackupTeste : public JanelaTeste {
  protected:
    QCheckBox* chave() const { return filho<QCheckBox>("d01"); }
    QLineEdit* nome() const { return filho<QLineEdit>("nome_arquivo"); }
    QString pasta_backup() const { return pasta.filePath(QStringLiteral("Backup")); }
    // A file outside the Backup folder that nothing may touch.
    QString fora() const { return pasta.filePath(QStringLiteral("fora.txt")); }
};

TEST_F(BackupTeste, ChaveRecusaNomeVazioInvalidoOuSemIntervalo) {
    struct Caso {
        const char* nome;
        int intervalo;
        const char* aviso;
    };
    const Caso casos[] = {
        {"", 0, "Arquivo Não Definido !"},
        {"../../x", 0, "Nome de arquivo de backup inválido: ../../x"},
        {"a/b", 0, "Nome de arquivo de backup inválido: a/b"},
        {"..", 0, "Nome de arquivo de backup inválido: .."},
        {"malote", -1, "Selecione o intervalo do backup."},
    };
    for (const Caso& c : casos) {
        dlg->avisos.clear();
        nome()->setText(QString::fromUtf8(c.nome));
        filho<QComboBox>("qtdetempo")->setCurrentIndex(c.intervalo);
        chave()->click();
        EXPECT_EQ(dlg->avisos, QStringList{QString::fromUtf8(c.aviso)}) << c.nome;
        EXPECT_FALSE(chave()->isChecked()) << c.nome;
        EXPECT_FALSE(janela->temporizador_backup().isActive()) << c.nome;
    }
}

TEST_F(BackupTeste, ChaveLigadaRodaOTemporizadorNoIntervalo) {
    nome()->setText(QStringLiteral("malote.dia"));
    filho<QComboBox>("qtdetempo")->setCurrentIndex(1);
    chave()->click();
    EXPECT_TRUE(dlg->avisos.isEmpty());
    EXPECT_TRUE(janela->temporizador_backup().isActive());
    EXPECT_EQ(janela->temporizador_backup().interval(), 2 * 60000);
    chave()->click();
    EXPECT_FALSE(janela->temporizador_backup().isActive());
}

TEST_F(BackupTeste, CadaTiqueGravaAsLinhasDaFita) {
    for (const char* v : {"10/3", "5"})
        adicionar(QString::fromLatin1(v));
    nome()->setText(QStringLiteral("malote.dia"));
    chave()->click();
    janela->bakupTimer();
    EXPECT_EQ(ler(pasta_backup() + QStringLiteral("/malote.qvlbackup")),
              QByteArray("3,33\r\n5,00\r\n"));
    adicionar(QStringLiteral("1"));
    janela->bakupTimer();
    EXPECT_EQ(ler(pasta_backup() + QStringLiteral("/malote.qvlbackup")),
              QByteArray("3,33\r\n5,00\r\n1,00\r\n"));
}

TEST_F(BackupTeste, FalhaAoGravarAvisaUmaVezSo) {
    adicionar(QStringLiteral("1"));
    nome()->setText(QStringLiteral("malote"));
    chave()->click();
    // A folder where the file should be makes every write fail.
    ASSERT_TRUE(QDir().mkpath(pasta_backup() + QStringLiteral("/malote.qvlbackup")));
    janela->bakupTimer();
    janela->bakupTimer();
    EXPECT_EQ(dlg->avisos.size(), 1);
}

TEST_F(BackupTeste, RestaurarTrocaSoAFita) {
    QDir().mkpath(pasta_backup());
    QFile f(pasta_backup() + QStringLiteral("/dia.qvlbackup"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1,00\r\n2,50\r\n");
    f.close();
    adicionar(QStringLiteral("9"));
    filho<QLineEdit>("cabecalho")->setText(QStringLiteral("fica"));
    dlg->backups = {QStringLiteral("dia.qvlbackup")};
    executar("backup");
    EXPECT_EQ(dlg->nomes_backup, QStringList{"dia.qvlbackup"});
    EXPECT_EQ(brutos(), (QStringList{"1", "2,5"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 3,50"));
    EXPECT_EQ(filho<QLineEdit>("cabecalho")->text(), QStringLiteral("fica"));
    // Nothing chosen: the tape stays.
    executar("backup");
    EXPECT_EQ(brutos(), (QStringList{"1", "2,5"}));
}

TEST_F(BackupTeste, LimparAPastaAvisaOResultado) {
    QDir().mkpath(pasta_backup());
    QFile f(pasta_backup() + QStringLiteral("/a.qvlbackup"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    nome()->setText(QStringLiteral("malote"));
    chave()->click();
    dlg->limpar_no_restaurar = true;
    executar("backup");
    EXPECT_EQ(dlg->avisos, QStringList{"O processo da limpeza foi concluído com sucesso !"});
    EXPECT_TRUE(QDir(pasta_backup()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(janela->temporizador_backup().isActive()); // restarted after the window
}

TEST_F(BackupTeste, NomesCujoArquivoFicaNaPastaSaoAceitos) {
    adicionar(QStringLiteral("4"));
    for (const char* n : {"..x", "...", ".x", "a..b"}) {
        dlg->avisos.clear();
        nome()->setText(QString::fromUtf8(n));
        chave()->click();
        EXPECT_TRUE(dlg->avisos.isEmpty()) << n;
        EXPECT_TRUE(chave()->isChecked()) << n;
        janela->bakupTimer();
        EXPECT_TRUE(dlg->avisos.isEmpty()) << n;
        chave()->click();
    }
    EXPECT_EQ(ler(pasta_backup() + QStringLiteral("/..qvlbackup")), QByteArray("4,00\r\n"));
    EXPECT_EQ(ler(pasta_backup() + QStringLiteral("/...qvlbackup")), QByteArray("4,00\r\n"));
    EXPECT_EQ(ler(pasta_backup() + QStringLiteral("/.qvlbackup")), QByteArray("4,00\r\n"));
    EXPECT_EQ(ler(pasta_backup() + QStringLiteral("/a..qvlbackup")), QByteArray("4,00\r\n"));
}

TEST_F(BackupTeste, PastaQueNaoPodeSerCriadaEAvisadaPeloNome) {
    // A plain file where the folder should be.
    const QString arquivo = pasta.filePath(QStringLiteral("Backup"));
    escrever(arquivo, "não é pasta");
    nome()->setText(QStringLiteral("x"));
    janela->bakupTimer();
    janela->bakupTimer();
    EXPECT_EQ(
        dlg->avisos,
        QStringList{
            QStringLiteral("Não foi possível criar a pasta %1: Não é uma pasta").arg(arquivo)});
    EXPECT_EQ(ler(arquivo), QByteArray("não é pasta"));
}

// A symbolic link where the backup file goes, leading to a file elsewhere or
// to nothing: the tick replaces the link and never writes through it.
TEST_F(BackupTeste, TiqueTrocaALigacaoSemEscreverForaDaPasta) {
    adicionar(QStringLiteral("2"));
    nome()->setText(QStringLiteral("malote"));
    ASSERT_TRUE(QDir().mkpath(pasta_backup()));
    const QString backup = pasta_backup() + QStringLiteral("/malote.qvlbackup");
    const QString inexistente = pasta.filePath(QStringLiteral("criado_pela_ligacao.txt"));
    escrever(fora(), "de outra pessoa\n");
    for (const QString& alvo : {fora(), inexistente}) {
        QFile::remove(backup);
        ASSERT_TRUE(QFile::link(alvo, backup));
        janela->bakupTimer();
        EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
        EXPECT_FALSE(QFileInfo(backup).isSymLink()) << alvo.toStdString();
        EXPECT_EQ(ler(backup), QByteArray("2,00\r\n"));
    }
    EXPECT_EQ(ler(fora()), QByteArray("de outra pessoa\n"));
    EXPECT_FALSE(QFileInfo::exists(inexistente));
}

TEST_F(BackupTeste, RestaurarNaoListaNemLeLigacoes) {
    ASSERT_TRUE(QDir().mkpath(pasta_backup()));
    escrever(pasta_backup() + QStringLiteral("/dia.qvlbackup"), "1,00\r\n");
    escrever(fora(), "5,00\r\n");
    ASSERT_TRUE(QFile::link(fora(), pasta_backup() + QStringLiteral("/fora.qvlbackup")));
    ASSERT_TRUE(QFile::link(pasta.filePath(QStringLiteral("nada")),
                            pasta_backup() + QStringLiteral("/pendente.qvlbackup")));
    adicionar(QStringLiteral("9"));
    executar("backup");
    EXPECT_EQ(dlg->nomes_backup, QStringList{"dia.qvlbackup"});
    // Even a link named as if chosen is not read.
    const QString ligacao = pasta_backup() + QStringLiteral("/fora.qvlbackup");
    dlg->backups = {QStringLiteral("fora.qvlbackup")};
    executar("backup");
    EXPECT_EQ(brutos(), QStringList{"9"});
    EXPECT_EQ(dlg->avisos,
              QStringList{QStringLiteral("O arquivo %1 não pôde ser aberto: É uma ligação "
                                         "simbólica, que não é seguida")
                              .arg(ligacao)});
    EXPECT_EQ(ler(fora()), QByteArray("5,00\r\n"));
}

// The Backup folder named by QUARVEL_PASTA_BACKUP holds other things too:
// clearing takes only the files Quarvel wrote there.
TEST_F(BackupTeste, LimparApagaSoOsArquivosDeBackup) {
    const QString meus = pasta.filePath(QStringLiteral("Meus"));
    qputenv("QUARVEL_PASTA_BACKUP", meus.toUtf8());
    ASSERT_TRUE(QDir().mkpath(meus + QStringLiteral("/cartas")));
    ASSERT_TRUE(QDir().mkpath(meus + QStringLiteral("/pasta.qvlbackup")));
    escrever(meus + QStringLiteral("/a.qvlbackup"), "1,00\r\n");
    escrever(meus + QStringLiteral("/.qvlbackup"), "2,00\r\n");
    escrever(meus + QStringLiteral("/recuperacao-2024-05-01-101010.qvl"), "[LER]\r\n");
    escrever(meus + QStringLiteral("/notas.txt"), "minhas notas");
    escrever(meus + QStringLiteral("/calculo.qvl"), "[LER]\r\n");
    escrever(meus + QStringLiteral("/cartas/b.qvlbackup"), "3,00\r\n");
    escrever(fora(), "de outra pessoa\n");
    ASSERT_TRUE(QFile::link(fora(), meus + QStringLiteral("/ligacao.qvlbackup")));
    dlg->limpar_no_restaurar = true;
    executar("backup");
    EXPECT_EQ(dlg->avisos, QStringList{"O processo da limpeza foi concluído com sucesso !"});
    EXPECT_EQ(
        QDir(meus).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name),
        (QStringList{"calculo.qvl", "cartas", "ligacao.qvlbackup", "notas.txt",
                     "pasta.qvlbackup"}));
    EXPECT_EQ(ler(meus + QStringLiteral("/cartas/b.qvlbackup")), QByteArray("3,00\r\n"));
    EXPECT_EQ(ler(fora()), QByteArray("de outra pessoa\n"));
}

TEST_F(BackupTeste, LimparNaoSegueUmaPastaBackupQueEUmaLigacao) {
    const QString alvo = pasta.filePath(QStringLiteral("alvo"));
    ASSERT_TRUE(QDir().mkpath(alvo));
    escrever(alvo + QStringLiteral("/a.qvlbackup"), "1,00\r\n");
    ASSERT_TRUE(QFile::link(alvo, pasta_backup()));
    dlg->limpar_no_restaurar = true;
    executar("backup");
    EXPECT_EQ(dlg->avisos,
              QStringList{QStringLiteral("Não foi possível limpar a pasta Backup: a pasta %1 é uma "
                                         "ligação simbólica, que não é seguida; nada foi apagado.")
                              .arg(pasta_backup())});
    EXPECT_EQ(ler(alvo + QStringLiteral("/a.qvlbackup")), QByteArray("1,00\r\n"));
    EXPECT_TRUE(QFileInfo(pasta_backup()).isSymLink());
}

// ---------------------------------------------------------------------------
// The interval that runs is the one the box shows, whatever the order in
// which the switch, the box and opened files change them.

enum class Passo {
    Ligar,
    Desligar,
    Escolher1,               // the user picks "1" in the box
    Escolher4,               // and "4"
    AbrirLigado3,            // a file with BACKUP=1, QTDETEMPO=2 ("3")
    AbrirLigado5,            // BACKUP=1, QTDETEMPO=4 ("5")
    AbrirLigadoSemIntervalo, // BACKUP=1 and no QTDETEMPO
    AbrirDesligado2,         // BACKUP=0, QTDETEMPO=1 ("2")
    Novo,
    Restaurar, // the restore window, closed with nothing chosen
};

struct Ordem {
    const char* nome;
    std::vector<Passo> passos;
    int minutos_no_fim; // 0: the timer stopped
};

void PrintTo(const Ordem& o, std::ostream* os) {
    *os << o.nome;
}

class OrdemDoIntervalo : public BackupTeste, public ::testing::WithParamInterface<Ordem> {
  protected:
    QComboBox* caixa() const { return filho<QComboBox>("qtdetempo"); }
    void abrir(const char* backup) {
        const QString arquivo = caminho("intervalo.qvl");
        escrever(arquivo, "[CONFIG]\r\n" + QByteArray(backup) +
                              "TEXTO_BACKUP=malote\r\n[LER]\r\nINICIO=100\r\nFIM=99\r\n");
        dlg->arquivos_abrir = {arquivo};
        dlg->respostas = {Dialogos::Resposta::Nao};
        executar("abrir");
    }
    void escolher(int indice) {
        caixa()->setCurrentIndex(indice);
        emit caixa()->activated(indice);
    }
    void dar(Passo p) {
        switch (p) {
        case Passo::Ligar:
            nome()->setText(QStringLiteral("malote"));
            if (!chave()->isChecked()) chave()->click();
            break;
        case Passo::Desligar:
            if (chave()->isChecked()) chave()->click();
            break;
        case Passo::Escolher1:
            escolher(0);
            break;
        case Passo::Escolher4:
            escolher(3);
            break;
        case Passo::AbrirLigado3:
            abrir("BACKUP=1\r\nQTDETEMPO=2\r\n");
            break;
        case Passo::AbrirLigado5:
            abrir("BACKUP=1\r\nQTDETEMPO=4\r\n");
            break;
        case Passo::AbrirLigadoSemIntervalo:
            abrir("BACKUP=1\r\n");
            break;
        case Passo::AbrirDesligado2:
            abrir("BACKUP=0\r\nQTDETEMPO=1\r\n");
            break;
        case Passo::Novo:
            dlg->respostas = {Dialogos::Resposta::Nao};
            executar("novo");
            break;
        case Passo::Restaurar:
            dlg->backups = {QString()};
            executar("backup");
            break;
        }
    }
};

TEST_P(OrdemDoIntervalo, OQueRodaEOQueACaixaMostra) {
    const Ordem& o = GetParam();
    const QTimer& t = janela->temporizador_backup();
    for (std::size_t i = 0; i < o.passos.size(); ++i) {
        dar(o.passos[i]);
        EXPECT_TRUE(dlg->avisos.isEmpty()) << "passo " << i;
        EXPECT_EQ(t.isActive(), chave()->isChecked()) << "passo " << i;
        if (t.isActive()) {
            EXPECT_EQ(t.interval(), (caixa()->currentIndex() + 1) * 60000) << "passo " << i;
        }
    }
    EXPECT_EQ(t.isActive() ? t.interval() / 60000 : 0, o.minutos_no_fim);
}

using P = Passo;
INSTANTIATE_TEST_SUITE_P(
    Backup, OrdemDoIntervalo,
    ::testing::Values(
        // The fault seen: box "3" from the file, timer still at the old "1".
        Ordem{"LigadaEntaoAbreOutroIntervalo", {P::Ligar, P::AbrirLigado3}, 3},
        Ordem{
            "LigadaEntaoAbreSemIntervalo", {P::Escolher4, P::Ligar, P::AbrirLigadoSemIntervalo}, 4},
        Ordem{"DesligadaEntaoAbreLigado", {P::Escolher4, P::AbrirLigado5}, 5},
        Ordem{"DesligadaAbreSemIntervalo", {P::Escolher4, P::AbrirLigadoSemIntervalo}, 4},
        Ordem{"LigadaEntaoAbreDesligado", {P::Ligar, P::AbrirDesligado2}, 0},
        Ordem{"AbreDesligadoLigaDepois", {P::AbrirDesligado2, P::Ligar}, 2},
        Ordem{"EscolheLigada", {P::Ligar, P::Escolher4}, 4},
        Ordem{"EscolheDesligadaLigaDepois", {P::Escolher4, P::Desligar, P::Ligar}, 4},
        Ordem{"AbreEscolheAbreDeNovo",
              {P::AbrirLigado3, P::Escolher1, P::AbrirLigado5, P::Escolher4, P::AbrirLigado3},
              3},
        Ordem{"RestauraDepoisDeAbrir", {P::Ligar, P::AbrirLigado5, P::Restaurar}, 5},
        Ordem{"NovoDepoisDeAbrirLigado", {P::AbrirLigado3, P::Novo, P::Ligar}, 1}),
    [](const ::testing::TestParamInfo<Ordem>& i) { return std::string(i.param.nome); });

} // namespace
} // namespace quarvel::app
