#pragma once
// Dates and times as the Brazilian interface writes them, whatever the
// machine's locale: 08/12/2026 and 13:07:40. The clock of the status bar,
// the print macros and the file dialog all use them.
#include <QDateTime>
#include <QString>

namespace quarvel::printing {

QString data_brasileira(const QDate& data);     // dd/MM/aaaa
QString hora_brasileira(const QTime& hora);     // hh:mm:ss, 24 hours
QString momento_brasileiro(const QDateTime& m); // dd/MM/aaaa hh:mm

} // namespace quarvel::printing
