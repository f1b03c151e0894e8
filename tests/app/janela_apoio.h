#pragma once
// A main window with scripted dialogs, shown offscreen, and small helpers to
// reach its controls by their names.
#include "app/frm_principal.h"
#include "tests/apoio/ativar_qt.h"
#include "tests/apoio/impressao_qt.h"
#include "tests/apoio/lista_qt.h"
#include "tests/app/dialogos_roteiro.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace quarvel::app {

class JanelaTeste : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pasta.isValid());
        qputenv("QUARVEL_PASTA_BACKUP", pasta.filePath(QStringLiteral("Backup")).toUtf8());
        // The session journals too, apart from the user's.
        qputenv("XDG_DATA_HOME", pasta.filePath(QStringLiteral("dados")).toUtf8());
        auto d = std::make_unique<DialogosRoteiro>();
        dlg = d.get();
        janela = std::make_unique<FormPrincipal>(std::move(d), arquivo_inicial());
        janela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
        ASSERT_TRUE(testes::ativar(janela.get()));
        campo()->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        // Closing would ask about unsaved changes; the tests end without it.
        janela.reset();
    }
    virtual QString arquivo_inicial() { return {}; }

    template <class T = QWidget> T* filho(const char* nome) const {
        return janela->findChild<T*>(QString::fromLatin1(nome));
    }
    QLineEdit* campo() const { return filho<QLineEdit>("texto_valor"); }
    QString total() const { return filho<QLabel>("valor_final")->text(); }
    QString extenso() const { return filho<QLabel>("valor_leitor")->text(); }
    QStringList linhas() const { return testes::lista_qt(janela->fita().linhas()); }
    QStringList brutos() const { return testes::lista_qt(janela->fita().brutos()); }
    // A command's action by its name (the action's objectName).
    QAction* acao(const char* comando) const {
        auto* a =
            janela->findChild<QAction*>(QString::fromLatin1(comando), Qt::FindDirectChildrenOnly);
        if (!a) ADD_FAILURE() << "no command " << comando;
        return a;
    }
    // Runs a command as its menu item would, rules evaluated first.
    void executar(const char* comando) {
        janela->atualizar_acoes();
        if (QAction* a = acao(comando)) a->trigger();
        QApplication::processEvents();
    }
    bool ativo(const char* comando) {
        janela->atualizar_acoes();
        QAction* a = acao(comando);
        return a && a->isEnabled();
    }
    void adicionar(const QString& texto) {
        campo()->setText(texto);
        executar("add_valor");
    }
    void tecla(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        janela->atualizar_acoes(); // the event loop goes idle between keystrokes
        QTest::keyClick(w, k, m);
        QApplication::processEvents();
    }
    QString caminho(const char* nome) const { return pasta.filePath(QString::fromLatin1(nome)); }

    QTemporaryDir pasta;
    DialogosRoteiro* dlg = nullptr;
    std::unique_ptr<FormPrincipal> janela;
};

} // namespace quarvel::app
