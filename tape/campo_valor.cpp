#include "tape/campo_valor.h"

#include "tape/regra_entrada.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <limits>

namespace quarvel::tape {

namespace {

// The characters of a typed text that the filter lets through, "." already
// turned into ",".
QString filtrar(const QString& texto) {
    QString aceito;
    for (char32_t c : texto.toUcs4()) {
        if (auto r = filtrar_caractere(c)) aceito.append(QString::fromUcs4(&*r, 1));
    }
    return aceito;
}

bool so_controle(const QString& texto) {
    for (QChar c : texto)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f) return false;
    return true;
}

} // namespace

CampoValor::CampoValor(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(std::numeric_limits<int>::max());
    QFont f(QStringLiteral("Arial"), 12);
    f.setBold(true);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::Text, kCorTexto);
    pal.setColor(QPalette::Base, QColor(255, 255, 128));
    setPalette(pal);
    connect(this, &QLineEdit::textChanged, this, [this] { aplicar_regra(); });
}

void CampoValor::acrescentar(QChar c) {
    setText(text() + c);
    setCursorPosition(static_cast<int>(text().size()));
}

void CampoValor::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    // Shortcuts, editing keys and keys without text are QLineEdit's own; any
    // other text (Shift, AltGr, the numeric keypad) goes through the filter.
    const bool atalho = e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (atalho || t.isEmpty() || so_controle(t)) {
        repassar(e);
        return;
    }
    const QString aceito = filtrar(t);
    if (aceito.isEmpty()) {
        e->accept(); // a discarded character does nothing at all
        return;
    }
    QKeyEvent filtrado(e->type(), e->key(), e->modifiers(), e->nativeScanCode(),
                       e->nativeVirtualKey(), e->nativeModifiers(), aceito, e->isAutoRepeat(),
                       static_cast<quint16>(e->count()));
    repassar(&filtrado);
    e->setAccepted(filtrado.isAccepted());
}

// QLineEdit puts its cursor back where the key left it after the change
// notification has run, so a regrouping done meanwhile moves it again here.
void CampoValor::repassar(QKeyEvent* e) {
    reagrupou_ = false;
    QLineEdit::keyPressEvent(e);
    if (reagrupou_) setCursorPosition(static_cast<int>(text().size()));
}

// Composed characters (dead keys, input methods) pass the same filter.
void CampoValor::inputMethodEvent(QInputMethodEvent* e) {
    if (e->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    QInputMethodEvent filtrado(e->preeditString(), e->attributes());
    filtrado.setCommitString(filtrar(e->commitString()), e->replacementStart(),
                             e->replacementLength());
    reagrupou_ = false;
    QLineEdit::inputMethodEvent(&filtrado);
    if (reagrupou_) setCursorPosition(static_cast<int>(text().size()));
    e->setAccepted(filtrado.isAccepted());
}

void CampoValor::aplicar_regra() {
    // Writing the regrouped text changes it again; the guard keeps that
    // inside this loop, which stops once the rule leaves the text as it is.
    if (aplicando_) return;
    aplicando_ = true;
    for (int passo = 0; passo < 4; ++passo) {
        const QString atual = text();
        const std::string utf8 = atual.toStdString();
        if (!regra_escreve(utf8)) break;
        // The rule writes the field and puts the cursor at its end, also
        // when the grouped text is the one already there.
        reagrupou_ = true;
        const auto novo = reagrupar(utf8);
        if (!novo) {
            setCursorPosition(static_cast<int>(atual.size()));
            break;
        }
        const QString q = QString::fromStdString(*novo);
        setText(q);
        setCursorPosition(static_cast<int>(q.size()));
    }
    aplicando_ = false;
}

} // namespace quarvel::tape
