// Widgets need a QApplication before any benchmark runs; the window
// benchmarks work on the offscreen platform unless told otherwise.
// `quarvel_bench --relatorio` prints the memory and start-up figures instead.
#include <QApplication>
#include <QByteArray>
#include <QString>
#include <benchmark/benchmark.h>
#include <cstring>

namespace quarvel::bench {
int relatorio();
void encerrar();
} // namespace quarvel::bench

namespace {

// The offscreen platform cannot raise the loading window; saying so once per
// load would bury the results.
QtMessageHandler anterior = nullptr;
void filtrar_mensagens(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (texto.contains(QLatin1String("This plugin does not support"))) return;
    if (anterior) anterior(tipo, contexto, texto);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    bool relatorio = false;
    int n = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--relatorio") == 0)
            relatorio = true;
        else
            argv[n++] = argv[i];
    }
    argc = n;
    anterior = qInstallMessageHandler(filtrar_mensagens);
    QApplication app(argc, argv);
    if (relatorio) return quarvel::bench::relatorio();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    quarvel::bench::encerrar();
    return 0;
}
