#include "app/linha_comando.h"

#include "app/mensagens.h"
#include "app/traducao.h"
#include "calc/dinheiro.h"
#include "documents/arquivo_calculo.h"
#include "documents/arquivos.h"
#include "documents/limite_leitura.h"
#include "documents/mensagens.h"
#include "documents/texto.h"
#include "gravacao/descritores.h"
#include "printing/documento_impressao.h"
#include "printing/mensagens.h"
#include "tape/mensagens.h"
#include "tape/regra_entrada.h"
#include "tape/total.h"

#include <QCommandLineParser>
#include <QDebug>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string_view>
#include <unistd.h>

namespace quarvel::app {
namespace {

struct FitaLida {
    std::vector<std::string> brutos;
    std::vector<std::string> linhas;
    documents::Configuracao config;
};

void erro(const QString& texto) {
    std::cerr << texto.toStdString() << '\n';
}

// A refusal of an input line: where it is, then why.
void erro_na_linha(const QString& origem, int numero, const QString& motivo) {
    erro(QStringLiteral("%1, linha %2: %3").arg(origem).arg(numero).arg(motivo));
}

// A refusal whose text does not name the file: the file first.
void erro_no_arquivo(const QString& caminho, const QString& motivo) {
    erro(QStringLiteral("%1: %2").arg(caminho, motivo));
}

QString de_utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string_view vista(const QByteArray& b) {
    return {b.constData(), static_cast<std::size_t>(b.size())};
}

// Entry texts, one a line, each converted as the add command converts the
// entry field. A malformed entry, or one past the limit, refuses the whole
// input.
class LeitorEntradas {
  public:
    LeitorEntradas(QString origem, FitaLida& fita) : origem_(std::move(origem)), fita_(fita) {}

    bool linha(std::string_view linha) {
        if (!linha.empty() && linha.back() == '\r') linha.remove_suffix(1);
        ++numero_;
        const tape::Conversao c = tape::converter_entrada(linha);
        if (tape::entrada_recusada(linha, c)) {
            erro_na_linha(origem_, numero_,
                          de_utf8(tape::expressao_invalida(linha, c.posicao_erro)));
            return false;
        }
        if (fita_.brutos.size() >= tape::kMaximoValores) {
            erro_na_linha(origem_, numero_, QString::fromUtf8(tape::kMensagemMaximo));
            return false;
        }
        fita_.linhas.push_back(calc::linha_fita(c.bruto));
        fita_.brutos.push_back(c.bruto);
        return true;
    }

  private:
    QString origem_;
    FitaLida& fita_;
    int numero_ = 0;
};

// Standard input, converted line by line as it arrives: reading stops at
// the entry past the limit, and at the byte past the size a file of 50,000
// values can have, so an endless input ends too.
bool ler_entrada_padrao(FitaLida& fita) {
    const QString origem = QStringLiteral("entrada");
    LeitorEntradas entradas(origem, fita);
    std::string pendente;
    std::size_t lidos = 0;
    char bloco[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, bloco, sizeof bloco);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            erro_no_arquivo(origem, documents::motivo_do_sistema(errno));
            return false;
        }
        if (n == 0) break;
        lidos += static_cast<std::size_t>(n);
        if (lidos > documents::kMaximoBytesLeitura) {
            erro_no_arquivo(origem, QString::fromUtf8(documents::kGrandeDemais));
            return false;
        }
        // What was kept holds no line break: only the new block is searched.
        std::size_t busca = pendente.size();
        pendente.append(bloco, static_cast<std::size_t>(n));
        std::size_t inicio = 0;
        for (std::size_t fim; (fim = pendente.find('\n', busca)) != std::string::npos;
             inicio = busca = fim + 1)
            if (!entradas.linha(std::string_view(pendente).substr(inicio, fim - inicio)))
                return false;
        pendente.erase(0, inicio);
    }
    return pendente.empty() || entradas.linha(pendente);
}

