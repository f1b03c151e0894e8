// The application's own windows: the pictures, the splash and the about box.
#include "app/frm_sobre.h"
#include "app/frm_splash.h"
#include "app/recursos.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QSvgRenderer>
#include <QUrl>
#include <gtest/gtest.h>

using quarvel::app::FormSobre;
using quarvel::app::FormSplash;

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

#include "janelas_teste.moc"
