#pragma once
// One window per backup name: the window that writes a backup file holds an
// exclusive lock (flock) on a hidden lock file beside it,
// ".<file>.trava". The system lets it go when the window closes or dies,
// so a lock is never left behind by a killed window; clearing the Backup
// folder deletes the lock files nobody holds.
#include <QString>

namespace quarvel::backup {

class TravaBackup {
  public:
    TravaBackup() = default;
    ~TravaBackup() { soltar(); }
    TravaBackup(const TravaBackup&) = delete;
    TravaBackup& operator=(const TravaBackup&) = delete;

    enum class Resultado { Obtida, EmUso, Falhou };

    // Takes the lock of the backup file `arquivo` (its path), letting go of
    // any other this object held. Falhou gives the reason in *erro.
    Resultado tomar(const QString& arquivo, QString* erro = nullptr);
    void soltar();

    // The backup file whose lock is held; empty when none is.
    const QString& arquivo() const { return arquivo_; }

    // The lock file of a backup file.
    static QString arquivo_trava(const QString& arquivo);

  private:
    int fd_ = -1;
    int tentativas_ = 0;
    QString arquivo_;
};

} // namespace quarvel::backup
