#pragma once
// The tape's lists as the tests compare them: Qt strings, so a failing
// assertion prints the lines themselves.
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace quarvel::testes {

inline QStringList lista_qt(const std::vector<std::string>& textos) {
    QStringList r;
    r.reserve(static_cast<qsizetype>(textos.size()));
    for (const auto& t : textos)
        r << QString::fromStdString(t);
    return r;
}

} // namespace quarvel::testes
