#include "app/som.h"

#include <QAudioDevice>
#include <QDir>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTemporaryFile>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace quarvel::app {

namespace {

void poe_u32(QByteArray& b, quint32 v) {
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

void poe_u16(QByteArray& b, quint16 v) {
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}

// Two rising tones (E6 then A6) with a soft attack and a fade-out on each,
// the second one longer and fading to silence.
quint8 amostra(int i) {
    constexpr double pi = 3.14159265358979323846;
    constexpr int corte = 3000; // end of the first tone
    const double t = double(i) / som_taxa;
    double freq, env;
    if (i < corte) {
        freq = 1318.5;
        const double ataque = std::min(1.0, i / 110.0);
        const double queda = std::min(1.0, (corte - i) / 400.0);
        env = ataque * queda;
    } else {
        freq = 1760.0;
        const int j = i - corte;
        const int n = som_amostras - corte;
        const double ataque = std::min(1.0, j / 110.0);
        const double resto = double(n - j) / n; // 1 -> 0 over the tone
        env = ataque * resto * resto;
    }
    // A little second harmonic makes it rounder than a bare sine.
    const double onda = 0.85 * std::sin(2 * pi * freq * t) + 0.15 * std::sin(4 * pi * freq * t);
    const long v = std::lround(128.0 + 70.0 * env * onda);
    return quint8(std::clamp(v, 0L, 255L));
}

void calado(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

QByteArray clip_confirmacao_wav() {
    constexpr quint32 dados = som_amostras;
    constexpr quint32 enchimento = dados % 2; // RIFF chunks are word aligned
    QByteArray b;
    b.reserve(int(44 + dados + enchimento));
    b.append("RIFF", 4);
    poe_u32(b, 4 + (8 + 16) + (8 + dados + enchimento));
    b.append("WAVE", 4);
    b.append("fmt ", 4);
    poe_u32(b, 16);
    poe_u16(b, 1);        // PCM
    poe_u16(b, 1);        // mono
    poe_u32(b, som_taxa); // samples per second
    poe_u32(b, som_taxa); // bytes per second: one byte per sample
    poe_u16(b, 1);        // block align
    poe_u16(b, 8);        // bits per sample
    b.append("data", 4);
    poe_u32(b, dados);
    for (int i = 0; i < som_amostras; ++i)
        b.append(char(amostra(i)));
    if (enchimento) b.append('\0');
    return b;
}

SomConfirmacao::SomConfirmacao(QObject* parent) : QObject(parent) {}

SomConfirmacao::~SomConfirmacao() = default;

bool SomConfirmacao::preparar() {
    if (efeito_) return true;
    if (falhou_) return false;
    // A machine without sound is normal here; keep the backend's complaints
    // about the missing server off the terminal while we look for a device.
    const QtMessageHandler anterior = qInstallMessageHandler(calado);
    const bool sem_saida = QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(anterior);
    if (sem_saida) {
        falhou_ = true;
        return false;
    }
    // QSoundEffect reads from a URL, so the clip is written out once.
    auto arq =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/quarvel-XXXXXX.wav"));
    const QByteArray wav = clip_confirmacao_wav();
    if (!arq->open() || arq->write(wav) != wav.size() || !arq->flush()) {
        falhou_ = true;
        return false;
    }
    arq->close();
    efeito_ = new QSoundEffect(this);
    efeito_->setSource(QUrl::fromLocalFile(arq->fileName()));
    arquivo_ = std::move(arq);
    return true;
}

void SomConfirmacao::tocar() noexcept {
    try {
        if (!preparar()) return;
        if (efeito_->status() == QSoundEffect::Error) return;
        if (efeito_->isPlaying()) efeito_->stop();
        efeito_->play();
    } catch (...) {
        // The beep is a courtesy; a failure must never reach the command.
    }
}

} // namespace quarvel::app
