#pragma once
// What the tape commands ask of the user or of the desktop: a message box,
// form_valor, form_repetir and the confirmation sound. The application's
// Dialogos implements it together with the other subsystems' questions;
// tests script the answers.
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace quarvel::tape {

class DialogosFita {
  public:
    virtual ~DialogosFita() = default;

    // Message box captioned "Quarvel" with the warning icon and OK.
    virtual void aviso(QWidget* dono, const QString& texto) = 0;

    // form_valor: the confirmed text, or nothing when cancelled. `aceitar` is
    // asked on OK; returning false keeps the dialog open for correction.
    virtual std::optional<QString>
    pedir_valor(QWidget* dono, const QString& titulo, const QString& rotulo, const QString& inicial,
                const std::function<bool(const QString&)>& aceitar) = 0;
    // form_repetir: the count (1..kMaximoRepeticoes), or nothing when cancelled.
    virtual std::optional<int> pedir_repeticoes(QWidget* dono) = 0;

    // The confirmation sound; it never fails.
    virtual void tocar_confirmacao() = 0;
};

} // namespace quarvel::tape
