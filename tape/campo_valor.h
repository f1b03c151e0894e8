#pragma once
// A line edit that follows the entry rules: the character filter on typed
// characters and the regrouping rule on every change of its text. Used by
// `texto_valor` and by the `n01` field of `form_valor`.
#include <QColor>
#include <QLineEdit>

namespace quarvel::tape {

class CampoValor : public QLineEdit {
    Q_OBJECT
  public:
    // Red on the light yellow field: a darker red than pure red, which reads
    // at under 4:1 there.
    static inline const QColor kCorTexto{192, 0, 0};

    explicit CampoValor(QWidget* parent = nullptr);
    // Appends a character at the end wherever the cursor is (keypad buttons),
    // then puts the cursor at the end once the rule has run.
    void acrescentar(QChar c);

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

  private:
    void aplicar_regra();
    void repassar(QKeyEvent* e);
    bool aplicando_ = false;
    bool reagrupou_ = false;
};

} // namespace quarvel::tape
