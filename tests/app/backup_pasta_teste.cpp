// The Backup folder seen from the window: the restore window looks and never
// makes it, naming it with the reason when it cannot be read or made; a
// failing tick warns once and shows in the status bar until one succeeds;
// one backup name, one window: two real windows in two processes.
#include "tests/app/janela_apoio.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStatusBar>

namespace quarvel::app {
namespace {

void escrever(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << caminho.toStdString();
    f.write(bytes);
}

QByteArray ler(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

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

class PastaNoRestaurar : public JanelaTeste, public ::testing::WithParamInterface<CasoPasta> {};

TEST_P(PastaNoRestaurar, SoOlhaENomeiaOMotivo) {
    const CasoPasta& c = GetParam();
    if (c.arquivo) escrever(pasta.filePath(QString::fromUtf8(c.arquivo)), "x");
    const QString backup = pasta.filePath(QString::fromUtf8(c.backup));
    qputenv("QUARVEL_PASTA_BACKUP", backup.toUtf8());
    const QStringList antes = QDir(pasta.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    executar("backup");
    EXPECT_EQ(dlg->aviso_backup, QString::fromUtf8(c.aviso).arg(backup));
    EXPECT_TRUE(dlg->nomes_backup.isEmpty());
    EXPECT_EQ(QDir(pasta.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), antes);
    EXPECT_FALSE(QDir(backup).exists());
}

INSTANTIATE_TEST_SUITE_P(Pastas, PastaNoRestaurar, ::testing::ValuesIn(kCasosPasta),
                         [](const ::testing::TestParamInfo<CasoPasta>& i) {
                             return std::string(i.param.nome);
                         });

class BackupFalhando : public JanelaTeste {
  protected:
    QLabel* estado() const { return filho<QLabel>("estado_backup"); }
};

TEST_F(BackupFalhando, AvisaUmaVezEMostraNaBarraAteFuncionar) {
    // A plain file where the Backup folder's parent should be.
    const QString bloqueio = pasta.filePath(QStringLiteral("bloqueio"));
    const QString backup = bloqueio + QStringLiteral("/Backup");
    qputenv("QUARVEL_PASTA_BACKUP", backup.toUtf8());
    adicionar(QStringLiteral("5"));
    filho<QLineEdit>("nome_arquivo")->setText(QStringLiteral("malote"));
    ASSERT_FALSE(estado()->isVisible());

    escrever(bloqueio, "x");
    const QString motivo =
        QStringLiteral("Não foi possível criar a pasta %1: Não é uma pasta").arg(backup);
    for (int tique = 0; tique < 3; ++tique) {
        janela->bakupTimer();
        EXPECT_EQ(dlg->avisos, QStringList{motivo}) << "tick " << tique;
        EXPECT_TRUE(estado()->isVisible()) << "tick " << tique;
        EXPECT_EQ(estado()->text(), QStringLiteral("Backup falhando: %1").arg(motivo));
    }
    ASSERT_TRUE(QFile::remove(bloqueio));
    janela->bakupTimer();
    EXPECT_FALSE(estado()->isVisible());
    EXPECT_EQ(ler(backup + QStringLiteral("/malote.qvlbackup")), QByteArray("5,00\r\n"));
    // A new run of failures warns again.
    ASSERT_TRUE(QDir(backup).removeRecursively());
    escrever(bloqueio + QStringLiteral("x"), "x");
    qputenv("QUARVEL_PASTA_BACKUP", (bloqueio + QStringLiteral("x/Backup")).toUtf8());
    janela->bakupTimer();
    EXPECT_EQ(dlg->avisos.size(), 2);
    EXPECT_TRUE(estado()->isVisible());
}

// One window driven through standard input (tests/app/janela_backup.cpp).
class Janela {
  public:
    explicit Janela(const QString& pasta_backup) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUARVEL_PASTA_BACKUP"), pasta_backup);
        p_.setProcessEnvironment(env);
        p_.start(QStringLiteral(QUARVEL_JANELA_BACKUP), {});
    }
    // The warnings the window showed for the command.
    QStringList enviar(const QString& comando) {
        p_.write((comando + QLatin1Char('\n')).toUtf8());
        QStringList avisos;
        for (;;) {
            while (!p_.canReadLine())
                if (!p_.waitForReadyRead(20000)) return {QStringLiteral("<sem resposta>")};
            const QString linha = QString::fromUtf8(p_.readLine()).chopped(1);
            if (linha == QLatin1String("ok")) return avisos;
            avisos << linha;
        }
    }
    void matar() {
        p_.kill(); // SIGKILL: it never gets to let its lock go itself
        p_.waitForFinished();
    }

  private:
    QProcess p_;
};

TEST(DuasJanelas, MesmoNomeDeBackupSoNumaJanela) {
    QTemporaryDir tmp;
    const QString backup = tmp.filePath(QStringLiteral("Backup"));
    const QString arquivo = backup + QStringLiteral("/malote.qvlbackup");
    Janela primeira(backup), segunda(backup);
    EXPECT_TRUE(primeira.enviar(QStringLiteral("valor 1")).isEmpty());
    EXPECT_TRUE(primeira.enviar(QStringLiteral("ligar malote.dia")).isEmpty());
    EXPECT_TRUE(primeira.enviar(QStringLiteral("tique")).isEmpty());
    ASSERT_EQ(ler(arquivo), QByteArray("1,00\r\n"));

    const QString em_uso = QStringLiteral("O backup %1 já está sendo feito por outra janela do "
                                          "Quarvel. Escolha outro nome de arquivo.")
                               .arg(arquivo);
    EXPECT_TRUE(segunda.enviar(QStringLiteral("valor 2")).isEmpty());
    EXPECT_EQ(segunda.enviar(QStringLiteral("ligar malote")), QStringList{em_uso});
    // Even a tick with the name typed leaves the first window's backup.
    EXPECT_EQ(segunda.enviar(QStringLiteral("tique")), QStringList{em_uso});
    EXPECT_EQ(ler(arquivo), QByteArray("1,00\r\n"));

    // The first window dies: its hold goes with it.
    primeira.matar();
    EXPECT_TRUE(segunda.enviar(QStringLiteral("ligar malote")).isEmpty());
    EXPECT_TRUE(segunda.enviar(QStringLiteral("tique")).isEmpty());
    EXPECT_EQ(ler(arquivo), QByteArray("2,00\r\n"));
}

} // namespace
} // namespace quarvel::app
