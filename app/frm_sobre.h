#pragma once
// form_sobre: the about box, opened from "Ajuda | Sobre".
#include <QDialog>

class QLabel;

namespace quarvel::app {

class FormSobre : public QDialog {
    Q_OBJECT
  public:
    explicit FormSobre(QWidget* parent = nullptr);

    QLabel* link_site() const { return link_site_; }
    QLabel* link_email() const { return link_email_; }

  private:
    QLabel* link_site_;
    QLabel* link_email_;
};

} // namespace quarvel::app
