// The confirmation clip's bytes and the player's behaviour without sound.
#include "app/som.h"

#include <QFile>
#include <QSoundEffect>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace quarvel::app;

namespace {

quint32 u32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData() + at));
}
quint16 u16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData() + at));
}

} // namespace

TEST(ClipConfirmacao, Cabecalho) {
    const QByteArray w = clip_confirmacao_wav();
    ASSERT_GE(w.size(), 44);
    EXPECT_EQ(w.mid(0, 4), "RIFF");
    EXPECT_EQ(u32(w, 4), quint32(w.size() - 8));
    EXPECT_EQ(w.mid(8, 4), "WAVE");
    EXPECT_EQ(w.mid(12, 4), "fmt ");
    EXPECT_EQ(u32(w, 16), 16u);
    EXPECT_EQ(u16(w, 20), 1);      // PCM
    EXPECT_EQ(u16(w, 22), 1);      // mono
    EXPECT_EQ(u32(w, 24), 11025u); // rate
    EXPECT_EQ(u32(w, 28), 11025u); // bytes per second
    EXPECT_EQ(u16(w, 32), 1);      // block align
    EXPECT_EQ(u16(w, 34), 8);      // bits
    EXPECT_EQ(w.mid(36, 4), "data");
    EXPECT_EQ(u32(w, 40), 7507u);
    // Odd data size: one pad byte keeps the RIFF chunk even.
    EXPECT_EQ(w.size(), 44 + 7507 + 1);
    EXPECT_EQ(w.size() % 2, 0);
}

TEST(ClipConfirmacao, AmostrasAudiveisEComFade) {
    const QByteArray w = clip_confirmacao_wav();
    const auto* s = reinterpret_cast<const uchar*>(w.constData() + 44);
    int minimo = 255, maximo = 0;
    for (int i = 0; i < 7507; ++i) {
        minimo = std::min<int>(minimo, s[i]);
        maximo = std::max<int>(maximo, s[i]);
    }
    EXPECT_GT(maximo - minimo, 60); // not silence
    EXPECT_GT(minimo, 0);           // no clipping
    EXPECT_LT(maximo, 255);
    // Starts and ends at the unsigned silence level, so no click.
    EXPECT_NEAR(s[0], 128, 2);
    EXPECT_NEAR(s[7506], 128, 2);
    // Deterministic: the same bytes every time.
    EXPECT_EQ(w, clip_confirmacao_wav());
}

TEST(SomConfirmacao, TocarNuncaFalha) {
    SomConfirmacao som;
    static_assert(noexcept(som.tocar()));
    for (int i = 0; i < 5; ++i)
        som.tocar(); // a new beep replaces the running one
    // One player however many beeps, playing our clip; none at all on a
    // machine without sound, which stays silent.
    const auto efeitos = som.findChildren<QSoundEffect*>();
    ASSERT_EQ(efeitos.size(), som.disponivel() ? 1 : 0);
    if (som.disponivel()) {
        QFile clip(efeitos[0]->source().toLocalFile());
        ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
        EXPECT_EQ(clip.readAll(), clip_confirmacao_wav());
    }
}