// A calculation file through the document loader, any other file through the
// text import, with their refusals.
bool ler_arquivo_fita(const QString& caminho, FitaLida& fita) {
    QString motivo;
    const auto bytes = documents::ler_arquivo(caminho, &motivo);
    if (!bytes) {
        erro(QString::fromUtf8(documents::kArquivoNaoAberto).arg(caminho, motivo));
        return false;
    }
    // The window's refusals, with the file named first where they do not
    // name it themselves.
    auto recusar = [&caminho](const std::string& mensagem, bool excede) {
        if (excede)
            erro_no_arquivo(caminho, QString::fromStdString(mensagem));
        else
            erro(QString::fromStdString(mensagem));
        return false;
    };
    const std::string nome = caminho.toStdString();
    std::vector<std::string> brutos, linhas;
    if (caminho.endsWith(QLatin1String(".qvl"), Qt::CaseInsensitive)) {
        // The window asks whether to open the copy an interrupted save left;
        // here no total is given until the user has chosen.
        if (const QString copia = documents::copia_interrompida(caminho); !copia.isEmpty())
            return recusar(QString::fromUtf8(documents::kSalvamentoInterrompidoSemPergunta)
                               .arg(caminho, copia)
                               .toStdString(),
                           false);
        documents::CargaCalculo carga = documents::carregar_calculo(vista(*bytes));
        if (carga.estado != documents::CargaCalculo::Estado::Ok)
            return recusar(documents::mensagem_carga(carga, nome),
                           carga.estado == documents::CargaCalculo::Estado::ExcedeMaximo);
        fita.config = carga.doc.config;
        brutos = std::move(carga.doc.brutos);
        linhas = std::move(carga.linhas);
    } else {
        documents::LeituraTexto leitura = documents::ler_texto(vista(*bytes));
        if (leitura.estado != documents::LeituraTexto::Estado::Ok)
            return recusar(documents::mensagem_leitura(leitura, nome),
                           leitura.estado == documents::LeituraTexto::Estado::ExcedeMaximo);
        brutos = std::move(leitura.brutos);
        linhas = std::move(leitura.linhas);
    }
    if (fita.brutos.size() + brutos.size() > tape::kMaximoValores)
        return recusar(tape::kMensagemMaximo, true);
    fita.brutos.insert(fita.brutos.end(), brutos.begin(), brutos.end());
    fita.linhas.insert(fita.linhas.end(), linhas.begin(), linhas.end());
    return true;
}

bool ler_fontes(const QStringList& arquivos, FitaLida& fita) {
    if (arquivos.isEmpty()) return ler_entrada_padrao(fita);
    for (const QString& a : arquivos) {
        const bool ok =
            a == QLatin1String("-") ? ler_entrada_padrao(fita) : ler_arquivo_fita(a, fita);
        if (!ok) return false;
    }
    return true;
}

int mostrar_total(const QStringList& arquivos) {
    FitaLida fita;
    if (!ler_fontes(arquivos, fita)) return 1;
    const tape::TextosTotal total = tape::textos_total(fita.brutos);
    std::string saida;
    for (const std::string& l : fita.linhas)
        saida += l + '\n';
    saida += total.figuras + '\n';
    saida += total.extenso + '\n';
    // Straight to the descriptor, every write and the close checked: a
    // full disk or a closed pipe must not pass for a printed total.
    std::fflush(stdout);
    const bool escrito = gravacao::escrever_tudo(STDOUT_FILENO, saida.data(), saida.size()) &&
                         (::close(STDOUT_FILENO) == 0 || errno == EINTR);
    if (!escrito) {
        erro(QString::fromUtf8(kFalhaSaida).arg(documents::motivo_do_sistema(errno)));
        return 1;
    }
    return 0;
}

int gerar_pdf(const QString& saida, const QString& arquivo) {
    FitaLida fita;
    if (!ler_fontes({arquivo}, fita)) return 1;
    // As in the window, whose Print is disabled on an empty tape.
    if (fita.linhas.empty()) {
        erro(QString::fromUtf8(printing::kFitaVazia));
        return 1;
    }
    printing::ConteudoImpressao c;
    for (const std::string& l : fita.linhas)
        c.linhas_fita.append(QString::fromStdString(l));
    c.total = QString::fromStdString(tape::textos_total(fita.brutos).figuras);
    c.cabecalho = QString::fromStdString(fita.config.cabecalho);
    c.rodape = QString::fromStdString(fita.config.rodape);
    c.titulo = QString::fromUtf8(printing::kTituloImpressao);
    printing::DocumentoImpressao doc;
    doc.preparar(c);
    QString motivo;
    if (!printing::imprimir_pdf(doc, saida, &motivo)) {
        erro(QString::fromUtf8(printing::kFalhaImpressao).arg(motivo));
        return 1;
    }
    return 0;
}

} // namespace

