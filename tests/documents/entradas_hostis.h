#pragma once
// Names that are not files a user would mean, and files past what 50,000
// values make: one table for every reader that takes a name (Open, Import
// and the start-up file in tests/documents, `quarvel --total` in tests/app),
// each answering at once with the same message. A watchdog fails the run
// instead of letting it hang.
#include "documents/mensagens.h"
#include "tape/mensagens.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace quarvel::testes {

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

// What a reader says of the case's name: the reason it was not opened, the
// refusal of what it read, or nothing.
inline QString aviso_esperado(const Hostil& h, const QString& arquivo) {
    return h.motivo ? QString::fromUtf8(documents::kArquivoNaoAberto)
                          .arg(arquivo, QString::fromUtf8(h.motivo))
           : h.recusa ? QString::fromUtf8(h.recusa)
                      : QString();
}

// The name the case gives, made on disk as `nome`; a listening socket is
// left open in *soquete for the caller to close.
inline QString criar_hostil(const Hostil& h, const QString& nome, int* soquete) {
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
        *soquete = s;
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

inline constexpr qint64 kLimiteLeitura = 13 << 20;

inline const Hostil kHostis[] = {
    {"Fifo", Tipo::Fifo, 0, documents::kEFifo, nullptr, nullptr, nullptr},
    {"DevZero", Tipo::Dispositivo, 0, documents::kEDispositivo, nullptr, nullptr, nullptr},
    {"Socket", Tipo::Socket, 0, documents::kESocket, nullptr, nullptr, nullptr},
    {"Pasta", Tipo::Pasta, 0, documents::kEPasta, nullptr, nullptr, nullptr},
    {"BrancosAlemDoLimite", Tipo::Brancos, kLimiteLeitura + 1, documents::kGrandeDemais, nullptr,
     nullptr, nullptr},
    // Read, and passed over at once: no string per line.
    {"BrancosNoLimite", Tipo::Brancos, kLimiteLeitura, nullptr, nullptr, nullptr, nullptr},
    {"Valores50001", Tipo::Valores, 50001, nullptr, tape::kMensagemMaximo, nullptr, nullptr},
    // Standard input: endless values, endless empty entries (each 0,00), an
    // endless line.
    {"Yes1NaEntrada", Tipo::Entrada, 0, nullptr, tape::kMensagemMaximo, "yes 1 | %1 --total -",
     "entrada, linha 50001"},
    {"LinhasVaziasNaEntrada", Tipo::Entrada, 0, nullptr, tape::kMensagemMaximo,
     "yes '' | %1 --total -", "entrada, linha 50001"},
    {"ZerosNaEntrada", Tipo::Entrada, 0, nullptr, documents::kGrandeDemais,
     "%1 --total - < /dev/zero", "entrada"},
};

inline std::string nome_hostil(const ::testing::TestParamInfo<Hostil>& i) {
    return i.param.nome;
}

} // namespace quarvel::testes
