// Printing 50,000 tape lines: the layout alone, the whole PDF through the
// print document, and a bare QPainter loop drawing the same pages.
#include "calc/dinheiro.h"
#include "printing/documento_impressao.h"
#include "printing/mensagens.h"
#include "tape/mensagens.h"

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace quarvel::bench {
namespace {

printing::ConteudoImpressao conteudo_50000() {
    printing::ConteudoImpressao c;
    c.linhas_fita.reserve(50000);
    long double total = 0;
    for (int i = 0; i < 50000; ++i) {
        const long double v = (i * 7919 % 100000) / 100.0L + (i % 13) * 1000;
        total += v;
        c.linhas_fita.append(QString::fromStdString(calc::mascara_dinheiro(v)));
    }
    c.total = QString::fromUtf8(tape::kPrefixoReais) +
              QString::fromStdString(calc::mascara_dinheiro(total));
    c.cabecalho = QStringLiteral("Loja Centro - $DATE$");
    c.rodape = QStringLiteral("Conferido por:");
    c.titulo = QString::fromUtf8(printing::kTituloImpressao);
    return c;
}

// The device the PDF print writes to: A4, no margins, 1200 dpi.
std::unique_ptr<QPdfWriter> pdf_a4(const QString& caminho) {
    auto pdf = std::make_unique<QPdfWriter>(caminho);
    pdf->setPageSize(QPageSize(QPageSize::A4));
    pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf->setResolution(1200);
    return pdf;
}

QFont em_pixels(const char* familia, QFont::StyleHint dica, double pontos, int dpi) {
    QFont f{QString::fromLatin1(familia)};
    f.setStyleHint(dica);
    f.setPixelSize(qRound(pontos * dpi / 72.0));
    return f;
}

void paginar(benchmark::State& estado) {
    QTemporaryDir pasta;
    printing::DocumentoImpressao doc;
    doc.preparar(conteudo_50000());
    const auto pdf = pdf_a4(pasta.filePath(QStringLiteral("p.pdf")));
    int paginas = 0;
    for (auto _ : estado)
        benchmark::DoNotOptimize(paginas = doc.paginar(*pdf));
    estado.counters["paginas"] = paginas;
}
BENCHMARK(paginar)->Name("paginar_50000")->Unit(benchmark::kMillisecond)->UseRealTime();

void pdf_quarvel(benchmark::State& estado) {
    QTemporaryDir pasta;
    printing::DocumentoImpressao doc;
    doc.preparar(conteudo_50000());
    const QString caminho = pasta.filePath(QStringLiteral("q.pdf"));
    for (auto _ : estado) {
        QString erro;
        if (!printing::imprimir_pdf(doc, caminho, &erro)) {
            estado.SkipWithError(erro.toStdString().c_str());
            break;
        }
    }
    estado.counters["paginas"] = doc.paginas();
}
BENCHMARK(pdf_quarvel)->Name("pdf_50000/quarvel")->Unit(benchmark::kMillisecond)->UseRealTime();

// The same pages drawn by hand: white body area, the two rules, the header
// and footer texts and the body lines, in the same fonts and positions.
void pdf_painter(benchmark::State& estado) {
    QTemporaryDir pasta;
    printing::DocumentoImpressao doc;
    doc.preparar(conteudo_50000());
    const QString caminho = pasta.filePath(QStringLiteral("b.pdf"));
    {
        const auto medida = pdf_a4(caminho);
        doc.paginar(*medida);
    }
    const QStringList& corpo = doc.corpo();
    const auto& g = doc.geometria();
    const int por_pagina = doc.linhas_por_pagina();
    const int paginas = doc.paginas();
    const int altura = doc.altura_linha();
    const QFont fonte_corpo = em_pixels("Courier New", QFont::TypeWriter, 9, 1200);
    const QFont fonte_faixa = em_pixels("Arial", QFont::SansSerif, 10, 1200);
    const QString cabecalho = QStringLiteral("Loja Centro - ") + doc.data_layout();
    const QString rodape = QStringLiteral("Conferido por:");

    for (auto _ : estado) {
        const auto pdf = pdf_a4(caminho);
        QPainter p(pdf.get());
        const QFontMetrics fm_corpo(fonte_corpo);
        const QFontMetrics fm_faixa(fonte_faixa);
        for (int n = 1; n <= paginas; ++n) {
            if (n > 1) pdf->newPage();
            p.fillRect(QRectF(g.esquerda, g.topo, g.largura_corpo(), g.altura_corpo()), Qt::white);
            p.setPen(QPen(Qt::black, 12.5));
            p.drawLine(QPointF(g.esquerda, g.regua_cabecalho),
                       QPointF(g.direita, g.regua_cabecalho));
            p.drawLine(QPointF(g.esquerda, g.regua_rodape), QPointF(g.direita, g.regua_rodape));
            p.setFont(fonte_faixa);
            const double largura_cab = fm_faixa.horizontalAdvance(cabecalho);
            p.drawText(QPointF((g.esquerda + g.direita - largura_cab) / 2,
                               g.regua_cabecalho - fm_faixa.descent()),
                       cabecalho);
            const QString numeracao =
                QString::number(n) + QLatin1Char('/') + QString::number(paginas);
            const double base_rodape = g.regua_rodape + fm_faixa.ascent();
            p.drawText(QPointF(g.esquerda, base_rodape), rodape);
            p.drawText(QPointF(g.direita - fm_faixa.horizontalAdvance(numeracao), base_rodape),
                       numeracao);
            p.setFont(fonte_corpo);
            double y = g.topo + fm_corpo.ascent();
            const int inicio = (n - 1) * por_pagina;
            const int fim = std::min<int>(inicio + por_pagina, corpo.size());
            for (int i = inicio; i < fim; ++i, y += altura)
                if (!corpo[i].isEmpty()) p.drawText(QPointF(g.esquerda, y), corpo[i]);
        }
        p.end();
    }
    estado.counters["paginas"] = paginas;
}
BENCHMARK(pdf_painter)->Name("pdf_50000/painter")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace quarvel::bench
