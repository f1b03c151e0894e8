#pragma once
// form_valor: one amount field n01 with OK / Cancelar. Modify and search use it
// with their own caption and label.
#include <QDialog>
#include <functional>

class QLabel;

namespace quarvel::tape {

class CampoValor;

class FormValor : public QDialog {
    Q_OBJECT
  public:
    FormValor(const QString& titulo, const QString& rotulo, QWidget* parent = nullptr);
    void definir_texto(const QString& t);
    QString texto() const;
    CampoValor* campo() const { return n01_; }
    // Called on OK; returning false keeps the dialog open (a refused text).
    void definir_validacao(std::function<bool(const QString&)> aceitar) {
        aceitar_ = std::move(aceitar);
    }

    void accept() override;

  private:
    CampoValor* n01_;
    QLabel* rotulo_;
    std::function<bool(const QString&)> aceitar_;
};

} // namespace quarvel::tape
