#include "printing/dialogos_impressao.h"
#include "printing/documento_impressao.h"
#include "printing/envio_cups.h"
#include "printing/mensagens.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>

#include "apoio_pdf.h"

namespace qp = quarvel::printing;

namespace {

class DocumentoImpressao : public ::testing::Test {
  protected:
    // Prints the document into a PDF and returns the text of its pages.
    QStringList imprimir(qp::DocumentoImpressao& d) {
        const QString arquivo = dir.filePath(QStringLiteral("saida%1.pdf").arg(++arquivos));
        QString erro;
        EXPECT_TRUE(qp::imprimir_pdf(d, arquivo, &erro)) << erro.toStdString();
        ultimo = arquivo;
        return apoio::paginas_pdf(arquivo);
    }
    QStringList imprimir(const qp::ConteudoImpressao& c) {
        doc.preparar(c);
        return imprimir(doc);
    }

    QTemporaryDir dir;
    QString ultimo;
    int arquivos = 0;
    qp::DocumentoImpressao doc;
};

TEST_F(DocumentoImpressao, FitaDeUmaLinhaImprimeTresLinhasDeCorpo) {
    const qp::ConteudoImpressao c = apoio::fita(1);
    doc.preparar(c);
    EXPECT_EQ(doc.corpo(),
              QStringList({"R$ 1,00", "", "Valor Total: R$ 1,00 "})); // ends with one space
    EXPECT_EQ(c.linhas_fita, QStringList({"1,00"}));                  // the tape keeps its lines

    const QStringList paginas = imprimir(doc);
    ASSERT_EQ(paginas.size(), 1);
    EXPECT_EQ(doc.linhas_da_pagina(1).size(), 3);
    // Empty header and footer: only the numbering remains.
    EXPECT_EQ(apoio::linhas(paginas[0]), QStringList({"R$ 1,00", "Valor Total: R$ 1,00", "1/1"}));
}

TEST_F(DocumentoImpressao, ArquivoLevaTituloECriador) {
    imprimir(apoio::fita(2));
    const QString info = apoio::info_pdf(ultimo);
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Quarvel 1.0"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Creator:\\s+Quarvel\\n"))) << info.toStdString();
}

struct CasoTitulo {
    const char* nome;
    const char* cabecalho;
    const char* titulo;
    const char* impresso;
};

void PrintTo(const CasoTitulo& c, std::ostream* os) {
    *os << c.nome;
}

class MacroTitulo : public DocumentoImpressao, public ::testing::WithParamInterface<CasoTitulo> {};

TEST_P(MacroTitulo, CabecalhoMostraOTitulo) {
    const auto& p = GetParam();
    const QStringList paginas =
        imprimir(apoio::fita(1, QString::fromUtf8(p.cabecalho), {}, QString::fromUtf8(p.titulo)));
    ASSERT_EQ(paginas.size(), 1);
    EXPECT_EQ(apoio::linhas(paginas[0]).value(0), QString::fromUtf8(p.impresso));
}

INSTANTIATE_TEST_SUITE_P(
    Titulos, MacroTitulo,
    ::testing::Values(CasoTitulo{"Impressao", "$TITLE$", "Quarvel 1.0", "Quarvel 1.0"},
                      CasoTitulo{"Minusculas", "$title$", "Quarvel 1.0", "Quarvel 1.0"},
                      CasoTitulo{"Visualizacao", "$TITLE$", "Quarvel", "Quarvel"},
                      // Two amounts: no macro between the signs.
                      CasoTitulo{"DoisValores", "Troco R$ 10,00 e R$ 5,00", "Quarvel",
                                 "Troco R$ 10,00 e R$ 5,00"}),
    [](const ::testing::TestParamInfo<CasoTitulo>& i) { return std::string(i.param.nome); });

TEST_F(DocumentoImpressao, RodapeComDataEANumeracaoNaMesmaLinha) {
    const QStringList paginas = imprimir(apoio::fita(3, {}, QStringLiteral("Conferido $DATE$")));
    ASSERT_EQ(paginas.size(), 1);
    ASSERT_FALSE(doc.data_layout().isEmpty());
    const QStringList l = apoio::linhas(paginas[0]);
    const QString rodape = l.value(l.size() - 1);
    EXPECT_TRUE(rodape.startsWith(QStringLiteral("Conferido ") + doc.data_layout()))
        << rodape.toStdString();
    EXPECT_TRUE(rodape.endsWith(QStringLiteral("1/1"))) << rodape.toStdString();
}

