// The real file dialogs of the Dialogos port, driven as a user drives them:
// a name typed without its extension and Enter.
#include "app/dialogos.h"
#include "documents/mensagens.h"
#include "tests/apoio/impressao_qt.h"
#include "tests/apoio/localidade_sistema.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quarvel::app {
namespace {

void criar(const QString& caminho) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << caminho.toStdString();
    f.write("1\r\n");
}

// Types `nome` into the file dialog once it is up, in `pasta`, and presses
// Enter. Gives up (rejecting the dialog) when no dialog comes.
void digitar_quando_abrir(const QString& pasta, const QString& nome) {
    auto tentativas = std::make_shared<int>(0);
    auto passo = std::make_shared<std::function<void()>>();
    *passo = [pasta, nome, tentativas, passo] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) {
            if (++*tentativas < 200) QTimer::singleShot(10, *passo);
            return;
        }
        dlg->setDirectory(pasta);
        auto* campo = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!campo) {
            ADD_FAILURE() << "the dialog has no file name field";
            dlg->reject();
            return;
        }
        // A name the dialog cannot find brings its "File not found" box up
        // inside Enter's handling: close both, so the test ends and fails.
        QTimer::singleShot(500, dlg, [dlg] {
            if (auto* aviso = QApplication::activeModalWidget(); aviso && aviso != dlg)
                aviso->close();
            QTimer::singleShot(0, dlg, [dlg] { dlg->reject(); });
        });
        campo->setFocus();
        QTest::keyClicks(campo, nome);
        QTest::keyClick(campo, Qt::Key_Return);
    };
    QTimer::singleShot(0, *passo);
}

struct Abertura {
    const char* nome;
    const char* filtro;
    const char* extensao;
    const char* existe;   // the file in the folder
    const char* digitado; // what the user types
};

void PrintTo(const Abertura& a, std::ostream* os) {
    *os << a.nome;
}

class AbrirArquivo : public ::testing::TestWithParam<Abertura> {};

TEST_P(AbrirArquivo, NomeSemExtensaoGanhaAExtensaoPedida) {
    const Abertura& a = GetParam();
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    criar(pasta.filePath(QString::fromUtf8(a.existe)));
    auto dialogos = criar_dialogos_reais();
    digitar_quando_abrir(pasta.path(), QString::fromUtf8(a.digitado));
    const QString escolhido = dialogos->abrir_arquivo(nullptr, QString::fromUtf8(a.filtro),
                                                      QString::fromUtf8(a.extensao));
    EXPECT_EQ(escolhido, pasta.filePath(QString::fromUtf8(a.existe)));
}

INSTANTIATE_TEST_SUITE_P(
    Digitado, AbrirArquivo,
    ::testing::Values(Abertura{"Calculo", documents::kFiltroCalculo, documents::kExtensaoCalculo,
                               "exemplo.qvl", "exemplo"},
                      Abertura{"Texto", documents::kFiltroTexto, documents::kExtensaoTexto,
                               "dados.txt", "dados"},
                      // A name typed with its extension is taken as it is.
                      Abertura{"ComExtensao", documents::kFiltroCalculo,
                               documents::kExtensaoCalculo, "exemplo.qvl", "exemplo.qvl"}),
    [](const ::testing::TestParamInfo<Abertura>& i) { return std::string(i.param.nome); });

// Open's dialog for calculation files, on a machine set to American English:
// its first filter lists the backups beside the calculations, and its date
// column is written the Brazilian way.
TEST(DialogoAbrirCalculo, ListaBackupsComDatasComoNoBrasil) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    for (const char* nome : {"exemplo.qvl", "malote.qvlbackup", "notas.txt"}) {
        QFile f(pasta.filePath(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("1\r\n");
        f.flush(); // a later write would set the time again
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(13, 7, 40)),
                                  QFileDevice::FileModificationTime));
    }
    const QByteArray antes = qgetenv("LC_ALL");
    testes::ler_localidade_do_sistema("en_US.UTF-8");
    ASSERT_EQ(QLocale::system().name(), QStringLiteral("en_US"));

    QMap<QString, QString> datas; // file name -> date column
    auto tentativas = std::make_shared<int>(0);
    auto passo = std::make_shared<std::function<void()>>();
    *passo = [&, tentativas, passo] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* lista = dlg ? dlg->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
        if (dlg && lista && lista->model()->rowCount(lista->rootIndex()) >= 2) {
            const QAbstractItemModel* m = lista->model();
            for (int i = 0; i < m->rowCount(lista->rootIndex()); ++i)
                datas[m->index(i, 0, lista->rootIndex()).data().toString()] =
                    m->index(i, 3, lista->rootIndex()).data().toString();
            dlg->reject();
            return;
        }
        if (dlg && *tentativas == 0) dlg->setDirectory(pasta.path());
        if (++*tentativas < 500)
            QTimer::singleShot(10, *passo);
        else if (dlg)
            dlg->reject();
    };
    QTimer::singleShot(0, *passo);
    criar_dialogos_reais()->abrir_arquivo(nullptr,
                                          QString::fromUtf8(documents::kFiltroAbrirCalculo),
                                          QString::fromUtf8(documents::kExtensaoCalculo));
    testes::ler_localidade_do_sistema(antes);

    EXPECT_EQ(datas.keys(), (QStringList{"exemplo.qvl", "malote.qvlbackup"}));
    for (const QString& data : datas)
        EXPECT_EQ(data, QStringLiteral("08/12/2026 13:07"));
}

// When the save dialog comes up: what its file name field suggests, then
// Cancel.
void ler_sugestao_quando_abrir(std::shared_ptr<QString> sugestao) {
    auto tentativas = std::make_shared<int>(0);
    auto passo = std::make_shared<std::function<void()>>();
    *passo = [sugestao, tentativas, passo] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) {
            if (++*tentativas < 200) QTimer::singleShot(10, *passo);
            return;
        }
        *sugestao = dlg->selectedFiles().value(0);
        dlg->reject();
    };
    QTimer::singleShot(0, *passo);
}

// After a calculation is saved as caixa.qvl, exporting text suggests
// caixa.txt in the same folder, and back.
TEST(SalvarArquivo, SugestaoTomaAExtensaoDoTipo) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    auto dialogos = criar_dialogos_reais();
    const QString calculo = QString::fromUtf8(documents::kFiltroCalculo);
    const QString qvl = QString::fromUtf8(documents::kExtensaoCalculo);
    digitar_quando_abrir(pasta.path(), QStringLiteral("caixa"));
    ASSERT_EQ(dialogos->salvar_arquivo(nullptr, calculo, qvl), pasta.filePath("caixa.qvl"));
    auto sugestao = std::make_shared<QString>();
    ler_sugestao_quando_abrir(sugestao);
    EXPECT_TRUE(dialogos
                    ->salvar_arquivo(nullptr, QString::fromUtf8(documents::kFiltroTexto),
                                     QString::fromUtf8(documents::kExtensaoTexto))
                    .isEmpty());
    EXPECT_EQ(*sugestao, pasta.filePath("caixa.txt"));
    ler_sugestao_quando_abrir(sugestao);
    dialogos->salvar_arquivo(nullptr, calculo, qvl);
    EXPECT_EQ(*sugestao, pasta.filePath("caixa.qvl"));
}

} // namespace
} // namespace quarvel::app
