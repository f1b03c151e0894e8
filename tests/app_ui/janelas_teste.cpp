// Splash, about box, loading and restore windows.
#include "app/frm_sobre.h"
#include "app/frm_splash.h"
#include "app/recursos.h"
#include "documents/frm_loading.h"
#include "documents/frm_restaurar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSvgRenderer>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

using quarvel::app::FormSobre;
using quarvel::app::FormSplash;
using quarvel::documents::FormLoading;
using quarvel::documents::FormRestaurar;

class ReceptorUrl : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> abertas;
  public slots:
    void abrir(const QUrl& u) { abertas << u; }
};

namespace {

void clicar(QWidget* w) {
    const QPointF p(2, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

} // namespace

TEST(Recursos, FigurasPresentesNoTamanhoCerto) {
    quarvel::app::carregar_recursos();
    struct Caso {
        const char* caminho;
        QSize tamanho;
    } casos[] = {
        {":/imagens/splash.svg", {500, 118}},
        {":/icones/icone.svg", {32, 32}},
        {":/icones/ok.svg", {16, 16}},
    };
    for (const Caso& c : casos) {
        QSvgRenderer svg{QString::fromLatin1(c.caminho)};
        EXPECT_TRUE(svg.isValid()) << c.caminho;
        EXPECT_EQ(svg.defaultSize(), c.tamanho) << c.caminho;
    }
    for (const char* nome :
         {"novo", "abrir", "salvar", "adicionar", "modificar", "deletar", "localizar",
          "localizar_proximo", "limpar", "visualizar", "imprimir", "ajuda"}) {
        QSvgRenderer svg(QStringLiteral(":/icones/%1.svg").arg(QString::fromLatin1(nome)));
        EXPECT_TRUE(svg.isValid()) << nome;
        EXPECT_EQ(svg.defaultSize(), QSize(24, 24)) << nome;
    }
}

TEST(FormSplash, TamanhoSemBordaEImagem) {
    FormSplash s;
    EXPECT_EQ(s.size(), QSize(500, 118));
    EXPECT_TRUE(s.windowFlags() & Qt::FramelessWindowHint);
    const QImage img = s.imagem().toImage();
    ASSERT_EQ(img.size(), QSize(500, 118));
    // The picture was found and drawn: its corner is the dark blue ground.
    const QColor canto = img.pixelColor(2, 2);
    EXPECT_GT(canto.blue(), canto.red() + 40);
}

TEST(FormSobre, ConteudoELinks) {
    FormSobre s;
    EXPECT_EQ(s.objectName(), "form_sobre");
    EXPECT_EQ(s.windowTitle(), "Sobre");
    EXPECT_EQ(s.size(), QSize(306, 266));
    QStringList textos;
    for (QLabel* l : s.findChildren<QLabel*>())
        textos << l->text();
    for (const char* t : {"Quarvel", "Calculador de Vantorel", "Site:", "E-mail:"})
        EXPECT_TRUE(textos.contains(QString::fromUtf8(t))) << t;
    EXPECT_TRUE(textos.contains("Versão: 1.1\nData: 03/11/05\nCriado por: Equipe Quarvel"));

    ReceptorUrl r;
    QDesktopServices::setUrlHandler("https", &r, "abrir");
    QDesktopServices::setUrlHandler("mailto", &r, "abrir");
    clicar(s.link_site());
    clicar(s.link_email());
    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("mailto");
    ASSERT_EQ(r.abertas.size(), 2);
    EXPECT_EQ(r.abertas[0], QUrl("https://quarvel.example.org"));
    EXPECT_EQ(r.abertas[1], QUrl("mailto:contato@quarvel.example.org"));
    EXPECT_EQ(s.link_site()->cursor().shape(), Qt::PointingHandCursor);
}

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
    FormLoading f(nullptr);
    for (int i = 0; i < 1000; ++i)
        f.pulsar();
    SUCCEED();
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

#include "janelas_teste.moc"
