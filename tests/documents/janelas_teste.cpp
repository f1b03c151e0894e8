// The loading and restore windows.
#include "documents/frm_restaurar.h"
#include "espera/frm_loading.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

using quarvel::documents::FormLoading;
using quarvel::documents::FormRestaurar;

TEST(FormLoading, DesativaEReativaExatamenteAsOutras) {
    QWidget principal, ja_desativada;
    ja_desativada.setEnabled(false);
    principal.show();
    ja_desativada.show();
    {
        FormLoading f(&principal);
        f.iniciar();
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(f.isEnabled());
        EXPECT_FALSE(principal.isEnabled());
        EXPECT_FALSE(ja_desativada.isEnabled());
        EXPECT_EQ(f.size(), QSize(297, 83));
        EXPECT_NE(f.findChild<QWidget*>("progresso"), nullptr);
    }
    EXPECT_TRUE(principal.isEnabled());
    EXPECT_FALSE(ja_desativada.isEnabled()); // was off before, stays off
}

TEST(FormLoading, AltF4Cancela) {
    QWidget principal;
    principal.show();
    auto f = std::make_unique<FormLoading>(&principal);
    f->iniciar();
    EXPECT_FALSE(f->cancelado());

    QKeyEvent f4(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
    QApplication::sendEvent(f.get(), &f4);
    EXPECT_FALSE(f->cancelado()); // F4 alone is nothing

    QKeyEvent alt_f4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QApplication::sendEvent(f.get(), &alt_f4);
    EXPECT_TRUE(f->cancelado());
    EXPECT_TRUE(f->isVisible());
}

TEST(FormLoading, FecharPeloGerenciadorCancelaSemFechar) {
    QWidget principal;
    principal.show();
    FormLoading f(&principal);
    f.iniciar();
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.cancelado());
    EXPECT_TRUE(f.isVisible());
}

TEST(FormLoading, PulsarSemJanelaVisivelNaoFalha) {
    QWidget outra;
    outra.show();
    FormLoading f(nullptr);
    for (int i = 0; i < 1000; ++i)
        f.pulsar();
    // Before iniciar() the pulses show nothing, disable nothing, cancel nothing.
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(outra.isEnabled());
    EXPECT_FALSE(f.cancelado());
    // And the window still starts as usual afterwards.
    f.iniciar();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(outra.isEnabled());
}

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
