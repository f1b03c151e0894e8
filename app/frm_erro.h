#pragma once
// FormErro: the last-resort report of an error nobody handled. The caller
// shows it modally and then ends the program.
//
// Report lines, all centred:
//   1  "Ocorreu o Seguinte Erro: - <message> , no endereço: <address>"
//      (address as eight upper-case hex digits)         Arial 9 pt bold
//   1a "Os valores foram salvos em <path>", only when a path is given,
//      directly under line 1 in the same format
//   2  empty
//   3  the request for a step-by-step description      italic, 8 pt
//   4  empty
//   5  "Acesse: " + the support address                 bold, red, 9 pt
#include <QDialog>
#include <QString>

class QPushButton;
class QTextEdit;

namespace quarvel::app {

class FormErro : public QDialog {
    Q_OBJECT
  public:
    FormErro(const QString& mensagem, quint32 endereco, const QString& salvos_em = QString(),
             QWidget* parent = nullptr);

    QTextEdit* mensagem() const { return mensagem_; }
    QPushButton* bt_ok() const { return bt_ok_; }

    // "0040A1FF": how the address appears in line 1.
    static QString formatar_endereco(quint32 endereco);

  private:
    void montar_relatorio(const QString& mensagem, quint32 endereco, const QString& salvos_em);

    QTextEdit* mensagem_;
    QPushButton* bt_ok_;
};

} // namespace quarvel::app
