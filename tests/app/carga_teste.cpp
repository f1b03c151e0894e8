// Long loads behind the loading window: events run while the values are
// read, but not once per value.
#include "documents/frm_loading.h"
#include "tests/app/janela_apoio.h"

#include <QFile>
#include <QKeyEvent>
#include <QTimer>

namespace quarvel::app {
namespace {

QString gravar_linhas(const QString& caminho, int n) {
    QFile f(caminho);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes += QByteArray::number(i % 1000) + ",25\r\n";
    f.write(bytes);
    return caminho;
}

documents::FormLoading* janela_de_espera() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* l = qobject_cast<documents::FormLoading*>(w); l && l->isVisible()) return l;
    return nullptr;
}

TEST_F(JanelaTeste, AltF4NaJanelaDeEsperaCancelaAImportacao) {
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
    executar("abrir_txt");
    ASSERT_TRUE(enviado);
    EXPECT_EQ(janela->fita().tamanho(), 1u); // cancelled: the tape as it was
    EXPECT_TRUE(dlg->avisos.isEmpty());
}

TEST_F(JanelaTeste, CargaLongaNaoDeixaOsEventosCorreremACadaValor) {
    const int n = 50000;
    dlg->arquivos_abrir = {gravar_linhas(caminho("longo.txt"), n)};
    int vezes = 0;
    QTimer contador;
    contador.setInterval(0);
    QObject::connect(&contador, &QTimer::timeout, [&] { ++vezes; });
    contador.start();
    executar("abrir_txt");
    contador.stop();
    EXPECT_EQ(janela->fita().tamanho(), static_cast<std::size_t>(n));
    // Once per value would be 50,000 turns of the loop; every 16 ms of work
    // is a few dozen, a few hundred in a sanitizer build.
    EXPECT_GE(vezes, 1);
    EXPECT_LT(vezes, n / 10);
}

} // namespace
} // namespace quarvel::app
