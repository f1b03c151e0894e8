// The restore window.
#include "backup/frm_restaurar.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using quarvel::backup::FormRestaurar;

TEST(FormRestaurar, ListaVaziaDesativaLimpar) {
    FormRestaurar vazio({}, [] {});
    EXPECT_FALSE(vazio.bot_limpar()->isEnabled());
    EXPECT_TRUE(vazio.escolhido().isEmpty());

    FormRestaurar cheio({"a.qvlbackup"}, [] {});
    EXPECT_TRUE(cheio.bot_limpar()->isEnabled());
}

TEST(FormRestaurar, NomesEControles) {
    FormRestaurar f({"a.qvlbackup", "b.qvlbackup"}, [] {});
    EXPECT_EQ(f.objectName(), "form_restaurar");
    EXPECT_EQ(f.windowTitle(), "Restaurar / Limpar Backup");
    EXPECT_EQ(f.lista()->objectName(), "lista");
    EXPECT_EQ(f.lista()->count(), 2);
    EXPECT_EQ(f.bot_limpar()->objectName(), "bot_limpar");
    EXPECT_EQ(f.bot_limpar()->text(), "&Limpar a pasta Backup");
    auto* ok = f.findChild<QPushButton*>("BT_OK");
    auto* cancelar = f.findChild<QPushButton*>("BT_CANCEL");
    ASSERT_TRUE(ok && cancelar);
    EXPECT_EQ(cancelar->text(), "Cancelar");
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    bool achou = false;
    for (QLabel* l : f.findChildren<QLabel*>())
        achou |= l->text().endsWith("clicando no botão \"Limpar a  pasta backup\"");
    EXPECT_TRUE(achou);
}

// The folder it lists, the home folder written "~"; in full for a screen
// reader and in the tip.
TEST(FormRestaurar, MostraAPastaDoBackup) {
    const QByteArray casa = qgetenv("HOME"), forcada = qgetenv("QUARVEL_PASTA_BACKUP");
    qputenv("HOME", "/home/ana");
    qputenv("QUARVEL_PASTA_BACKUP", "/home/ana/caixa/Backup");
    FormRestaurar f({"a.qvlbackup"}, [] {});
    qputenv("HOME", casa);
    if (forcada.isNull())
        qunsetenv("QUARVEL_PASTA_BACKUP");
    else
        qputenv("QUARVEL_PASTA_BACKUP", forcada);
    EXPECT_EQ(f.pasta()->text(), "Pasta: ~/caixa/Backup");
    EXPECT_EQ(f.pasta()->toolTip(), "/home/ana/caixa/Backup");
    EXPECT_EQ(f.pasta()->accessibleName(), "pasta dos backups: /home/ana/caixa/Backup");
    EXPECT_FALSE(f.pasta()->isHidden());
    EXPECT_LE(f.pasta()->geometry().bottom(), f.lista()->parentWidget()->geometry().top());
}

TEST(FormRestaurar, LimparChamaERejeita) {
    int chamadas = 0;
    FormRestaurar f({"a.qvlbackup"}, [&] { ++chamadas; });
    f.setResult(QDialog::Accepted);
    f.show();
    f.bot_limpar()->click();
    EXPECT_EQ(chamadas, 1);
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_FALSE(f.isVisible());
}

TEST(FormRestaurar, Escolhido) {
    FormRestaurar f({"a.qvlbackup", "malote.qvlbackup"}, [] {});
    EXPECT_TRUE(f.escolhido().isEmpty());
    f.lista()->setCurrentRow(1);
    EXPECT_EQ(f.escolhido(), "malote.qvlbackup");
    f.show();
    f.findChild<QPushButton*>("BT_OK")->click();
    EXPECT_EQ(f.result(), QDialog::Accepted);
}
