// Names that are not files a user would mean, and files past what 50,000
// values make: Open, Import and the start-up file of the window, and
// `quarvel --total`, each answer at once with the same message and leave the
// tape as it was. A watchdog fails the run instead of letting it hang.
#include "documents/mensagens.h"
#include "tape/mensagens.h"
#include "tests/app/janela_apoio.h"

#include <QProcess>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace quarvel::app {
namespace {

// Ends the test program, naming what hung, when it is not destroyed in time.
class Vigia {
  public:
    explicit Vigia(std::string oque)
        : oque_(std::move(oque)), fio_([this] {
              std::unique_lock<std::mutex> trava(m_);
              if (!cv_.wait_for(trava, std::chrono::seconds(30), [this] { return fim_; })) {
                  std::fprintf(stderr, "travou: %s\n", oque_.c_str());
                  std::_Exit(1);
              }
          }) {}
    ~Vigia() {
        {
            const std::lock_guard<std::mutex> trava(m_);
            fim_ = true;
        }
        cv_.notify_one();
        fio_.join();
    }

  private:
    std::string oque_;
    std::mutex m_;
    std::condition_variable cv_;
    bool fim_ = false;
    std::thread fio_;
};

struct Saida {
    bool terminou;
    int status;
    QByteArray saida;
    QString erros;
};

// `quarvel --total` as a script runs it; a shell line when it reads a pipe.
Saida rodar_total(const QString& arquivo, const QString& shell = {}) {
    QProcess p;
    if (shell.isEmpty())
        p.start(QStringLiteral(QUARVEL_BINARIO), {QStringLiteral("--total"), arquivo});
    else
        p.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), shell.arg(QStringLiteral(QUARVEL_BINARIO))});
    const bool terminou = p.waitForFinished(30000);
    if (!terminou) p.kill();
    p.waitForFinished();
    return {terminou, p.exitCode(), p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

enum class Tipo { Fifo, Dispositivo, Socket, Pasta, Brancos, Valores, Entrada };

struct Hostil {
    const char* nome;
    Tipo tipo;
    qint64 tamanho;      // bytes of blank lines, or lines of values
    const char* motivo;  // why the file is not opened; nullptr: read, maybe refused
    const char* recusa;  // the refusal of a file that was read; nullptr: taken
    const char* entrada; // Tipo::Entrada: the shell line, %1 the program
    const char* origem;  // Tipo::Entrada: where --total says the refusal is
    friend void PrintTo(const Hostil& h, std::ostream* os) { *os << h.nome; }
};

class EntradaHostil : public JanelaTeste, public ::testing::WithParamInterface<Hostil> {
  protected:
    // The name the case gives, made on disk.
    QString criar() {
        const Hostil& h = GetParam();
        const QString nome = caminho("hostil.txt");
        const QByteArray local = QFile::encodeName(nome);
        switch (h.tipo) {
        case Tipo::Fifo:
            EXPECT_EQ(mkfifo(local.constData(), 0600), 0);
            return nome;
        case Tipo::Dispositivo:
            return QStringLiteral("/dev/zero");
        case Tipo::Socket: {
            const int s = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un endereco{};
            endereco.sun_family = AF_UNIX;
            std::snprintf(endereco.sun_path, sizeof endereco.sun_path, "%s", local.constData());
            EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco), 0);
            EXPECT_EQ(listen(s, 1), 0); // a listening socket would accept a reader
            soquete_ = s;
            return nome;
        }
        case Tipo::Pasta:
            QDir().mkpath(nome);
            return nome;
        case Tipo::Brancos:
        case Tipo::Valores: {
            QFile f(nome);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            if (h.tipo == Tipo::Brancos)
                f.write(QByteArray(h.tamanho, '\n'));
            else
                f.write(QByteArray("1\r\n").repeated(static_cast<int>(h.tamanho)));
            return nome;
        }
        case Tipo::Entrada:
            break;
        }
        return {};
    }
    void TearDown() override {
        if (soquete_ >= 0) ::close(soquete_);
        JanelaTeste::TearDown();
    }
    int soquete_ = -1;
};

