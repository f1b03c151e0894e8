#include "apoio_pdf.h"

#include <QProcess>

namespace apoio {

namespace {
QString rodar(const QString& programa, const QStringList& argumentos) {
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

QStringList paginas_pdf(const QString& arquivo) {
    QStringList paginas = rodar(QStringLiteral("pdftotext"),
                                {QStringLiteral("-layout"), arquivo, QStringLiteral("-")})
                              .split(QLatin1Char('\f'));
    // pdftotext ends the last page with a form feed too.
    if (!paginas.isEmpty() && paginas.last().trimmed().isEmpty()) paginas.removeLast();
    return paginas;
}

QString info_pdf(const QString& arquivo) {
    return rodar(QStringLiteral("pdfinfo"), {arquivo});
}

QStringList linhas(const QString& pagina) {
    QStringList r;
    for (const QString& l : pagina.split(QLatin1Char('\n')))
        if (!l.trimmed().isEmpty()) r.append(l.trimmed());
    return r;
}

quarvel::printing::ConteudoImpressao fita(int n, const QString& cabecalho, const QString& rodape,
                                          const QString& titulo) {
    quarvel::printing::ConteudoImpressao c;
    for (int i = 1; i <= n; ++i)
        c.linhas_fita.append(QStringLiteral("%1,00").arg(i));
    c.total = QStringLiteral("R$ %1,00").arg(static_cast<qint64>(n) * (n + 1) / 2);
    c.cabecalho = cabecalho;
    c.rodape = rodape;
    c.titulo = titulo;
    return c;
}

} // namespace apoio
