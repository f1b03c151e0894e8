// The error report: its lines, their look and the untouched message text.
#include "app/frm_erro.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

using quarvel::app::FormErro;

namespace {

QStringList linhas(const FormErro& f) {
    QStringList r;
    for (QTextBlock b = f.mensagem()->document()->begin(); b.isValid(); b = b.next())
        r << b.text();
    return r;
}

// Every fragment of the block must carry the same char format; returns it.
QTextCharFormat formato_da_linha(const FormErro& f, int n) {
    QTextBlock b = f.mensagem()->document()->findBlockByNumber(n);
    QTextCharFormat fmt;
    bool primeiro = true;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat atual = it.fragment().charFormat();
        if (primeiro) fmt = atual;
        EXPECT_EQ(atual, fmt) << "linha " << n << " mistura formatos";
        primeiro = false;
    }
    return fmt;
}

const QString pedido = QStringLiteral(
    "Necessito de uma descrição passo a passo do que você fez para que ocorresse esse erro. "
    "Essa informação é importantíssima para a descoberta deste problema.");
const QString acesse = QStringLiteral("Acesse: https://quarvel.example.org/suporte");

} // namespace

TEST(FormErro, JanelaEControles) {
    FormErro f(QStringLiteral("x"), 0);
    EXPECT_EQ(f.objectName(), "FormErro");
    EXPECT_EQ(f.windowTitle(), "Erro de Programa !");
    EXPECT_EQ(f.size(), QSize(374, 194));
    EXPECT_EQ(f.pos(), QPoint(642, 351));
    EXPECT_EQ(f.mensagem()->objectName(), "mensagem");
    EXPECT_EQ(f.mensagem()->geometry(), QRect(8, 54, 358, 93));
    EXPECT_TRUE(f.mensagem()->isReadOnly());
    EXPECT_TRUE(f.mensagem()->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(f.mensagem()->viewport()->palette().color(QPalette::Base),
              f.palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(f.mensagem()->palette().color(QPalette::Text),
              f.palette().color(QPalette::WindowText));
    EXPECT_EQ(f.bt_ok()->objectName(), "bt_ok");
    EXPECT_EQ(f.bt_ok()->text(), "OK");
    EXPECT_EQ(f.bt_ok()->geometry(), QRect(137, 158, 89, 28));
    EXPECT_TRUE(f.bt_ok()->isDefault());
    EXPECT_FALSE(f.bt_ok()->icon().isNull());
}

TEST(FormErro, OkFechaComAceite) {
    FormErro f(QStringLiteral("x"), 0);
    f.show();
    f.bt_ok()->click();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
}

TEST(FormErro, CincoLinhasCentradas) {
    FormErro f(QStringLiteral("Arquivo não encontrado"), 0x0040A1FF);
    const QStringList l = linhas(f);
    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l[0], "Ocorreu o Seguinte Erro: - Arquivo não encontrado , no endereço: 0040A1FF");
    EXPECT_EQ(l[1], "");
    EXPECT_EQ(l[2], pedido);
    EXPECT_EQ(l[3], "");
    EXPECT_EQ(l[4], acesse);
    for (QTextBlock b = f.mensagem()->document()->begin(); b.isValid(); b = b.next())
        EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(FormErro, FormatosDasLinhas) {
    FormErro f(QStringLiteral("falha"), 1);
    const QTextCharFormat l1 = formato_da_linha(f, 0);
    EXPECT_EQ(l1.fontWeight(), QFont::Bold);
    EXPECT_FALSE(l1.fontItalic());
    EXPECT_DOUBLE_EQ(l1.fontPointSize(), 9);
    EXPECT_TRUE(l1.fontFamilies().toStringList().contains("Arial"));

    const QTextCharFormat l3 = formato_da_linha(f, 2);
    EXPECT_TRUE(l3.fontItalic());
    EXPECT_NE(l3.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(l3.fontPointSize(), 8);

    const QTextCharFormat l5 = formato_da_linha(f, 4);
    EXPECT_EQ(l5.fontWeight(), QFont::Bold);
    EXPECT_FALSE(l5.fontItalic());
    EXPECT_DOUBLE_EQ(l5.fontPointSize(), 9);
    EXPECT_EQ(l5.foreground().color(), QColor(192, 0, 0));
    // Only the support line is red.
    EXPECT_NE(l1.foreground().color(), QColor(192, 0, 0));
    EXPECT_NE(l3.foreground().color(), QColor(192, 0, 0));

    const QFont base = f.mensagem()->font();
    EXPECT_EQ(base.family(), "Arial");
    EXPECT_TRUE(base.bold());
    EXPECT_EQ(base.pointSize(), 9);
}

TEST(FormErro, Endereco) {
    struct Caso {
        quint32 valor;
        const char* texto;
    } casos[] = {{0, "00000000"},          {0x1F, "0000001F"},       {0xABCDEF, "00ABCDEF"},
                 {0xDEADBEEF, "DEADBEEF"}, {0xFFFFFFFF, "FFFFFFFF"}, {0x00401000, "00401000"}};
    for (const Caso& c : casos) {
        EXPECT_EQ(FormErro::formatar_endereco(c.valor), c.texto);
        FormErro f(QStringLiteral("m"), c.valor);
        EXPECT_TRUE(linhas(f)[0].endsWith(QStringLiteral("no endereço: ") + c.texto)) << c.texto;
    }
}

TEST(FormErro, MensagemComMarcadoresFicaIntacta) {
    const char* mensagens[] = {
        "100% concluído",
        "'%s' is not a valid floating point value",
        "{0} {} {{x}}",
        "%1 %2 %L1 %n",
        "%p no meio %%",
        "barra \\ e <b>tag</b> & &amp;",
        "",
    };
    for (const char* m : mensagens) {
        const QString msg = QString::fromUtf8(m);
        FormErro f(msg, 0x12AB);
        EXPECT_EQ(linhas(f)[0], QStringLiteral("Ocorreu o Seguinte Erro: - ") + msg +
                                    QStringLiteral(" , no endereço: 000012AB"))
            << m;
    }
}

TEST(FormErro, LinhaDosValoresSalvos) {
    FormErro f(QStringLiteral("falha"), 2, QStringLiteral("/tmp/%1 {salvo}.qvl"));
    const QStringList l = linhas(f);
    ASSERT_EQ(l.size(), 6);
    EXPECT_TRUE(l[0].startsWith("Ocorreu o Seguinte Erro: - falha"));
    EXPECT_EQ(l[1], "Os valores foram salvos em /tmp/%1 {salvo}.qvl");
    EXPECT_EQ(l[2], "");
    EXPECT_EQ(l[3], pedido);
    EXPECT_EQ(l[5], acesse);
    EXPECT_EQ(formato_da_linha(f, 1).fontWeight(), QFont::Bold);
    EXPECT_EQ(formato_da_linha(f, 5).foreground().color(), QColor(192, 0, 0));
}

TEST(FormErro, MensagemLongaQuebraERola) {
    QString longa;
    for (int i = 0; i < 60; ++i)
        longa += QStringLiteral("erro%1 ").arg(i);
    longa += QString(300, QLatin1Char('x')); // one word wider than the box
    FormErro f(longa, 0);
    f.show();
    QApplication::processEvents();
    EXPECT_GT(f.mensagem()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(f.mensagem()->horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(linhas(f)[0].contains(longa));
}
