#include "servidor_cups.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <cups/cups.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace apoio {

namespace {

const char* const kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

QString programa(const char* nome) {
    const QStringList lugares = {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                 QStringLiteral("/sbin"), QStringLiteral("/bin")};
    QString r = QStandardPaths::findExecutable(QString::fromLatin1(nome));
    if (r.isEmpty()) r = QStandardPaths::findExecutable(QString::fromLatin1(nome), lugares);
    return r;
}

bool gravar(const QString& caminho, const QString& texto) {
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(texto.toUtf8()) >= 0;
}

bool respondendo(const QByteArray& socket) {
    http_t* http = httpConnect2(socket.constData(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1,
                                500, nullptr);
    if (!http) return false;
    httpClose(http);
    return true;
}

} // namespace

ServidorCups::ServidorCups() : pasta_(QDir::tempPath() + QStringLiteral("/quarvel-cups-XXXXXX")) {}

ServidorCups::~ServidorCups() {
    parar();
}

QString ServidorCups::socket() const {
    return pasta_.filePath(QStringLiteral("cups.sock"));
}
QString ServidorCups::pasta_spool() const {
    return pasta_.filePath(QStringLiteral("spool"));
}
QString ServidorCups::log_erros() const {
    QFile f(pasta_.filePath(QStringLiteral("log/error_log")));
    QString r = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    QFile saida(pasta_.filePath(QStringLiteral("cupsd.out")));
    if (saida.open(QIODevice::ReadOnly)) r += QString::fromUtf8(saida.readAll());
    return r;
}

bool ServidorCups::iniciar(QString* motivo) {
    auto falha = [&](const QString& m) {
        *motivo = m;
        parar();
        return false;
    };
    if (::geteuid() != 0)
        return falha(QStringLiteral("o cupsd privado só pode ser iniciado como root"));
    const QString cupsd = programa("cupsd");
    if (cupsd.isEmpty())
        return falha(
            QStringLiteral("cupsd não está instalado (scripts/deps instala o pacote cups)"));
    for (const char* p : {"lpadmin", "cupsdisable", "cupsreject", "cupsaccept", "pdfinfo"})
        if (programa(p).isEmpty())
            return falha(QStringLiteral("%1 não está instalado").arg(QString::fromLatin1(p)));
    if (!QFileInfo::exists(QString::fromLatin1(kPpd)))
        return falha(QStringLiteral("o driver cups-pdf não está instalado (%1)")
                         .arg(QString::fromLatin1(kPpd)));
    if (!pasta_.isValid())
        return falha(QStringLiteral("não foi possível criar a pasta temporária"));

    const QString raiz = pasta_.path();
    for (const char* sub : {"etc", "spool/tmp", "cache", "state", "log", "ssl"})
        QDir(raiz).mkpath(QString::fromLatin1(sub));
    const QString arquivos = raiz + QStringLiteral("/etc/cups-files.conf");
    const QString conf = raiz + QStringLiteral("/etc/cupsd.conf");
    const bool gravou = gravar(arquivos, QStringLiteral("ServerRoot %1/etc\n"
                                                        "RequestRoot %1/spool\n"
                                                        "TempDir %1/spool/tmp\n"
                                                        "CacheDir %1/cache\n"
                                                        "StateDir %1/state\n"
                                                        "ServerKeychain %1/ssl\n"
                                                        "Printcap %1/printcap\n"
                                                        "AccessLog %1/log/access_log\n"
                                                        "ErrorLog %1/log/error_log\n"
                                                        "PageLog %1/log/page_log\n"
                                                        "ServerBin /usr/lib/cups\n"
                                                        "DataDir /usr/share/cups\n"
                                                        "DocumentRoot /usr/share/cups/doc-root\n"
                                                        "FatalErrors config\n")
                                             .arg(raiz)) &&
                        gravar(conf, QStringLiteral("Listen %1\n"
                                                    "Browsing No\n"
                                                    "BrowseLocalProtocols none\n"
                                                    "WebInterface No\n"
                                                    "LogLevel warn\n"
                                                    "PreserveJobFiles Yes\n"
                                                    "PreserveJobHistory Yes\n"
                                                    "DefaultAuthType None\n"
                                                    "<Policy default>\n"
                                                    "  JobPrivateAccess all\n"
                                                    "  JobPrivateValues none\n"
                                                    "  SubscriptionPrivateAccess all\n"
                                                    "  SubscriptionPrivateValues none\n"
                                                    "  <Limit All>\n"
                                                    "    Order deny,allow\n"
                                                    "  </Limit>\n"
                                                    "</Policy>\n")
                                         .arg(socket()));
    if (!gravou) return falha(QStringLiteral("não foi possível gravar a configuração do cupsd"));

    // Everything is prepared before fork: the child only redirects and execs.
    const QByteArray exe = QFile::encodeName(cupsd);
    const QByteArray a_conf = QFile::encodeName(conf);
    const QByteArray a_arquivos = QFile::encodeName(arquivos);
    const QByteArray saida = QFile::encodeName(raiz + QStringLiteral("/cupsd.out"));
    const pid_t pai = ::getpid();
    pid_ = ::fork();
    if (pid_ < 0) return falha(QStringLiteral("fork falhou"));
    if (pid_ == 0) {
        // The scheduler dies with the test process, even when it crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != pai) ::_exit(127);
        const int fd = ::open(saida.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) {
            ::dup2(fd, 1);
            ::dup2(fd, 2);
        }
        const int nulo = ::open("/dev/null", O_RDONLY);
        if (nulo >= 0) ::dup2(nulo, 0);
        ::execl(exe.constData(), "cupsd", "-f", "-c", a_conf.constData(), "-s",
                a_arquivos.constData(), static_cast<char*>(nullptr));
        ::_exit(127);
    }

    // This process's libcups and the programs it starts use this scheduler.
    const QByteArray sock = QFile::encodeName(socket());
    qputenv("CUPS_SERVER", sock);
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    cupsSetServer(sock.constData());

    QElapsedTimer relogio;
    relogio.start();
    while (!respondendo(sock)) {
        int estado = 0;
        if (::waitpid(pid_, &estado, WNOHANG) == pid_) {
            pid_ = -1;
            return falha(QStringLiteral("o cupsd privado não iniciou: %1").arg(log_erros()));
        }
        if (relogio.elapsed() > 15000)
            return falha(
                QStringLiteral("o cupsd privado não respondeu em 15 s: %1").arg(log_erros()));
        QThread::msleep(50);
    }

    const QString f = QString::fromLatin1(fila);
    QString saida_cmd;
    if (!rodar(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), f, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), QString::fromLatin1(kPpd)},
               &saida_cmd) ||
        !rodar(QStringLiteral("lpadmin"), {QStringLiteral("-d"), f}, &saida_cmd) ||
        // Paused: jobs stay queued with their documents, and no filter or
        // backend ever writes outside the temporary folder.
        !rodar(QStringLiteral("cupsdisable"), {f}, &saida_cmd))
        return falha(QStringLiteral("a fila %1 não pôde ser criada: %2").arg(f, saida_cmd));
    return true;
}

