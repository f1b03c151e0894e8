// Build-time tool: renders the program's SVG icon as the PNG sizes of the
// hicolor theme, with the project's own Qt Svg, so the package needs no
// converter of its own.
//   quarvel_icones_png ICONE.svg PASTA TAMANHO...
// writes PASTA/NxN/apps/quarvel.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "uso: %s ICONE.svg PASTA TAMANHO...\n", argv[0]);
        return 2;
    }
    // Drawing into an image needs no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "%s: SVG inválido\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int lado = QString::fromLatin1(argv[i]).toInt();
        if (lado <= 0) {
            std::fprintf(stderr, "tamanho inválido: %s\n", argv[i]);
            return 2;
        }
        QImage imagem(lado, lado, QImage::Format_ARGB32_Premultiplied);
        imagem.fill(Qt::transparent);
        QPainter p(&imagem);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p, QRectF(0, 0, lado, lado));
        p.end();
        const QString pasta =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(lado);
        if (!QDir().mkpath(pasta) || !imagem.convertToFormat(QImage::Format_ARGB32)
                                          .save(pasta + QStringLiteral("/quarvel.png"), "PNG")) {
            std::fprintf(stderr, "%s: não foi possível gravar\n", qPrintable(pasta));
            return 1;
        }
    }
    return 0;
}
