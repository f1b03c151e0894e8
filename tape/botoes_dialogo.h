#pragma once
// The OK / "Cancelar" row shared by the tape's small dialogs: OK is the
// default button (Enter), Cancelar closes with Escape's result.
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>
#include <QSpacerItem>

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

// The width a window needs for its whole title in the title bar. Qt's own
// decorations (Wayland without server-side ones) centre the title over the
// whole bar and cut it where the three buttons begin, 80 px from the right
// edge: the window is the title's width plus twice that. The title is
// measured in a bold 14 px face, the largest the decorations use.
inline int largura_para_titulo(const QString& titulo) {
    QFont f = QGuiApplication::font();
    f.setPixelSize(14);
    f.setBold(true);
    return QFontMetrics(f).horizontalAdvance(titulo) + 2 * 80;
}

// Makes a dialog laid out to a fixed size wide enough for its title.
inline void caber_titulo(QDialog* dialogo) {
    QLayout* layout = dialogo->layout();
    if (!layout) return;
    const QMargins m = layout->contentsMargins();
    layout->addItem(
        new QSpacerItem(largura_para_titulo(dialogo->windowTitle()) - m.left() - m.right(), 0,
                        QSizePolicy::Fixed, QSizePolicy::Minimum));
}

} // namespace quarvel::tape