void ServidorCups::congelar() {
    if (pid_ > 0) ::kill(pid_, SIGSTOP);
}

void ServidorCups::descongelar() {
    if (pid_ > 0) ::kill(pid_, SIGCONT);
}

void ServidorCups::parar() {
    if (pid_ <= 0) return;
    descongelar(); // a stopped scheduler would not see the SIGTERM
    ::kill(pid_, SIGTERM);
    QElapsedTimer relogio;
    relogio.start();
    int estado = 0;
    while (::waitpid(pid_, &estado, WNOHANG) == 0) {
        if (relogio.elapsed() > 5000) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &estado, 0);
            break;
        }
        QThread::msleep(20);
    }
    pid_ = -1;
    cupsSetServer(nullptr);
    qunsetenv("CUPS_SERVER");
}

bool ServidorCups::rodar(const QString& nome, const QStringList& argumentos, QString* saida) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), socket());
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa(nome.toLatin1().constData()), argumentos);
    const bool terminou = p.waitForFinished(20000);
    if (!terminou) {
        p.kill();
        p.waitForFinished(2000);
    }
    if (saida) *saida = QString::fromUtf8(p.readAll());
    return terminou && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool ServidorCups::recusar() {
    return rodar(QStringLiteral("cupsreject"), {QString::fromLatin1(fila)});
}
bool ServidorCups::aceitar() {
    return rodar(QStringLiteral("cupsaccept"), {QString::fromLatin1(fila)});
}

std::vector<ServidorCups::Trabalho> ServidorCups::trabalhos() const {
    std::vector<Trabalho> r;
    cups_job_t* lista = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &lista, fila, 0, CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < n; ++i) {
        Trabalho t;
        t.id = lista[i].id;
        t.titulo = QString::fromUtf8(lista[i].title);
        const QString doc =
            QStringLiteral("%1/d%2-001").arg(pasta_spool()).arg(t.id, 5, 10, QLatin1Char('0'));
        if (QFileInfo::exists(doc)) t.documento = doc;
        r.push_back(t);
    }
    cupsFreeJobs(n, lista);
    return r;
}

QMap<QString, QString> ServidorCups::atributos(int id) const {
    QMap<QString, QString> r;
    ipp_t* pedido = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = QStringLiteral("ipp://localhost/jobs/%1").arg(id).toUtf8();
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ipp_t* resposta = cupsDoRequest(CUPS_HTTP_DEFAULT, pedido, "/");
    if (!resposta) return r;
    char texto[2048];
    for (ipp_attribute_t* a = ippFirstAttribute(resposta); a; a = ippNextAttribute(resposta)) {
        if (ippGetGroupTag(a) != IPP_TAG_JOB || !ippGetName(a)) continue;
        ippAttributeString(a, texto, sizeof texto);
        r.insert(QString::fromUtf8(ippGetName(a)), QString::fromUtf8(texto));
    }
    ippDelete(resposta);
    return r;
}

ServidorMudo::~ServidorMudo() {
    for (int fd : aceitas_)
        ::close(fd);
    if (escuta_ >= 0) {
        ::close(escuta_);
        cupsSetServer(nullptr);
        qunsetenv("CUPS_SERVER");
    }
}

bool ServidorMudo::iniciar(QString* motivo) {
    escuta_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    endereco.sin_port = 0; // any free port
    socklen_t tamanho = sizeof endereco;
    if (escuta_ < 0 || ::bind(escuta_, reinterpret_cast<sockaddr*>(&endereco), tamanho) != 0 ||
        ::listen(escuta_, 16) != 0 ||
        ::getsockname(escuta_, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) {
        *motivo = QStringLiteral("não foi possível escutar em 127.0.0.1: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const QByteArray servidor = "127.0.0.1:" + QByteArray::number(ntohs(endereco.sin_port));
    qputenv("CUPS_SERVER", servidor);
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    cupsSetServer(servidor.constData());
    return true;
}

int ServidorMudo::conexoes() {
    for (int fd; (fd = ::accept4(escuta_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
        aceitas_.push_back(fd);
    return int(aceitas_.size());
}

int paginas_do_pdf(const QString& arquivo) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {arquivo});
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(2000);
        return -1;
    }
    const QRegularExpression re(QStringLiteral("^Pages:\\s+(\\d+)"),
                                QRegularExpression::MultilineOption);
    const auto m = re.match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace apoio
