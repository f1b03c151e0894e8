#pragma once
// The short confirmation beep played when an amount goes onto the tape.
#include <QByteArray>
#include <QObject>
#include <memory>

class QSoundEffect;
class QTemporaryFile;

namespace quarvel::app {

// Format of the clip: 8-bit unsigned mono PCM at 11,025 Hz.
inline constexpr int som_taxa = 11025;
inline constexpr int som_amostras = 7507;

// The clip as a complete WAV file (RIFF header, "fmt " and "data" chunks).
QByteArray clip_confirmacao_wav();

// Plays the clip asynchronously. A new tocar() cuts off a clip still
// playing. Without a usable audio output the object stays silent.
class SomConfirmacao : public QObject {
    Q_OBJECT
  public:
    explicit SomConfirmacao(QObject* parent = nullptr);
    ~SomConfirmacao() override;

    void tocar() noexcept;

    // False once the player could not be prepared (no device, no file).
    bool disponivel() const { return !falhou_; }

  private:
    bool preparar();

    std::unique_ptr<QTemporaryFile> arquivo_;
    QSoundEffect* efeito_ = nullptr;
    bool falhou_ = false;
};

} // namespace quarvel::app
