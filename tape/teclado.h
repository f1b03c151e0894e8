#pragma once
// The on-screen keypad b01..b18: buttons that type into the entry field
// without taking the focus, and light red while their keyboard key is held.
#include <QWidget>
#include <array>
#include <map>

class QPushButton;
class QKeyEvent;

namespace quarvel::tape {

class Teclado : public QWidget {
    Q_OBJECT
  public:
    explicit Teclado(QWidget* parent = nullptr);
    QPushButton* botao(int numero) const; // 1..18, b01..b18

    // Lights the counterpart of a key-down, returns it to normal on key-up.
    void tecla_pressionada(const QKeyEvent& e);
    void tecla_solta(const QKeyEvent& e);
    int botao_da_tecla(const QKeyEvent& e) const; // 0 when the key has none
    bool aceso(int numero) const;                 // lit red right now

    // Every event of the entry field goes through here (the main window's
    // event filter calls it): key-downs light, key-ups put out, and losing
    // the focus puts every button back to normal, since the key-up of a key
    // still held will go to another control.
    void acompanhar_evento(const QEvent& e);
    void apagar_tudo();

  signals:
    void caractere(QChar c); // every button but b03
    void adicionar();        // b03

  private:
    void acender(int numero, bool sim);

    std::array<QPushButton*, 18> botoes_{};
    std::array<bool, 18> acesos_{};
    std::map<quint64, int> pressionadas_; // held key -> button it lit
};

} // namespace quarvel::tape
