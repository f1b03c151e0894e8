// The automatic backup over its narrow context: the switch and its refusals,
// the tick, the restore window's restore and clear, and the Backup folder
// the restore looks at without making it.
#include "tests/documents/comandos_apoio.h"

#include <QDir>
#include <QFileInfo>

namespace quarvel::backup {
namespace {

using testes::escrever_arquivo;
using testes::ler_arquivo;

class BackupTeste : public documents::ComandosTeste {
  protected:
    QCheckBox* chave() const { return d01; }
    QLineEdit* nome() const { return nome_arquivo; }
    // A file outside the Backup folder that nothing may touch.
    QString fora() const { return caminho("fora.txt"); }
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
        qtdetempo->setCurrentIndex(c.intervalo);
        chave()->click();
        EXPECT_EQ(dlg->avisos, QStringList{QString::fromUtf8(c.aviso)}) << c.nome;
        EXPECT_FALSE(chave()->isChecked()) << c.nome;
        EXPECT_FALSE(comandos_backup.temporizador().isActive()) << c.nome;
    }
}

TEST_F(BackupTeste, ChaveLigadaRodaOTemporizadorNoIntervalo) {
    nome()->setText(QStringLiteral("malote.dia"));
    qtdetempo->setCurrentIndex(1);
    chave()->click();
    EXPECT_TRUE(dlg->avisos.isEmpty());
    EXPECT_TRUE(comandos_backup.temporizador().isActive());
    EXPECT_EQ(comandos_backup.temporizador().interval(), 2 * 60000);
    chave()->click();
    EXPECT_FALSE(comandos_backup.temporizador().isActive());
}

TEST_F(BackupTeste, CadaTiqueGravaAsLinhasDaFita) {
    for (const char* v : {"10/3", "5"})
        adicionar(QString::fromLatin1(v));
    nome()->setText(QStringLiteral("malote.dia"));
    chave()->click();
    tique_backup();
    EXPECT_EQ(ler_arquivo(pasta_backup() + QStringLiteral("/malote.qvlbackup")),
              QByteArray("3,33\r\n5,00\r\n"));
    adicionar(QStringLiteral("1"));
    tique_backup();
    EXPECT_EQ(ler_arquivo(pasta_backup() + QStringLiteral("/malote.qvlbackup")),
              QByteArray("3,33\r\n5,00\r\n1,00\r\n"));
}

TEST_F(BackupTeste, FalhaAoGravarAvisaUmaVezSo) {
    adicionar(QStringLiteral("1"));
    nome()->setText(QStringLiteral("malote"));
    chave()->click();
    // A folder where the file should be makes every write fail.
    ASSERT_TRUE(QDir().mkpath(pasta_backup() + QStringLiteral("/malote.qvlbackup")));
    tique_backup();
    tique_backup();
    EXPECT_EQ(dlg->avisos.size(), 1);
}

TEST_F(BackupTeste, RestaurarTrocaSoAFita) {
    QDir().mkpath(pasta_backup());
    QFile f(pasta_backup() + QStringLiteral("/dia.qvlbackup"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1,00\r\n2,50\r\n");
    f.close();
    adicionar(QStringLiteral("9"));
    cabecalho->setText(QStringLiteral("fica"));
    dlg->backups = {QStringLiteral("dia.qvlbackup")};
    comandos_backup.restaurar();
    EXPECT_EQ(dlg->nomes_backup, QStringList{"dia.qvlbackup"});
    EXPECT_EQ(brutos(), (QStringList{"1", "2,5"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 3,50"));
    EXPECT_EQ(cabecalho->text(), QStringLiteral("fica"));
    // Nothing chosen: the tape stays.
    comandos_backup.restaurar();
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
    comandos_backup.restaurar();
    EXPECT_EQ(dlg->avisos, QStringList{"O processo da limpeza foi concluído com sucesso !"});
    EXPECT_TRUE(QDir(pasta_backup()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(comandos_backup.temporizador().isActive()); // restarted after the window
}

TEST_F(BackupTeste, NomesCujoArquivoFicaNaPastaSaoAceitos) {
    adicionar(QStringLiteral("4"));
    for (const char* n : {"..x", "...", ".x", "a..b"}) {
        dlg->avisos.clear();
        nome()->setText(QString::fromUtf8(n));
        chave()->click();
        EXPECT_TRUE(dlg->avisos.isEmpty()) << n;
        EXPECT_TRUE(chave()->isChecked()) << n;
        tique_backup();
        EXPECT_TRUE(dlg->avisos.isEmpty()) << n;
        chave()->click();
    }
    EXPECT_EQ(ler_arquivo(pasta_backup() + QStringLiteral("/..qvlbackup")), QByteArray("4,00\r\n"));
    EXPECT_EQ(ler_arquivo(pasta_backup() + QStringLiteral("/...qvlbackup")),
              QByteArray("4,00\r\n"));
    EXPECT_EQ(ler_arquivo(pasta_backup() + QStringLiteral("/.qvlbackup")), QByteArray("4,00\r\n"));
    EXPECT_EQ(ler_arquivo(pasta_backup() + QStringLiteral("/a..qvlbackup")),
              QByteArray("4,00\r\n"));
}

TEST_F(BackupTeste, PastaQueNaoPodeSerCriadaEAvisadaPeloNome) {
    // A plain file where the folder should be.
    const QString arquivo = pasta_backup();
    escrever_arquivo(arquivo, "não é pasta");
    nome()->setText(QStringLiteral("x"));
    tique_backup();
    tique_backup();
    EXPECT_EQ(
        dlg->avisos,
        QStringList{
            QStringLiteral("Não foi possível criar a pasta %1: Não é uma pasta").arg(arquivo)});
    EXPECT_EQ(ler_arquivo(arquivo), QByteArray("não é pasta"));
}

// A symbolic link where the backup file goes, leading to a file elsewhere or
// to nothing: the tick replaces the link and never writes through it.
TEST_F(BackupTeste, TiqueTrocaALigacaoSemEscreverForaDaPasta) {
    adicionar(QStringLiteral("2"));
    nome()->setText(QStringLiteral("malote"));
    ASSERT_TRUE(QDir().mkpath(pasta_backup()));
    const QString backup = pasta_backup() + QStringLiteral("/malote.qvlbackup");
    const QString inexistente = pasta.filePath(QStringLiteral("criado_pela_ligacao.txt"));
    escrever_arquivo(fora(), "de outra pessoa\n");
    for (const QString& alvo : {fora(), inexistente}) {
        QFile::remove(backup);
        ASSERT_TRUE(QFile::link(alvo, backup));
        tique_backup();
        EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
        EXPECT_FALSE(QFileInfo(backup).isSymLink()) << alvo.toStdString();
        EXPECT_EQ(ler_arquivo(backup), QByteArray("2,00\r\n"));
    }
    EXPECT_EQ(ler_arquivo(fora()), QByteArray("de outra pessoa\n"));
    EXPECT_FALSE(QFileInfo::exists(inexistente));
}

TEST_F(BackupTeste, RestaurarNaoListaNemLeLigacoes) {
    ASSERT_TRUE(QDir().mkpath(pasta_backup()));
    escrever_arquivo(pasta_backup() + QStringLiteral("/dia.qvlbackup"), "1,00\r\n");
    escrever_arquivo(fora(), "5,00\r\n");
    ASSERT_TRUE(QFile::link(fora(), pasta_backup() + QStringLiteral("/fora.qvlbackup")));
    ASSERT_TRUE(QFile::link(pasta.filePath(QStringLiteral("nada")),
                            pasta_backup() + QStringLiteral("/pendente.qvlbackup")));
    adicionar(QStringLiteral("9"));
    comandos_backup.restaurar();
    EXPECT_EQ(dlg->nomes_backup, QStringList{"dia.qvlbackup"});
    // Even a link named as if chosen is not read.
    const QString ligacao = pasta_backup() + QStringLiteral("/fora.qvlbackup");
    dlg->backups = {QStringLiteral("fora.qvlbackup")};
    comandos_backup.restaurar();
    EXPECT_EQ(brutos(), QStringList{"9"});
    EXPECT_EQ(dlg->avisos,
              QStringList{QStringLiteral("O arquivo %1 não pôde ser aberto: É uma ligação "
                                         "simbólica, que não é seguida")
                              .arg(ligacao)});
    EXPECT_EQ(ler_arquivo(fora()), QByteArray("5,00\r\n"));
}

// The Backup folder named by QUARVEL_PASTA_BACKUP holds other things too:
// clearing takes only the files Quarvel wrote there.
TEST_F(BackupTeste, LimparApagaSoOsArquivosDeBackup) {
    const QString meus = pasta.filePath(QStringLiteral("Meus"));
    qputenv("QUARVEL_PASTA_BACKUP", meus.toUtf8());
    ASSERT_TRUE(QDir().mkpath(meus + QStringLiteral("/cartas")));
    ASSERT_TRUE(QDir().mkpath(meus + QStringLiteral("/pasta.qvlbackup")));
    escrever_arquivo(meus + QStringLiteral("/a.qvlbackup"), "1,00\r\n");
    escrever_arquivo(meus + QStringLiteral("/.qvlbackup"), "2,00\r\n");
    escrever_arquivo(meus + QStringLiteral("/recuperacao-2024-05-01-101010.qvl"), "[LER]\r\n");
    escrever_arquivo(meus + QStringLiteral("/notas.txt"), "minhas notas");
    escrever_arquivo(meus + QStringLiteral("/calculo.qvl"), "[LER]\r\n");
    escrever_arquivo(meus + QStringLiteral("/cartas/b.qvlbackup"), "3,00\r\n");
    escrever_arquivo(fora(), "de outra pessoa\n");
    ASSERT_TRUE(QFile::link(fora(), meus + QStringLiteral("/ligacao.qvlbackup")));
    dlg->limpar_no_restaurar = true;
    comandos_backup.restaurar();
    EXPECT_EQ(dlg->avisos, QStringList{"O processo da limpeza foi concluído com sucesso !"});
    EXPECT_EQ(
        QDir(meus).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name),
        (QStringList{"calculo.qvl", "cartas", "ligacao.qvlbackup", "notas.txt",
                     "pasta.qvlbackup"}));
    EXPECT_EQ(ler_arquivo(meus + QStringLiteral("/cartas/b.qvlbackup")), QByteArray("3,00\r\n"));
    EXPECT_EQ(ler_arquivo(fora()), QByteArray("de outra pessoa\n"));
}

TEST_F(BackupTeste, LimparNaoSegueUmaPastaBackupQueEUmaLigacao) {
    const QString alvo = pasta.filePath(QStringLiteral("alvo"));
    ASSERT_TRUE(QDir().mkpath(alvo));
    escrever_arquivo(alvo + QStringLiteral("/a.qvlbackup"), "1,00\r\n");
    ASSERT_TRUE(QFile::link(alvo, pasta_backup()));
    dlg->limpar_no_restaurar = true;
    comandos_backup.restaurar();
    EXPECT_EQ(dlg->avisos,
              QStringList{QStringLiteral("Não foi possível limpar a pasta Backup: a pasta %1 é uma "
                                         "ligação simbólica, que não é seguida; nada foi apagado.")
                              .arg(pasta_backup())});
    EXPECT_EQ(ler_arquivo(alvo + QStringLiteral("/a.qvlbackup")), QByteArray("1,00\r\n"));
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
    QComboBox* caixa() const { return qtdetempo; }
    void abrir(const char* config) {
        const QString arquivo = caminho("intervalo.qvl");
        escrever_arquivo(arquivo, "[CONFIG]\r\n" + QByteArray(config) +
                                      "TEXTO_BACKUP=malote\r\n[LER]\r\nINICIO=100\r\nFIM=99\r\n");
        dlg->arquivos_abrir = {arquivo};
        dlg->respostas = {Resposta::Nao};
        comandos_documento.abrir();
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
            dlg->respostas = {Resposta::Nao};
            comandos_documento.novo();
            break;
        case Passo::Restaurar:
            dlg->backups = {QString()};
            comandos_backup.restaurar();
            break;
        }
    }
};

TEST_P(OrdemDoIntervalo, OQueRodaEOQueACaixaMostra) {
    const Ordem& o = GetParam();
    const QTimer& t = comandos_backup.temporizador();
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

// ---------------------------------------------------------------------------
// The Backup folder seen from the restore window: it looks and never makes
// it, naming it with the reason when it cannot be read or made.

struct CasoPasta {
    const char* nome;
    const char* backup;  // QUARVEL_PASTA_BACKUP, under the test's folder
    const char* arquivo; // a plain file made there first, or nullptr
    const char* aviso;   // what the restore window says, %1 the folder
};

const CasoPasta kCasosPasta[] = {
    // Missing but it can be made: nothing to say, and nothing is made.
    {"Inexistente", "sub/Backup", nullptr, ""},
    {"UmArquivoNoCaminho", "arquivo/Backup", "arquivo",
     "Não foi possível criar a pasta %1: Não é uma pasta"},
    {"UmArquivoNoLugar", "Backup", "Backup", "Não foi possível ler a pasta %1: Não é uma pasta"},
};

class PastaNoRestaurar : public documents::ComandosTeste,
                         public ::testing::WithParamInterface<CasoPasta> {};

TEST_P(PastaNoRestaurar, SoOlhaENomeiaOMotivo) {
    const CasoPasta& c = GetParam();
    if (c.arquivo) escrever_arquivo(caminho(c.arquivo), "x");
    const QString pasta_nomeada = caminho(c.backup);
    qputenv("QUARVEL_PASTA_BACKUP", pasta_nomeada.toUtf8());
    const QStringList antes = QDir(pasta.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    comandos_backup.restaurar();
    EXPECT_EQ(dlg->aviso_backup, QString::fromUtf8(c.aviso).arg(pasta_nomeada));
    EXPECT_TRUE(dlg->nomes_backup.isEmpty());
    EXPECT_EQ(QDir(pasta.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), antes);
    EXPECT_FALSE(QDir(pasta_nomeada).exists());
}

INSTANTIATE_TEST_SUITE_P(Pastas, PastaNoRestaurar, ::testing::ValuesIn(kCasosPasta),
                         [](const ::testing::TestParamInfo<CasoPasta>& i) {
                             return std::string(i.param.nome);
                         });

// A failing tick warns once and tells its state (the window's status bar)
// until one goes through; a new run of failures warns again.
TEST_F(BackupTeste, FalhandoAvisaUmaVezEDizOEstadoAteFuncionar) {
    // A plain file where the Backup folder's parent should be.
    const QString bloqueio = caminho("bloqueio");
    const QString pasta_nomeada = bloqueio + QStringLiteral("/Backup");
    qputenv("QUARVEL_PASTA_BACKUP", pasta_nomeada.toUtf8());
    adicionar(QStringLiteral("5"));
    nome()->setText(QStringLiteral("malote"));
    ASSERT_TRUE(estado_backup.isEmpty());

    escrever_arquivo(bloqueio, "x");
    const QString motivo =
        QStringLiteral("Não foi possível criar a pasta %1: Não é uma pasta").arg(pasta_nomeada);
    for (int tique = 0; tique < 3; ++tique) {
        tique_backup();
        EXPECT_EQ(dlg->avisos, QStringList{motivo}) << "tick " << tique;
        EXPECT_EQ(estado_backup, QStringLiteral("Backup falhando: %1").arg(motivo))
            << "tick " << tique;
    }
    ASSERT_TRUE(QFile::remove(bloqueio));
    tique_backup();
    EXPECT_TRUE(estado_backup.isEmpty());
    EXPECT_EQ(ler_arquivo(pasta_nomeada + QStringLiteral("/malote.qvlbackup")),
              QByteArray("5,00\r\n"));
    // A new run of failures warns again.
    ASSERT_TRUE(QDir(pasta_nomeada).removeRecursively());
    escrever_arquivo(bloqueio + QStringLiteral("x"), "x");
    qputenv("QUARVEL_PASTA_BACKUP", (bloqueio + QStringLiteral("x/Backup")).toUtf8());
    tique_backup();
    EXPECT_EQ(dlg->avisos.size(), 2);
    EXPECT_FALSE(estado_backup.isEmpty());
}

TEST_F(BackupTeste, NomesDeBackupQueSaemDaPastaSaoRecusados) {
    for (const char* n : {"../../x", "/etc/passwd", "..\\..\\x", "a\nb", "..", "."}) {
        dlg->avisos.clear();
        nome()->setText(QString::fromUtf8(n));
        chave()->click();
        EXPECT_FALSE(chave()->isChecked()) << n;
        ASSERT_EQ(dlg->avisos.size(), 1) << n;
        EXPECT_TRUE(
            dlg->avisos[0].startsWith(QStringLiteral("Nome de arquivo de backup inválido: ")))
            << n;
    }
    EXPECT_FALSE(QFile::exists(caminho("x.qvlbackup")));
}

} // namespace
} // namespace quarvel::backup
