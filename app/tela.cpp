#include "app/tela.h"

#include "app/mensagens.h"

#include <QDebug>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <iostream>
#include <string_view>
#include <utility>

namespace quarvel::app {
namespace {

// "-platform", "--platform" and either with "=value": Qt is told where to go.
bool opcao_platform(std::string_view a) {
    if (a.size() < 2 || a[0] != '-') return false;
    a.remove_prefix(a.compare(0, 2, "--") == 0 ? 2 : 1);
    return a.substr(0, a.find('=')) == "platform";
}

void erro(const QString& texto) {
    std::cerr << texto.toStdString() << '\n';
}

} // namespace

bool tela_disponivel(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (opcao_platform(argv[i])) return true;
    for (const char* variavel : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* valor = std::getenv(variavel);
        if (valor && *valor) return true;
    }
    return false;
}

namespace {

QtMessageHandler anterior = nullptr;
QStringList mensagens_da_abertura;

QString tela_tentada() {
    QStringList r;
    for (const char* variavel : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(variavel))
            r << QStringLiteral("%1=%2").arg(QLatin1String(variavel),
                                             qEnvironmentVariable(variavel));
    return r.join(QLatin1Char(' '));
}

} // namespace

void vigiar_abertura_da_tela() {
    mensagens_da_abertura.clear();
    anterior =
        qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
            if (tipo != QtFatalMsg) {
                mensagens_da_abertura << texto;
                return;
            }
            // Qt would abort (status 134, a core file): our words, status 1.
            erro(QString::fromUtf8(kTelaRecusada).arg(tela_tentada()));
            for (const QString& m : std::as_const(mensagens_da_abertura))
                erro(m);
            std::_Exit(1);
        });
}

void tela_aberta() {
    qInstallMessageHandler(anterior);
    // What Qt said while it opened goes where it would have gone.
    for (const QString& m : std::as_const(mensagens_da_abertura))
        qWarning().noquote() << m;
    mensagens_da_abertura.clear();
}

} // namespace quarvel::app
