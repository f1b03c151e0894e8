#pragma once
// form_restaurar: names the Backup folder in use and lists its backups; OK
// restores the chosen one, and "Limpar a pasta Backup" empties the folder.
#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace quarvel::backup {

class FormRestaurar : public QDialog {
    Q_OBJECT
  public:
    // limpar runs when the clear button is pressed; the dialog then closes
    // with the Cancel result.
    FormRestaurar(const QStringList& nomes, std::function<void()> limpar,
                  QWidget* parent = nullptr);
    QString escolhido() const; // empty when nothing is selected
    // Why the Backup folder cannot be read or made, shown above the list.
    void mostrar_aviso(const QString& texto);

    QListWidget* lista() const { return lista_; }
    QLabel* pasta() const { return pasta_; } // the folder, as the user reads it
    QPushButton* bot_limpar() const { return bot_limpar_; }

  private:
    QListWidget* lista_;
    QLabel* pasta_;
    QLabel* aviso_;
    QPushButton* bot_limpar_;
};

} // namespace quarvel::backup
