#pragma once
// Small files for tests: bytes written whole, and read back.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace quarvel::testes {

// The file's bytes; "<ausente>" when it cannot be read, so a missing file
// never passes for an empty one.
inline QByteArray ler_arquivo(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

// Writes the bytes in place of what the file held; a test fails when it
// cannot.
inline void escrever_arquivo(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << caminho.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << caminho.toStdString();
}

} // namespace quarvel::testes
