#pragma once
// A private CUPS scheduler for tests: its own configuration, spool, logs and
// state in a temporary folder, listening only on a unix socket of its own, with
// one paused PDF queue (the cups-pdf driver) as the default destination. Jobs
// wait in the paused queue with their documents kept in the spool, so a test
// can read what reached the server. This process's libcups and every program
// it starts talk to this scheduler (CUPS_SERVER). Nothing of the system's own
// print service is touched.
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <sys/types.h>
#include <vector>

namespace apoio {

class ServidorCups {
  public:
    static constexpr const char* fila = "Quarvel_PDF";

    ServidorCups();
    ~ServidorCups(); // stops the scheduler, also after a failed test

    // Starts the scheduler and sets the queue up. False, with the reason, when
    // this machine cannot run one (not root, CUPS or the PDF driver missing).
    bool iniciar(QString* motivo);
    void parar();
    // The scheduler stops answering (SIGSTOP), and answers again (SIGCONT).
    void congelar();
    void descongelar();

    QString socket() const;
    QString pasta_spool() const;
    QString log_erros() const; // the scheduler's error log, for failure messages

    // The queue stops or starts accepting jobs (cupsreject / cupsaccept).
    bool recusar();
    bool aceitar();

    struct Trabalho {
        int id = 0;
        QString titulo;
        QString documento; // the spooled file, "" when there is none
    };
    // Every job the queue has seen, finished or not.
    std::vector<Trabalho> trabalhos() const;
    // The job's attributes, each as its text form ("copies" -> "1").
    QMap<QString, QString> atributos(int id) const;

    // Runs a CUPS command-line program against this scheduler; false with
    // its output in *saida when it fails or takes longer than 20 s.
    bool rodar(const QString& programa, const QStringList& argumentos, QString* saida = nullptr);

  private:
    QTemporaryDir pasta_;
    pid_t pid_ = -1;
};

// A print server that takes connections and never answers: a socket on
// loopback that listens and reads nothing, so a connection completes and
// every request waits forever. While it lives, this process's libcups and
// the threads it starts talk to it (CUPS_SERVER).
class ServidorMudo {
  public:
    ServidorMudo() = default;
    ~ServidorMudo();
    ServidorMudo(const ServidorMudo&) = delete;
    ServidorMudo& operator=(const ServidorMudo&) = delete;

    bool iniciar(QString* motivo);
    // The connections made to it so far (each is taken and kept open, so
    // the client keeps waiting on it).
    int conexoes();

  private:
    int escuta_ = -1;
    std::vector<int> aceitas_;
};

// The page count of a PDF file as pdfinfo reports it; -1 when unreadable.
int paginas_do_pdf(const QString& arquivo);

} // namespace apoio
