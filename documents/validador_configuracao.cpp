#include "documents/validador_configuracao.h"

#include "documents/arquivo_calculo.h"

#include <QLineEdit>

namespace quarvel::documents {

ValidadorConfiguracao::ValidadorConfiguracao(QLineEdit* campo) : QValidator(campo), campo_(campo) {}

QValidator::State ValidadorConfiguracao::validate(QString& texto, int&) const {
    if (cabe_na_configuracao(texto.toStdString())) return Acceptable;
    // A text opened from a file edited by hand may already hold something
    // the field refuses; removing characters from it is still allowed.
    const QString antes = campo_->text();
    if (!cabe_na_configuracao(antes.toStdString()) && texto.size() < antes.size())
        return Intermediate;
    return Invalid;
}

void ValidadorConfiguracao::instalar(QLineEdit* campo) {
    campo->setValidator(new ValidadorConfiguracao(campo));
}

} // namespace quarvel::documents