TEST_F(DocumentoImpressao, TresPaginasNumeradasComOTotalNaUltima) {
    doc.preparar(apoio::fita(1));
    imprimir(doc);
    const int por_pagina = doc.linhas_por_pagina();
    ASSERT_GT(por_pagina, 10);

    // Two full pages of body, then the total line alone on page 3.
    const int n = 2 * por_pagina - 1;
    const QStringList paginas = imprimir(apoio::fita(n, QStringLiteral("Malote")));
    ASSERT_EQ(paginas.size(), 3);
    EXPECT_EQ(doc.paginas(), 3);
    for (int p = 0; p < 3; ++p) {
        const QStringList l = apoio::linhas(paginas[p]);
        EXPECT_EQ(l.value(0), QStringLiteral("Malote"));
        EXPECT_EQ(l.value(l.size() - 1), QStringLiteral("%1/3").arg(p + 1));
    }
    const QStringList p1 = apoio::linhas(paginas[0]), p2 = apoio::linhas(paginas[1]);
    EXPECT_EQ(p1.value(1), QStringLiteral("R$ 1,00"));
    EXPECT_EQ(p1.size(), por_pagina + 2);
    EXPECT_EQ(p2.value(1), QStringLiteral("R$ %1,00").arg(por_pagina + 1));
    EXPECT_FALSE(paginas[1].contains(QStringLiteral("Valor Total")));
    const QString total = QStringLiteral("Valor Total: R$ %1,00").arg(n * (n + 1) / 2);
    EXPECT_EQ(apoio::linhas(paginas[2]), QStringList({"Malote", total, "3/3"}));
}

TEST_F(DocumentoImpressao, CincoMilLinhasPaginamComoAConta) {
    doc.preparar(apoio::fita(50000));
    QPdfWriter pdf(dir.filePath("vazio.pdf"));
    pdf.setResolution(1200);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    const int paginas = doc.paginar(pdf);
    EXPECT_EQ(paginas, (50002 + doc.linhas_por_pagina() - 1) / doc.linhas_por_pagina());
    const QStringList ultima = doc.linhas_da_pagina(paginas);
    ASSERT_FALSE(ultima.isEmpty());
    EXPECT_TRUE(ultima.last().startsWith(QStringLiteral("Valor Total: ")));
    EXPECT_TRUE(doc.linhas_da_pagina(paginas + 1).isEmpty());
}

TEST_F(DocumentoImpressao, LinhaMaisLargaQueOCorpoQuebraSemPerderTexto) {
    qp::ConteudoImpressao c = apoio::fita(2);
    QString longa;
    for (int i = 0; i < 40; ++i)
        longa += QStringLiteral("%1.").arg(i % 10).repeated(4);
    c.linhas_fita.insert(1, longa);
    const QStringList paginas = imprimir(c);
    ASSERT_EQ(paginas.size(), 1);
    EXPECT_GT(doc.linhas_impressas(), doc.corpo().size());

    const QStringList l = doc.linhas_da_pagina(1);
    EXPECT_EQ(l.value(0), QStringLiteral("R$ 1,00"));
    QString juntada;
    int i = 1;
    for (; i < l.size() && juntada.size() < longa.size() + 3; ++i) {
        EXPECT_FALSE(l[i].isEmpty());
        juntada += l[i];
    }
    EXPECT_EQ(juntada, QStringLiteral("R$ ") + longa);
    EXPECT_EQ(l.value(i), QStringLiteral("R$ 2,00"));
    // Every piece but the last is as long as fits: the printed text holds it all.
    QString impresso = paginas[0];
    impresso.remove(QRegularExpression("\\s"));
    EXPECT_TRUE(impresso.contains(juntada.remove(QLatin1Char(' '))));
}

TEST_F(DocumentoImpressao, ReguasEmTodasAsPaginasMesmoSemTexto) {
    // Draw pages onto an image laid out at the image's own resolution.
    const int dpi = 100;
    QPdfWriter pdf(dir.filePath("reguas.pdf"));
    pdf.setResolution(dpi);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    doc.preparar(apoio::fita(200));
    ASSERT_GE(doc.paginar(pdf), 2);
    const auto mm = [&](double v) { return qRound(v * dpi / 25.4); };
    for (int pagina : {1, 2}) {
        QImage img(mm(210), mm(297), QImage::Format_RGB32);
        img.fill(Qt::lightGray);
        QPainter p(&img);
        doc.desenhar_pagina(p, pagina);
        p.end();
        auto escura = [&](int x, int y) { return qGray(img.pixel(x, y)) < 64; };
        for (int y : {mm(15), mm(297 - 20)}) {
            bool achou = false;
            for (int dy = -1; dy <= 1 && !achou; ++dy)
                achou =
                    escura(mm(26), y + dy) && escura(mm(194), y + dy) && escura(mm(110), y + dy);
            EXPECT_TRUE(achou) << "page " << pagina << " rule at y=" << y;
            EXPECT_FALSE(escura(mm(10), y)) << "the rule starts at the left margin";
        }
        // The body area is white, the paper outside it untouched.
        EXPECT_EQ(img.pixel(mm(190), mm(200)), qRgb(255, 255, 255));
        EXPECT_EQ(img.pixel(mm(10), mm(200)), QColor(Qt::lightGray).rgb());
    }
}

