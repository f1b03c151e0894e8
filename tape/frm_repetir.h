#pragma once
// form_repetir: how many times to repeat the entry's amount (1 to 5,000).
#include <QDialog>

class QSpinBox;

namespace quarvel::tape {

class FormRepetir : public QDialog {
    Q_OBJECT
  public:
    explicit FormRepetir(QWidget* parent = nullptr);
    int vezes() const; // always within 1..kMaximoRepeticoes
    QSpinBox* valor() const { return valor_; }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QSpinBox* valor_;
};

} // namespace quarvel::tape
