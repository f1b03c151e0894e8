#pragma once
// The OK / "Cancelar" row shared by the tape's small dialogs: OK is the
// default button (Enter), Cancelar closes with Escape's result.
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace quarvel::tape {

inline QHBoxLayout* botoes_ok_cancelar(QDialog* dialogo) {
    auto* ok = new QPushButton(QStringLiteral("OK"), dialogo);
    ok->setObjectName(QStringLiteral("BT_OK"));
    ok->setDefault(true);
    auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), dialogo);
    cancelar->setObjectName(QStringLiteral("BT_CANCEL"));
    cancelar->setAutoDefault(false);
    ok->setAccessibleDescription(QStringLiteral("confirma e fecha a janela"));
    cancelar->setAccessibleDescription(QStringLiteral("fecha a janela sem mudar nada"));
    QObject::connect(ok, &QPushButton::clicked, dialogo, &QDialog::accept);
    QObject::connect(cancelar, &QPushButton::clicked, dialogo, &QDialog::reject);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(ok);
    botoes->addWidget(cancelar);
    return botoes;
}

} // namespace quarvel::tape
