// Qt's own texts in the file dialog speak Portuguese.
#include "app/traducao.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quarvel::app {
namespace {

class TraducaoTeste : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { instalar_traducoes(*QCoreApplication::instance()); }
};

TEST_F(TraducaoTeste, TextosQueOQtDoDebianNaoTraduz) {
    struct Caso {
        const char* contexto;
        const char* original;
        const char* traduzido;
    };
    const Caso casos[] = {
        {"QAbstractFileIconProvider", "Folder", "Pasta"},
        {"QAbstractFileIconProvider", "File", "Arquivo"},
        {"QAbstractFileIconProvider", "Drive", "Unidade"},
        // Qt 6.8's new help texts, which Debian 13's translation lacks.
        {"QCommandLineParser", "Displays help, including generic Qt options.",
         "Mostra a ajuda com inclusão das opções genéricas do Qt."},
        {"QCommandLineParser", "Displays help on commandline options.",
         "Mostra a ajuda nas opções da linha de comando."},
        // Debian's own translation still answers for the rest.
        {"QFileDialog", "Files of type:", "Arquivos do tipo:"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(QCoreApplication::translate(c.contexto, c.original).toStdString(), c.traduzido)
            << c.original;
}

TEST_F(TraducaoTeste, ColunaTipoDoDialogoDeArquivosDizPasta) {
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("Backup")));
    QFileSystemModel modelo;
    QSignalSpy carregado(&modelo, &QFileSystemModel::directoryLoaded);
    modelo.setRootPath(tmp.path());
    ASSERT_TRUE(carregado.wait(5000));
    const QModelIndex pasta = modelo.index(tmp.filePath(QStringLiteral("Backup")));
    ASSERT_TRUE(pasta.isValid());
    EXPECT_EQ(modelo.data(pasta.siblingAtColumn(2)).toString().toStdString(), "Pasta");
    EXPECT_EQ(modelo.headerData(2, Qt::Horizontal).toString().toStdString(), "Tipo");
}

} // namespace
} // namespace quarvel::app
