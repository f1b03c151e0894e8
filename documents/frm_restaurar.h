#pragma once
// form_restaurar: lists the backups; OK restores the chosen one, and
// "Limpar a pasta Backup" empties the folder.
#include <QDialog>
#include <QStringList>
#include <functional>

class QListWidget;
class QPushButton;

namespace quarvel::documents {

class FormRestaurar : public QDialog {
    Q_OBJECT
  public:
    // limpar runs when the clear button is pressed; the dialog then closes
    // with the Cancel result.
    FormRestaurar(const QStringList& nomes, std::function<void()> limpar,
                  QWidget* parent = nullptr);
    QString escolhido() const; // empty when nothing is selected

    QListWidget* lista() const { return lista_; }
    QPushButton* bot_limpar() const { return bot_limpar_; }

  private:
    QListWidget* lista_;
    QPushButton* bot_limpar_;
};

} // namespace quarvel::documents
