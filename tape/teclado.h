#pragma once
// The on-screen keypad b01..b18: buttons that type into the entry field
// without taking the focus, and light red while their keyboard key is held.
#include <QWidget>
#include <array>

class QPushButton;
class QKeyEvent;

namespace quarvel::tape {

class Teclado : public QWidget {
    Q_OBJECT
public:
    explicit Teclado(QWidget* parent = nullptr);
    QPushButton* botao(int numero) const;  // 1..18, b01..b18

    // Lights the counterpart of a key-down, returns it to normal on key-up.
    void tecla_pressionada(const QKeyEvent& e);
    void tecla_solta(const QKeyEvent& e);
    int botao_da_tecla(const QKeyEvent& e) const;  // 0 when the key has none

signals:
    void caractere(QChar c);  // every button but b03
    void adicionar();         // b03

private:
    std::array<QPushButton*, 18> botoes_{};
};

}  // namespace quarvel::tape
