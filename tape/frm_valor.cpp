#include "tape/frm_valor.h"
#include "tape/botoes_dialogo.h"

#include "tape/campo_valor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quarvel::tape {

FormValor::FormValor(const QString& titulo, const QString& rotulo, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint) {
    setObjectName(QStringLiteral("form_valor"));
    setWindowTitle(titulo);
    setModal(true);

    rotulo_ = new QLabel(rotulo, this);
    n01_ = new CampoValor(this);
    n01_->setObjectName(QStringLiteral("n01"));
    n01_->setMinimumWidth(220);
    rotulo_->setBuddy(n01_);
    // A screen reader says the caption without its colon, and how to answer.
    QString nome = QString(rotulo).remove(QLatin1Char('&')).trimmed();
    if (nome.endsWith(QLatin1Char(':'))) nome.chop(1);
    n01_->setAccessibleName(nome.trimmed());
    n01_->setAccessibleDescription(QStringLiteral(
        "um valor em reais ou uma expressão, como 12*50; Enter confirma, Esc cancela"));

    auto* botoes = botoes_ok_cancelar(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rotulo_);
    layout->addWidget(n01_);
    layout->addSpacing(6);
    layout->addLayout(botoes);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    caber_titulo(this);

    n01_->setFocus();
}

void FormValor::definir_texto(const QString& t) {
    n01_->setText(t);
    n01_->setCursorPosition(static_cast<int>(n01_->text().size()));
}

QString FormValor::texto() const {
    return n01_->text();
}

void FormValor::accept() {
    if (aceitar_ && !aceitar_(texto())) {
        // Refused: stay open with the text ready to be typed over.
        n01_->setFocus();
        n01_->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace quarvel::tape
