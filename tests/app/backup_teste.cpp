// The automatic backup: the switch and its refusals, the tick, and the
// restore window's restore and clear.
#include "tests/app/janela_apoio.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>

namespace quarvel::app {
namespace {

QByteArray ler(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class BackupTeste : public JanelaTeste {
  protected:
    QCheckBox* chave() const { return filho<QCheckBox>("d01"); }
    QLineEdit* nome() const { return filho<QLineEdit>("nome_arquivo"); }
    QString pasta_backup() const { return pasta.filePath(QStringLiteral("Backup")); }
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

} // namespace
} // namespace quarvel::app
