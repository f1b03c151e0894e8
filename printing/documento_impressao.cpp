#include "printing/documento_impressao.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "gravacao/gravar.h"
#include "printing/data_hora.h"
#include "printing/dialogos_impressao.h"
#include "printing/envio_cups.h"
#include "printing/macros.h"
#include "printing/mensagens.h"
#include "printing/opcoes_cups.h"
#include "tape/mensagens.h"

namespace quarvel::printing {

namespace {

// Fonts are sized in the device's own pixels, so that the same page drawn
// onto a scaled screen painter keeps the proportions of the printed one.
QFont em_pixels(QFont f, double dpi) {
    const double pontos = f.pointSizeF() > 0 ? f.pointSizeF() : 10;
    f.setPixelSize(std::max(1, qRound(pontos * dpi / 72.0)));
    return f;
}

QFont fonte_padrao(const char* familia, int pontos, QFont::StyleHint dica) {
    QFont f(QString::fromLatin1(familia), pontos);
    f.setStyleHint(dica);
    return f;
}

// Items are ordered by line number and the line numbers renumbered 1, 2, 3...
void normalizar_linhas(std::vector<DocumentoImpressao::ItemCabecalho>& itens) {
    std::stable_sort(itens.begin(), itens.end(),
                     [](const auto& a, const auto& b) { return a.linha < b.linha; });
    int anterior = 0, nova = 0;
    for (auto& item : itens) {
        if (nova == 0 || item.linha != anterior) {
            anterior = item.linha;
            ++nova;
        }
        item.linha = nova;
    }
}

Dispositivo medir(const QPagedPaintDevice& d) {
    const int dpi = std::max(1, d.logicalDpiX());
    const QPageLayout layout = d.pageLayout();
    const QRect papel = layout.fullRectPixels(dpi);
    const QRect area = layout.paintRectPixels(dpi);
    Dispositivo r;
    r.dpi_x = dpi;
    r.dpi_y = std::max(1, d.logicalDpiY());
    r.papel_largura = papel.width();
    r.papel_altura = papel.height();
    r.imprimivel_x = area.x() - papel.x();
    r.imprimivel_y = area.y() - papel.y();
    r.imprimivel_largura = area.width();
    r.imprimivel_altura = area.height();
    return r;
}

bool imprimir_em(DocumentoImpressao& doc, QPagedPaintDevice& dispositivo, QString* erro) {
    auto falha = [&](const QString& motivo) {
        if (erro) *erro = motivo;
        return false;
    };
    const int paginas = doc.paginar(dispositivo);
    QPainter p;
    if (!p.begin(&dispositivo))
        return falha(QStringLiteral("o documento de impressão não pôde ser criado"));
    for (int n = 1; n <= paginas; ++n) {
        if (n > 1 && !dispositivo.newPage()) {
            p.end();
            return falha(QStringLiteral("o documento de impressão não aceitou uma nova página"));
        }
        doc.desenhar_pagina(p, n);
    }
    if (!p.end()) return falha(QStringLiteral("o documento de impressão não foi concluído"));
    return true;
}

// Every page into a PDF on `saida` (already open) with this page layout and
// resolution: what a printer of those settings prints, margins and
// unprintable edges included.
bool desenhar_pdf(DocumentoImpressao& doc, QIODevice& saida, const QPageLayout& layout, int dpi,
                  QString* erro) {
    QPdfWriter pdf(&saida);
    pdf.setPageLayout(layout);
    pdf.setResolution(dpi);
    pdf.setTitle(doc.titulo());
    pdf.setCreator(QString::fromUtf8(kNomePrograma));
    return imprimir_em(doc, pdf, erro);
}

// Drawn in memory, then written as every file of the program is: whole,
// synced, and replacing the old one only then.
// With `envio`, the write runs where it says (away from the window, behind
// the waiting window whose Alt+F4 gives it up): a pipe's reader may take
// its time.
bool gravar_pdf(DocumentoImpressao& doc, const QString& caminho, const QPageLayout& layout, int dpi,
                QString* erro, const DocumentoImpressao::Envio& envio = {}) {
    QByteArray pdf;
    QBuffer memoria(&pdf);
    memoria.open(QIODevice::WriteOnly);
    if (!desenhar_pdf(doc, memoria, layout, dpi, erro)) return false;
    memoria.close();
    std::string motivo;
    bool gravou = false;
    const auto tarefa = [&](const std::atomic<bool>& cancelar) {
        gravou = gravacao::gravar_atomico(QFile::encodeName(caminho).toStdString(),
                                          {pdf.constData(), static_cast<std::size_t>(pdf.size())},
                                          &motivo, gravacao::Ligacao::Seguir,
                                          {gravacao::kEsperaMaximaMs, &cancelar});
    };
    const std::atomic<bool> nunca{false};
    if (envio)
        envio(tarefa);
    else
        tarefa(nunca);
    if (!gravou) {
        if (erro)
            *erro = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(caminho),
                                                 QString::fromStdString(motivo));
        return false;
    }
    return true;
}

} // namespace

