// Text files in and out of the tape: the text commands over their narrow
// context, and long imports behind the loading window, where events run
// while the values are read, but not once per value.
#include "espera/frm_loading.h"
#include "tests/documents/comandos_apoio.h"

#include <QKeyEvent>
#include <QTimer>

namespace quarvel::documents {
namespace {

using testes::escrever_arquivo;
using testes::ler_arquivo;

using TextoTeste = ComandosTeste;

TEST_F(TextoTeste, ImportarPulaLinhasEmBrancoERecusaLinhasSemValor) {
    adicionar(QStringLiteral("7"));
    const QString bom = caminho("bom.txt");
    escrever_arquivo(bom, "R$ 1.234,56\r\n1,2,3\r\n5-\r\n-5\r\nTotal: 3\r\n\r\n");
    dlg->arquivos_abrir = {bom};
    comandos_texto.abrir_txt();
    EXPECT_EQ(brutos(), (QStringList{"1234,56", "12,3", "5", "-5", "3"}));
    EXPECT_TRUE(dlg->avisos.isEmpty());
    const QString ruim = caminho("ruim.txt");
    escrever_arquivo(ruim, "1\r\nabc\r\n");
    dlg->arquivos_abrir = {ruim};
    comandos_texto.abrir_txt();
    EXPECT_EQ(dlg->avisos, QStringList{"A linha 2 de ruim.txt não contém um valor: abc"});
    EXPECT_EQ(brutos(), (QStringList{"1234,56", "12,3", "5", "-5", "3"}));
}

TEST_F(TextoTeste, ExportarEImportarDevolvemOsValoresComoMostrados) {
    for (const char* v : {"10/3", "1.234,5"})
        adicionar(QString::fromLatin1(v));
    const QString arquivo = caminho("fita.txt");
    dlg->arquivos_salvar = {arquivo};
    comandos_texto.save_txt();
    EXPECT_EQ(ler_arquivo(arquivo), QByteArray("3,33\r\n1.234,50\r\n"));
    dlg->arquivos_abrir = {arquivo};
    comandos_texto.abrir_txt();
    EXPECT_EQ(brutos(), (QStringList{"3,33", "1234,5"}));
    EXPECT_TRUE(comandos_documento.arquivo_atual().isEmpty());
}

QString gravar_linhas(const QString& caminho, int n) {
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes += QByteArray::number(i % 1000) + ",25\r\n";
    escrever_arquivo(caminho, bytes);
    return caminho;
}

FormLoading* janela_de_espera() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* l = qobject_cast<FormLoading*>(w); l && l->isVisible()) return l;
    return nullptr;
}

TEST_F(TextoTeste, AltF4NaJanelaDeEsperaCancelaAImportacao) {
    adicionar(QStringLiteral("7"));
    dlg->arquivos_abrir = {gravar_linhas(caminho("longo.txt"), 50000)};
    bool enviado = false;
    // Runs when the loader first lets the pending events run.
    QTimer::singleShot(0, [&] {
        if (auto* l = janela_de_espera()) {
            QKeyEvent alt_f4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
            QApplication::sendEvent(l, &alt_f4);
            enviado = true;
        }
    });
    comandos_texto.abrir_txt();
    ASSERT_TRUE(enviado);
    EXPECT_EQ(fita.tamanho(), 1u); // cancelled: the tape as it was
    EXPECT_TRUE(dlg->avisos.isEmpty());
}

TEST_F(TextoTeste, CargaLongaNaoDeixaOsEventosCorreremACadaValor) {
    const int n = 50000;
    dlg->arquivos_abrir = {gravar_linhas(caminho("longo.txt"), n)};
    int vezes = 0;
    QTimer contador;
    contador.setInterval(0);
    QObject::connect(&contador, &QTimer::timeout, [&] { ++vezes; });
    contador.start();
    comandos_texto.abrir_txt();
    contador.stop();
    EXPECT_EQ(fita.tamanho(), static_cast<std::size_t>(n));
    // Once per value would be 50,000 turns of the loop; every 16 ms of work
    // is a few dozen, a few hundred in a sanitizer build.
    EXPECT_GE(vezes, 1);
    EXPECT_LT(vezes, n / 10);
}

} // namespace
} // namespace quarvel::documents
