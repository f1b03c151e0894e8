#include "tape/frm_repetir.h"
#include "tape/botoes_dialogo.h"
#include "tape/mensagens.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace quarvel::tape {

namespace {

constexpr int kMinimo = 1;
constexpr int kMaximo = kMaximoRepeticoes;
constexpr int kMaxCaracteres = 4;

// Takes digits only and keeps whatever is typed inside the range: more than the maximum becomes
// the maximum at once; less than the minimum is corrected when editing ends.
class ContadorVezes : public QSpinBox {
  public:
    using QSpinBox::QSpinBox;

    QValidator::State validate(QString& texto, int& pos) const override {
        if (texto.size() > kMaxCaracteres) return QValidator::Invalid;
        // Digits only: QSpinBox would take the locale's group separator
        // ("12,") and show it.
        for (const QChar c : texto)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return QValidator::Invalid;
        bool ok = false;
        const int n = texto.toInt(&ok);
        if (ok && n > maximum()) {
            texto = QString::number(maximum());
            pos = static_cast<int>(texto.size());
            return QValidator::Acceptable;
        }
        return QSpinBox::validate(texto, pos);
    }
};

} // namespace

FormRepetir::FormRepetir(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint) {
    setObjectName(QStringLiteral("form_repetir"));
    setWindowTitle(QStringLiteral("Repetir Valor"));
    setModal(true);

    auto* pergunta = new QLabel(QStringLiteral("Repetir este valor quantas vezes?"), this);
    valor_ = new ContadorVezes(this);
    valor_->setObjectName(QStringLiteral("valor"));
    valor_->setRange(kMinimo, kMaximo);
    valor_->setValue(kMinimo);
    valor_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    valor_->setAccelerated(true);
    pergunta->setBuddy(valor_);
    valor_->setAccessibleName(QStringLiteral("quantas vezes repetir"));
    valor_->setAccessibleDescription(QStringLiteral("de 1 a 5.000 vezes"));

    auto* linha = new QHBoxLayout;
    linha->addWidget(valor_);
    linha->addStretch();
    auto* botoes = botoes_ok_cancelar(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pergunta);
    layout->addLayout(linha);
    layout->addSpacing(6);
    layout->addLayout(botoes);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    caber_titulo(this);

    valor_->setFocus();
    valor_->selectAll();
}

int FormRepetir::vezes() const {
    // The text may still be under edit (say "0" not yet corrected).
    bool ok = false;
    int n = valor_->cleanText().toInt(&ok);
    if (!ok) n = valor_->value();
    return std::clamp(n, kMinimo, kMaximo);
}

void FormRepetir::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    valor_->setFocus();
    valor_->selectAll();
}

} // namespace quarvel::tape