namespace {

// Qt's own options, which the window form takes (`quarvel -platform xcb
// ARQUIVO`) and `--help-all` lists; given with one dash or two, some with
// "=value".
constexpr const char* kOpcoesDoQt[] = {"platform",        "platformpluginpath",
                                       "platformtheme",   "plugin",
                                       "qwindowgeometry", "geometry",
                                       "qwindowicon",     "icon",
                                       "qwindowtitle",    "title",
                                       "reverse",         "session",
                                       "display",         "name",
                                       "style",           "stylesheet",
                                       "widgetcount",     "qmljsdebugger",
                                       "testability",     "nograb",
                                       "dograb",          "visual",
                                       "ncols",           "cmap"};

bool e_opcao(std::string_view argumento) {
    return argumento.size() > 1 && argumento[0] == '-';
}

// "--style=fusion" -> "style".
std::string_view nome_da_opcao(std::string_view opcao) {
    opcao.remove_prefix(opcao.compare(0, 2, "--") == 0 ? 2 : 1);
    return opcao.substr(0, opcao.find('='));
}

bool opcao_do_qt(std::string_view opcao) {
    for (const char* nome : kOpcoesDoQt)
        if (nome_da_opcao(opcao) == nome) return true;
    return false;
}

} // namespace

bool modo_sem_janela(int argc, char** argv) {
    // Every option but Qt's own belongs to the forms without a window; an
    // unknown one is refused there, where no display is needed to say so.
    // A lone "-" is standard input, not an option.
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (e_opcao(a) && !opcao_do_qt(a)) return true;
    }
    return false;
}

namespace {

// Why the parser refused the arguments, in our words: Qt's own are English
// unless its translation is installed.
QString recusa_dos_argumentos(const QCommandLineParser& parser) {
    if (const QStringList nomes = parser.unknownOptionNames(); !nomes.isEmpty()) {
        const QString& nome = nomes.first();
        const QString traco = nome.size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        return QString::fromUtf8(kOpcaoDesconhecida).arg(traco + nome);
    }
    const QStringList argumentos = QCoreApplication::arguments();
    for (const QString& a : argumentos.mid(1)) {
        const std::string nome(nome_da_opcao(a.toStdString()));
        if (e_opcao(a.toStdString()) && a.contains(QLatin1Char('=')) && nome != "pdf")
            return QString::fromUtf8(kOpcaoSemValor).arg(a.section(QLatin1Char('='), 0, 0));
    }
    // The one option that takes a value, given without it.
    if (argumentos.last() == QLatin1String("--pdf") || argumentos.last() == QLatin1String("-pdf"))
        return QString::fromUtf8(kUsoPdf);
    return parser.errorText();
}

} // namespace

int executar_sem_janela(int argc, char** argv) {
    // The PDF needs fonts and a painter, never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Scripts read standard error: only our own messages go there.
    qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
        if (tipo == QtCriticalMsg || tipo == QtFatalMsg) std::cerr << texto.toStdString() << '\n';
    });
    QGuiApplication app(argc, argv);
    instalar_traducoes(app);
    QCoreApplication::setApplicationName(QStringLiteral("quarvel"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(kVersao));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kTituloAplicacao));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption total(QStringLiteral("total"), QString::fromUtf8(kOpcaoTotal));
    QCommandLineOption pdf(QStringLiteral("pdf"), QString::fromUtf8(kOpcaoPdf),
                           QStringLiteral("saida"));
    parser.addOption(total);
    parser.addOption(pdf);
    parser.addPositionalArgument(QStringLiteral("arquivos"), QString::fromUtf8(kArgumentoArquivos));
    if (!parser.parse(QCoreApplication::arguments())) {
        erro(recusa_dos_argumentos(parser));
        erro(QString::fromUtf8(kVejaAAjuda));
        return 1;
    }
    // --help, --help-all and --version print and end here.
    parser.process(app);

    const QStringList arquivos = parser.positionalArguments();
    if (parser.isSet(pdf)) {
        if (arquivos.size() != 1) {
            erro(QString::fromUtf8(kUsoPdf));
            return 1;
        }
        return gerar_pdf(parser.value(pdf), arquivos.first());
    }
    if (parser.isSet(total)) return mostrar_total(arquivos);
    parser.showHelp(1);
}

} // namespace quarvel::app
