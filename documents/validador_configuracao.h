#pragma once
// The validator of the three text settings (header, footer, backup name):
// typing or pasting a text the calculation file could not hold exactly
// leaves the field as it was, so a saved document always reads back as
// the window shows it.
#include <QValidator>

class QLineEdit;

namespace quarvel::documents {

class ValidadorConfiguracao : public QValidator {
    Q_OBJECT
  public:
    explicit ValidadorConfiguracao(QLineEdit* campo);
    State validate(QString& texto, int& posicao) const override;

    // Puts a validator on the field.
    static void instalar(QLineEdit* campo);

  private:
    const QLineEdit* campo_;
};

} // namespace quarvel::documents