void DocumentoImpressao::preparar(const ConteudoImpressao& c) {
    cabecalho_.clear();
    rodape_.clear();
    const QFont fonte_faixa = fonte_padrao("Arial", 10, QFont::SansSerif);
    auto item = [&](const QString& texto, Alinhamento a, int linha) {
        ItemCabecalho i;
        i.texto = texto;
        i.fonte = fonte_faixa;
        i.alinhamento = a;
        i.linha = linha;
        return i;
    };
    cabecalho_.push_back(item(c.cabecalho, Alinhamento::centro, 2));
    rodape_.push_back(item(QStringLiteral("$PAGENUM$/$PAGECOUNT$"), Alinhamento::direita, 1));
    rodape_.push_back(item(c.rodape, Alinhamento::esquerda, 1));
    normalizar_linhas(cabecalho_);
    normalizar_linhas(rodape_);

    fonte_corpo_ = fonte_padrao("Courier New", 9, QFont::TypeWriter);
    corpo_.clear();
    corpo_.reserve(c.linhas_fita.size() + 2);
    const QString rs = QString::fromUtf8(tape::kPrefixoReais);
    for (const QString& linha : c.linhas_fita)
        corpo_.append(rs + linha);
    corpo_.append(QString());
    corpo_.append(QString::fromUtf8(kLinhaTotal).arg(c.total));
    titulo_ = c.titulo;
    paginas_ = 1;
}

const QString& DocumentoImpressao::titulo() const {
    return titulo_;
}

int DocumentoImpressao::paginas() const {
    return paginas_;
}

int DocumentoImpressao::paginar(const QPagedPaintDevice& d) {
    const QDateTime agora = QDateTime::currentDateTime();
    data_ = data_brasileira(agora.date());
    hora_ = hora_brasileira(agora.time());

    dispositivo_ = medir(d);
    geometria_ = calcular_geometria(dispositivo_);
    fonte_corpo_px_ = em_pixels(fonte_corpo_, dispositivo_.dpi_y);

    // All lines spaced by the tallest variant of the body font.
    QFont mais_alta = fonte_corpo_px_;
    mais_alta.setBold(true);
    mais_alta.setItalic(true);
    mais_alta.setUnderline(true);
    mais_alta.setStrikeOut(true);
    const QFontMetrics fm_alta(mais_alta);
    altura_linha_ = std::max(1, fm_alta.height() + fm_alta.leading());
    const QFontMetrics fm(fonte_corpo_px_);
    ascendente_corpo_ = fm.ascent();
    for (auto* itens : {&cabecalho_, &rodape_}) {
        for (auto& item : *itens) {
            item.fonte_px = em_pixels(item.fonte, dispositivo_.dpi_y);
            const QFontMetrics fm_item(item.fonte_px);
            item.altura = fm_item.height();
            item.ascendente = fm_item.ascent();
        }
    }

    // Wrapping: a line shorter than the body width even in its widest
    // characters is never measured.
    const double largura = geometria_.largura_corpo();
    const int mais_larga = std::max(1, fm.maxWidth());
    const int cabem_sempre = static_cast<int>(largura / mais_larga);
    quebrado_ = false;
    trechos_.clear();
    for (int i = 0; i < corpo_.size(); ++i) {
        const QString& linha = corpo_[i];
        const bool cabe = linha.size() <= cabem_sempre || fm.horizontalAdvance(linha) <= largura;
        if (!cabe && !quebrado_) {
            quebrado_ = true;
            trechos_.reserve(corpo_.size() + 16);
            for (int j = 0; j < i; ++j)
                trechos_.push_back({j, 0, int(corpo_[j].size())});
        }
        if (!quebrado_) continue;
        if (cabe) {
            trechos_.push_back({i, 0, int(linha.size())});
            continue;
        }
        int inicio = 0;
        while (inicio < linha.size()) {
            const QString resto = linha.mid(inicio);
            int k = prefixo_que_cabe(int(resto.size()), largura,
                                     [&](int n) { return double(fm.horizontalAdvance(resto, n)); });
            // Never split a surrogate pair.
            if (k < resto.size() && k > 1 && resto[k - 1].isHighSurrogate()) --k;
            trechos_.push_back({i, inicio, k});
            inicio += k;
        }
    }

    por_pagina_ = quarvel::printing::linhas_por_pagina(geometria_, altura_linha_);
    paginas_ = contar_paginas(linhas_impressas(), por_pagina_);
    return paginas_;
}

int DocumentoImpressao::linhas_impressas() const {
    return quebrado_ ? int(trechos_.size()) : int(corpo_.size());
}

