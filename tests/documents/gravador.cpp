// A process that saves two documents over the same file, one after the
// other, until it is killed. "pronto" on standard output after the first.
#include "documents/arquivos.h"

#include <QFile>

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) return 2;
    QFile a(QString::fromLocal8Bit(argv[2])), b(QString::fromLocal8Bit(argv[3]));
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly)) return 2;
    const QByteArray docs[] = {a.readAll(), b.readAll()};
    const QString destino = QString::fromLocal8Bit(argv[1]);
    QString erro;
    for (unsigned i = 0;; ++i) {
        if (!quarvel::documents::gravar_atomico(destino, docs[i % 2], &erro)) return 1;
        if (i == 0) {
            std::puts("pronto");
            std::fflush(stdout);
        }
    }
}
