#pragma once
// A main window with scripted dialogs, shown offscreen, and small helpers to
// reach its controls by their names: the window's state is what they show.
#include "app/frm_principal.h"
#include "sessao/diario_sessao.h"
#include "tape/visao_fita.h"
#include "tests/apoio/ativar_qt.h"
#include "tests/apoio/impressao_qt.h"
#include "tests/apoio/lista_qt.h"
#include "tests/app/dialogos_roteiro.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

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
        const QString arquivo = arquivo_inicial();
        const QStringList antes = travas_de_sessao();
        janela = std::make_unique<FormPrincipal>(std::move(d), arquivo);
        caminho_diario = diario_novo(antes);
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
    // The tape as the tape view's model holds it, and the view's current line.
    tape::VisaoFita* vista_fita() const { return filho<tape::VisaoFita>("valores"); }
    const tape::FitaModelo& modelo_fita() const { return vista_fita()->modelo(); }
    int linha_atual() const { return vista_fita()->linha_atual(); }
    QStringList linhas() const { return testes::lista_qt(modelo_fita().linhas()); }
    QStringList brutos() const { return testes::lista_qt(modelo_fita().brutos()); }
    // The backup's timer, and one tick of it now; the write goes on behind.
    QTimer* temporizador_backup() const {
        return janela->findChild<QTimer*>(QStringLiteral("temporizador_backup"));
    }
    void tique_backup() const {
        QTimer* t = temporizador_backup();
        ASSERT_NE(t, nullptr);
        EXPECT_TRUE(QMetaObject::invokeMethod(t, "timeout"));
        QApplication::processEvents();
    }
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

    // Lets the events run until `feito` holds, or for 5 s, for what a thread
    // writes behind the window: the checks after it say what did not come.
    static void esperar_que(const std::function<bool()>& feito) {
        (void)QTest::qWaitFor(feito, 5000);
    }
    // The session journals' locks; a window takes its own as it is made.
    static QStringList travas_de_sessao() {
        return QDir(documents::pasta_sessoes())
            .entryList({QStringLiteral("sessao-*.trava")}, QDir::Files | QDir::System);
    }
    // The journal beside the one lock taken since `antes`; empty if none.
    static QString diario_novo(const QStringList& antes) {
        QStringList novas = travas_de_sessao();
        for (const QString& t : antes)
            novas.removeAll(t);
        if (novas.size() != 1) return {};
        QString nome = novas.first();
        nome.replace(QStringLiteral(".trava"), QStringLiteral(".diario"));
        return documents::pasta_sessoes() + QLatin1Char('/') + nome;
    }

    QTemporaryDir pasta;
    DialogosRoteiro* dlg = nullptr;
    std::unique_ptr<FormPrincipal> janela;
    QString caminho_diario; // the window's session journal
};

} // namespace quarvel::app
