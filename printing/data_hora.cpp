#include "printing/data_hora.h"

namespace quarvel::printing {

// Fixed patterns of digits, read by Qt with the C locale: no setting of the
// machine changes them.
QString data_brasileira(const QDate& data) {
    return data.toString(u"dd/MM/yyyy");
}

QString hora_brasileira(const QTime& hora) {
    return hora.toString(u"HH:mm:ss");
}

QString momento_brasileiro(const QDateTime& m) {
    return m.toString(u"dd/MM/yyyy HH:mm");
}

} // namespace quarvel::printing