TEST_P(EntradaHostil, RespondeLogoEAFitaFicaComoEstava) {
    const Hostil& h = GetParam();
    const QString arquivo = criar();
    const QString esperado = h.motivo ? QString::fromUtf8(documents::kArquivoNaoAberto)
                                            .arg(arquivo, QString::fromUtf8(h.motivo))
                             : h.recusa ? QString::fromUtf8(h.recusa)
                                        : QString();

    if (h.tipo != Tipo::Entrada) {
        adicionar(QStringLiteral("10"));
        adicionar(QStringLiteral("20"));
        // Open and Import, from the window's menu.
        for (const char* comando : {"abrir", "abrir_txt"}) {
            const Vigia vigia(std::string(h.nome) + " " + comando);
            dlg->avisos.clear();
            dlg->respostas = {Dialogos::Resposta::Nao}; // Open: keep the tape unsaved
            dlg->arquivos_abrir = {arquivo};
            executar(comando);
            const bool importa = std::string(comando) == "abrir_txt";
            if (h.motivo || (importa && h.recusa)) {
                EXPECT_EQ(dlg->avisos, QStringList{esperado}) << comando;
                EXPECT_EQ(brutos(), (QStringList{"10", "20"})) << comando;
            } else if (importa) { // blank lines only: an empty tape
                EXPECT_TRUE(dlg->avisos.isEmpty()) << comando;
                EXPECT_TRUE(brutos().isEmpty()) << comando;
            }
        }
        // The file named on the command line, opened as the window shows.
        if (h.motivo) {
            const Vigia vigia(std::string(h.nome) + " ao iniciar");
            auto roteiro = std::make_unique<DialogosRoteiro>();
            DialogosRoteiro* avisos = roteiro.get();
            FormPrincipal outra(std::move(roteiro), arquivo);
            outra.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&outra));
            QApplication::processEvents();
            EXPECT_EQ(avisos->avisos, QStringList{esperado}) << "ao iniciar";
            EXPECT_TRUE(outra.fita().brutos().empty());
        }
    }

    const Saida s = h.tipo == Tipo::Entrada ? rodar_total({}, QString::fromUtf8(h.entrada))
                                            : rodar_total(arquivo);
    ASSERT_TRUE(s.terminou) << "quarvel --total não terminou";
    if (!h.motivo && !h.recusa) {
        EXPECT_EQ(s.status, 0) << s.erros.toStdString();
        EXPECT_TRUE(s.saida.startsWith("R$ 0,00\n")) << s.saida.left(100).toStdString();
        return;
    }
    EXPECT_EQ(s.status, 1);
    EXPECT_TRUE(s.saida.isEmpty());
    // The command line names the file before a refusal that does not.
    const QString origem = h.tipo == Tipo::Entrada ? QString::fromUtf8(h.origem) : arquivo;
    EXPECT_EQ(s.erros, h.motivo ? esperado : origem + QStringLiteral(": ") + esperado);
}

constexpr qint64 kLimite = 13 << 20;
const char* const kEnorme = documents::kGrandeDemais;

INSTANTIATE_TEST_SUITE_P(
    Hostis, EntradaHostil,
    ::testing::Values(
        Hostil{"Fifo", Tipo::Fifo, 0, documents::kEFifo, nullptr, nullptr, nullptr},
        Hostil{"DevZero", Tipo::Dispositivo, 0, documents::kEDispositivo, nullptr, nullptr,
               nullptr},
        Hostil{"Socket", Tipo::Socket, 0, documents::kESocket, nullptr, nullptr, nullptr},
        Hostil{"Pasta", Tipo::Pasta, 0, documents::kEPasta, nullptr, nullptr, nullptr},
        Hostil{"BrancosAlemDoLimite", Tipo::Brancos, kLimite + 1, kEnorme, nullptr, nullptr,
               nullptr},
        // Read, and passed over at once: no string per line.
        Hostil{"BrancosNoLimite", Tipo::Brancos, kLimite, nullptr, nullptr, nullptr, nullptr},
        Hostil{"Valores50001", Tipo::Valores, 50001, nullptr, tape::kMensagemMaximo, nullptr,
               nullptr},
        // Standard input: endless values, endless empty entries (each 0,00),
        // an endless line.
        Hostil{"Yes1NaEntrada", Tipo::Entrada, 0, nullptr, tape::kMensagemMaximo,
               "yes 1 | %1 --total -", "entrada, linha 50001"},
        Hostil{"LinhasVaziasNaEntrada", Tipo::Entrada, 0, nullptr, tape::kMensagemMaximo,
               "yes '' | %1 --total -", "entrada, linha 50001"},
        Hostil{"ZerosNaEntrada", Tipo::Entrada, 0, nullptr, kEnorme, "%1 --total - < /dev/zero",
               "entrada"}),
    [](const ::testing::TestParamInfo<Hostil>& i) { return std::string(i.param.nome); });

} // namespace
} // namespace quarvel::app
