// The Backup folder seen from the window: a failing tick shows in the status
// bar until one succeeds; one backup name, one window: two real windows in
// two processes. The backup command itself is tested in
// tests/backup/comandos_backup_teste.cpp.
#include "backup/pasta_backup.h"
#include "documents/mensagens.h"
#include "tests/apoio/arquivos.h"
#include "tests/app/janela_apoio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QProcess>
#include <QStatusBar>

namespace quarvel::app {
namespace {

using testes::escrever_arquivo;
using testes::ler_arquivo;

class BackupFalhando : public JanelaTeste {
  protected:
    QLabel* estado() const { return filho<QLabel>("estado_backup"); }
};

TEST_F(BackupFalhando, EstadoNaBarraAteFuncionar) {
    // A plain file where the Backup folder's parent should be.
    const QString bloqueio = pasta.filePath(QStringLiteral("bloqueio"));
    const QString backup = bloqueio + QStringLiteral("/Backup");
    qputenv("QUARVEL_PASTA_BACKUP", backup.toUtf8());
    adicionar(QStringLiteral("5"));
    filho<QLineEdit>("nome_arquivo")->setText(QStringLiteral("malote"));
    ASSERT_FALSE(estado()->isVisible());

    escrever_arquivo(bloqueio, "x");
    const QString motivo =
        QStringLiteral("Não foi possível criar a pasta %1: Não é uma pasta").arg(backup);
    tique_backup(); // the folder fails before anything is handed to the writer
    EXPECT_EQ(dlg->avisos, QStringList{motivo});
    EXPECT_TRUE(estado()->isVisible());
    EXPECT_EQ(estado()->text(), QStringLiteral("Backup falhando: %1").arg(motivo));
    ASSERT_TRUE(QFile::remove(bloqueio));
    tique_backup();
    esperar_que([&] { return !estado()->isVisible(); });
    EXPECT_EQ(ler_arquivo(backup + QStringLiteral("/malote.qvlbackup")), QByteArray("5,00\r\n"));
}

// What the Backup box says of where a backup is saved, for each folder the
// backups can go to (HOME is /home/ana; the folder gets 194 pixels of the box).
struct CasoNota {
    const char* nome;
    QString pasta;     // the folder in use; empty: none
    QString nota;      // "" for the note beside the program
    int largura = 194; // negative: the whole folder, as a screen reader gets it
};

class NotaDoBackup : public ::testing::TestWithParam<CasoNota> {};

TEST_P(NotaDoBackup, NomeiaAPastaUsada) {
    const CasoNota& c = GetParam();
    const QByteArray casa = qgetenv("HOME");
    qputenv("HOME", "/home/ana");
    const QFontMetrics medida(QFont(QStringLiteral("Arial"), 7));
    const QString pasta = c.pasta == QLatin1String("<programa>")
                              ? QCoreApplication::applicationDirPath() + QStringLiteral("/Backup")
                              : c.pasta;
    const QString nota = backup::nota_pasta_backup(pasta, medida, c.largura);
    qputenv("HOME", casa);
    if (c.nota.isEmpty()) {
        EXPECT_EQ(nota, QString::fromUtf8(documents::kNotaBackupJunto));
    } else {
        EXPECT_EQ(nota, c.nota);
        if (nota.contains(QLatin1Char('\n')) && c.largura >= 0) { // the folder's line fits
            EXPECT_LE(medida.horizontalAdvance(nota.section(QLatin1Char('\n'), -1)), c.largura);
        }
    }
}

const QString kLonga =
    QStringLiteral("/srv/") + QString(60, QLatin1Char('x')) + QStringLiteral("/Backup");

INSTANTIATE_TEST_SUITE_P(
    Pastas, NotaDoBackup,
    ::testing::Values(
        CasoNota{"ao_lado_do_programa", QStringLiteral("<programa>"), {}},
        CasoNota{
            "dados_do_usuario", QStringLiteral("/home/ana/.local/share/Quarvel/Backup"),
            QStringLiteral("Este arquivo será salvo na pasta:\n~/.local/share/Quarvel/Backup")},
        CasoNota{"fora_da_casa", QStringLiteral("/srv/caixa/Backup"),
                 QStringLiteral("Este arquivo será salvo na pasta:\n/srv/caixa/Backup")},
        CasoNota{"longa_cortada_no_meio", kLonga,
                 QStringLiteral("Este arquivo será salvo na pasta:\n") +
                     QFontMetrics(QFont(QStringLiteral("Arial"), 7))
                         .elidedText(kLonga, Qt::ElideMiddle, 194)},
        CasoNota{"longa_inteira_para_o_leitor", kLonga,
                 QStringLiteral("Este arquivo será salvo na pasta:\n") + kLonga, -1},
        CasoNota{"sem_pasta", {}, QString::fromUtf8(documents::kPastaIndefinida)}),
    [](const ::testing::TestParamInfo<CasoNota>& i) { return std::string(i.param.nome); });

// The window's Backup box names the folder its backups go to.
TEST_F(JanelaTeste, NotaDoBackupNomeiaAPasta) {
    auto* nota = filho<QLabel>("nota_backup");
    ASSERT_NE(nota, nullptr);
    const QString backup = pasta.filePath(QStringLiteral("Backup"));
    EXPECT_TRUE(nota->text().startsWith(QStringLiteral("Este arquivo será salvo na pasta:\n")))
        << nota->text().toStdString();
    EXPECT_EQ(nota->toolTip(), backup);
    EXPECT_TRUE(nota->accessibleName().contains(QStringLiteral(":\n") + backup))
        << nota->accessibleName().toStdString();
    EXPECT_TRUE(nota->text().endsWith(
        QStringLiteral("selecione através do menu Edições | Restaurar / Limpar Backup, o nome do "
                       "arquivo desejado")));
}

// One window driven through standard input (tests/app/janela_backup.cpp),
// its journal in `dados`: a window killed here leaves its journal behind,
// and no later window may find it there and offer it back.
class Janela {
  public:
    Janela(const QString& pasta_backup, const QString& dados) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUARVEL_PASTA_BACKUP"), pasta_backup);
        env.insert(QStringLiteral("XDG_DATA_HOME"), dados);
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

// A tick's write goes on behind the window: its file, once it holds `bytes`,
// or after 5 s.
void esperar_arquivo(const QString& arquivo, const QByteArray& bytes) {
    (void)QTest::qWaitFor([&] { return ler_arquivo(arquivo) == bytes; }, 5000);
}

TEST(DuasJanelas, MesmoNomeDeBackupSoNumaJanela) {
    QTemporaryDir tmp;
    const QString backup = tmp.filePath(QStringLiteral("Backup"));
    const QString arquivo = backup + QStringLiteral("/malote.qvlbackup");
    const QString dados = tmp.filePath(QStringLiteral("dados"));
    Janela primeira(backup, dados), segunda(backup, dados);
    EXPECT_TRUE(primeira.enviar(QStringLiteral("valor 1")).isEmpty());
    EXPECT_TRUE(primeira.enviar(QStringLiteral("ligar malote.dia")).isEmpty());
    EXPECT_TRUE(primeira.enviar(QStringLiteral("tique")).isEmpty());
    esperar_arquivo(arquivo, "1,00\r\n");
    ASSERT_EQ(ler_arquivo(arquivo), QByteArray("1,00\r\n"));

    const QString em_uso = QStringLiteral("O backup %1 já está sendo feito por outra janela do "
                                          "Quarvel. Escolha outro nome de arquivo.")
                               .arg(arquivo);
    EXPECT_TRUE(segunda.enviar(QStringLiteral("valor 2")).isEmpty());
    EXPECT_EQ(segunda.enviar(QStringLiteral("ligar malote")), QStringList{em_uso});
    // Even a tick with the name typed leaves the first window's backup.
    EXPECT_EQ(segunda.enviar(QStringLiteral("tique")), QStringList{em_uso});
    EXPECT_EQ(ler_arquivo(arquivo), QByteArray("1,00\r\n"));

    // The first window dies: its hold goes with it.
    primeira.matar();
    EXPECT_TRUE(segunda.enviar(QStringLiteral("ligar malote")).isEmpty());
    EXPECT_TRUE(segunda.enviar(QStringLiteral("tique")).isEmpty());
    esperar_arquivo(arquivo, "2,00\r\n");
    EXPECT_EQ(ler_arquivo(arquivo), QByteArray("2,00\r\n"));
}

} // namespace
} // namespace quarvel::app