TEST_F(DocumentoImpressao, FalhaAoAbrirOArquivoDevolveOMotivo) {
    doc.preparar(apoio::fita(1));
    QString erro;
    EXPECT_FALSE(qp::imprimir_pdf(doc, QStringLiteral("/nao/existe/saida.pdf"), &erro));
    EXPECT_TRUE(erro.startsWith(QStringLiteral("/nao/existe/saida.pdf: "))) << erro.toStdString();
}

// "Arquivo PDF" in the print dialog: the whole document goes into the
// file, on the paper and orientation chosen.
TEST_F(DocumentoImpressao, ImprimirParaArquivoGravaTodasAsPaginas) {
    doc.preparar(apoio::fita(200));
    qp::EscolhaImpressao escolha;
    escolha.arquivo_pdf = dir.filePath(QStringLiteral("dialogo.pdf"));
    QString erro;
    ASSERT_TRUE(doc.imprimir(escolha, &erro)) << erro.toStdString();
    EXPECT_GE(doc.paginas(), 3);
    EXPECT_EQ(apoio::paginas_pdf(escolha.arquivo_pdf).size(), doc.paginas());
    EXPECT_TRUE(apoio::info_pdf(escolha.arquivo_pdf).contains(QStringLiteral("(A4)")));

    const int retrato = doc.paginas();
    escolha.papel = QPageSize(QPageSize::Letter);
    escolha.orientacao = QPageLayout::Landscape;
    ASSERT_TRUE(doc.imprimir(escolha, &erro)) << erro.toStdString();
    EXPECT_GT(doc.paginas(), retrato); // fewer lines on a lying page
    EXPECT_TRUE(apoio::info_pdf(escolha.arquivo_pdf).contains(QStringLiteral("792 x 612 pts")))
        << apoio::info_pdf(escolha.arquivo_pdf).toStdString();
}

// Neither a queue nor a file: nothing is printed, and the reason is said.
TEST_F(DocumentoImpressao, SemDestinoNemArquivoDizPorQue) {
    doc.preparar(apoio::fita(2));
    QString erro;
    EXPECT_FALSE(doc.imprimir(qp::EscolhaImpressao{}, &erro));
    EXPECT_EQ(erro, QString::fromUtf8(qp::kSemImpressora));
}

// A small tmpfs of our own, where the PDF cannot fit.
class ArquivoSemEspaco : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=8k") != 0)
            GTEST_SKIP() << "não foi possível montar um tmpfs: " << std::strerror(errno);
        montado = true;
    }
    void TearDown() override {
        if (montado) ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    QTemporaryDir dir;
    bool montado = false;
};

TEST_F(ArquivoSemEspaco, FalhaDeGravacaoDizOArquivoEOMotivoEGuardaOAnterior) {
    const QString arquivo = dir.filePath(QStringLiteral("fita.pdf"));
    {
        QFile antigo(arquivo);
        ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
        antigo.write("antigo");
    }
    // A one-line tape fits in a write buffer: the disk is filled to the brim
    // so that even its last flush fails.
    {
        QFile enchimento(dir.filePath(QStringLiteral("enchimento")));
        ASSERT_TRUE(enchimento.open(QIODevice::WriteOnly));
        const QByteArray bloco(512, 'x');
        while (enchimento.write(bloco) == bloco.size() && enchimento.flush()) {
        }
    }
    for (int linhas : {400, 1}) {
        qp::DocumentoImpressao doc;
        doc.preparar(apoio::fita(linhas));
        qp::EscolhaImpressao escolha;
        escolha.arquivo_pdf = arquivo;
        QString erro;
        EXPECT_FALSE(doc.imprimir(escolha, &erro)) << linhas;
        EXPECT_TRUE(erro.startsWith(arquivo + QStringLiteral(": "))) << erro.toStdString();
        EXPECT_GT(erro.size(), arquivo.size() + 2);
        QFile lido(arquivo);
        ASSERT_TRUE(lido.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromLatin1(lido.readAll()), QStringLiteral("antigo")) << linhas;
    }
}

TEST_F(DocumentoImpressao, PaginaForaDoIntervaloNaoDesenha) {
    doc.preparar(apoio::fita(1));
    imprimir(doc);
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::red);
    QPainter p(&img);
    doc.desenhar_pagina(p, 0);
    doc.desenhar_pagina(p, 2);
    p.end();
    EXPECT_EQ(img.pixel(50, 50), QColor(Qt::red).rgb());
}

// What the dialog chose becomes the job's options: its paper, landscape only
// when chosen, and always one copy.
TEST(OpcoesDaEscolha, PapelOrientacaoEUmaCopia) {
    qp::EscolhaImpressao retrato;
    retrato.papel = QPageSize(QPageSize::Letter);
    EXPECT_EQ(qp::opcoes_da_escolha(retrato),
              (qp::OpcoesCups{{"media", "Letter"}, {"copies", "1"}}));
    qp::EscolhaImpressao paisagem;
    paisagem.orientacao = QPageLayout::Landscape;
    EXPECT_EQ(qp::opcoes_da_escolha(paisagem),
              (qp::OpcoesCups{{"media", "A4"}, {"landscape", ""}, {"copies", "1"}}));
}

} // namespace