QString DocumentoImpressao::texto_trecho(int i) const {
    if (!quebrado_) return corpo_[i];
    const Trecho& t = trechos_[i];
    return corpo_[t.linha].mid(t.inicio, t.tamanho);
}

QStringList DocumentoImpressao::linhas_da_pagina(int n) const {
    QStringList r;
    const int inicio = primeira_linha(n, por_pagina_);
    const int total = linhas_na_pagina(n, linhas_impressas(), por_pagina_);
    for (int i = 0; i < total; ++i)
        r.append(texto_trecho(inicio + i));
    return r;
}

QString DocumentoImpressao::expandir(const QString& texto, int n) const {
    ValoresMacro v;
    v.pagina = n;
    v.paginas = paginas_;
    v.titulo = titulo_.toStdString();
    v.data = data_.toStdString();
    v.hora = hora_.toStdString();
    return QString::fromStdString(expandir_macros(texto.toStdString(), v));
}

void DocumentoImpressao::desenhar_faixas(QPainter& p, const std::vector<ItemCabecalho>& itens,
                                         bool cabecalho, int n) const {
    const Geometria& g = geometria_;
    int linhas = 0;
    for (const auto& item : itens)
        linhas = std::max(linhas, item.linha);

    QPen regua(Qt::black);
    regua.setWidthF(std::max(1.0, dispositivo_.dpi_y / 96.0));
    p.setPen(regua);
    const double y = cabecalho ? g.regua_cabecalho : g.regua_rodape;
    p.drawLine(QPointF(g.esquerda, y), QPointF(g.direita, y));

    for (const auto& item : itens) {
        const QString texto = expandir(item.texto, n);
        if (texto.isEmpty()) continue;
        const QFontMetrics fm(item.fonte_px);
        const double base =
            cabecalho ? base_cabecalho(g, item.altura, item.ascendente, item.linha, linhas)
                      : base_rodape(g, item.altura, item.ascendente, item.linha);
        const double x = x_item(item.alinhamento, fm.horizontalAdvance(texto), g);
        p.setFont(item.fonte_px);
        p.setPen(Qt::black);
        p.drawText(QPointF(x, base), texto);
    }
}

void DocumentoImpressao::desenhar_pagina(QPainter& p, int n) const {
    if (n < 1 || n > paginas_) return;
    const Geometria& g = geometria_;
    p.save();
    p.fillRect(QRectF(g.esquerda, g.topo, g.largura_corpo(), g.altura_corpo()), Qt::white);
    desenhar_faixas(p, cabecalho_, true, n);

    p.setFont(fonte_corpo_px_);
    p.setPen(Qt::black);
    const int inicio = primeira_linha(n, por_pagina_);
    const int total = linhas_na_pagina(n, linhas_impressas(), por_pagina_);
    double y = g.topo + ascendente_corpo_;
    for (int i = 0; i < total; ++i, y += altura_linha_) {
        const QString texto = texto_trecho(inicio + i);
        if (!texto.isEmpty()) p.drawText(QPointF(g.esquerda, y), texto);
    }

    desenhar_faixas(p, rodape_, false, n);
    p.restore();
}

bool DocumentoImpressao::imprimir(const EscolhaImpressao& escolha, QString* erro,
                                  const Envio& envio) {
    const QPageLayout layout = escolha.pagina();
    constexpr int dpi = kResolucaoImpressao;
    if (escolha.destino.isEmpty()) {
        const QString& caminho = escolha.arquivo_pdf;
        if (caminho.isEmpty()) {
            if (erro) *erro = QString::fromUtf8(kSemImpressora);
            return false;
        }
        return gravar_pdf(*this, caminho, layout, dpi, erro, envio);
    }
    // Drawn as a PDF and handed to the queue over a connection of our own,
    // so a refusal comes back with its reason.
    QByteArray pdf;
    QBuffer memoria(&pdf);
    memoria.open(QIODevice::WriteOnly);
    if (!desenhar_pdf(*this, memoria, layout, dpi, erro)) return false;
    memoria.close();
    const QString destino = escolha.destino;
    const OpcoesCups opcoes = opcoes_da_escolha(escolha);
    int id = 0;
    QString motivo;
    const auto tarefa = [&](const std::atomic<bool>& cancelar) {
        id = enviar_para_cups(destino, titulo_, opcoes, pdf, &motivo, &cancelar);
    };
    const std::atomic<bool> nunca{false};
    if (envio)
        envio(tarefa);
    else
        tarefa(nunca);
    if (id == 0 && erro) *erro = motivo;
    return id != 0;
}

bool imprimir_pdf(DocumentoImpressao& doc, const QString& caminho, QString* erro) {
    // A4 unless the desktop's region measures in inches.
    const bool polegadas = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    const QPageLayout layout(QPageSize(polegadas ? QPageSize::Letter : QPageSize::A4),
                             QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    return gravar_pdf(doc, caminho, layout, kResolucaoImpressao, erro);
}

} // namespace quarvel::printing
