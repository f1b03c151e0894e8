#include "app/traducao.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace quarvel::app {
namespace {

// Texts that Qt 6 asks for under contexts Debian's qtbase_pt_BR does not
// carry yet (the file dialog's type column among them), and the texts of
// `--help`: Qt 6.8 rewrote some of them ("Displays help, including generic
// Qt options.") and Debian 13's translation lacks those. The whole help is
// here, in the words Debian 12's translation uses, so it reads the same on
// every release.
struct Texto {
    const char* contexto;
    const char* original;
    const char* traduzido;
};

constexpr Texto kTextos[] = {
    {"QAbstractFileIconProvider", "Folder", "Pasta"},
    {"QAbstractFileIconProvider", "File", "Arquivo"},
    {"QAbstractFileIconProvider", "Drive", "Unidade"},
    {"QAbstractFileIconProvider", "File Folder", "Pasta de arquivos"},
    {"QAbstractFileIconProvider", "Alias", "Atalho"},
    {"QAbstractFileIconProvider", "Shortcut", "Atalho"},
    {"QAbstractFileIconProvider", "Unknown", "Desconhecido"},
    {"QCommandLineParser", "Displays help on commandline options.",
     "Mostra a ajuda nas opções da linha de comando."},
    {"QCommandLineParser", "Displays help including Qt specific options.",
     "Mostra a ajuda com inclusão das opções específicas do Qt."},
    {"QCommandLineParser", "Displays help, including generic Qt options.",
     "Mostra a ajuda com inclusão das opções genéricas do Qt."},
    {"QCommandLineParser", "Displays version information.", "Mostra informações sobre a versão."},
    {"QCommandLineParser", "Usage: %1", "Uso: %1"},
    {"QCommandLineParser", "Options:", "Opções:"},
    {"QCommandLineParser", "Arguments:", "Argumentos:"},
    {"QCommandLineParser", "[options]", "[opções]"},
};

class TraducaoPropria : public QTranslator {
  public:
    using QTranslator::QTranslator;
    QString translate(const char* contexto, const char* original, const char*, int) const override {
        if (!contexto || !original) return {};
        for (const Texto& t : kTextos)
            if (std::strcmp(t.contexto, contexto) == 0 && std::strcmp(t.original, original) == 0)
                return QString::fromUtf8(t.traduzido);
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

void instalar_traducoes(QCoreApplication& app) {
    // Whatever the machine's locale, what Qt writes by the default locale
    // (dates, numbers of its widgets) is Brazilian, as is every text.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    // Installed last, asked first; it answers only for its own few texts.
    QCoreApplication::installTranslator(new TraducaoPropria(&app));
}

} // namespace quarvel::app
