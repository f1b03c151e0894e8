#include "app/aparencia.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QStyleHints>

namespace quarvel::app {

QPalette paleta_clara() {
    // Fusion's own light colours, written out: QStyle::standardPalette() asks
    // the platform theme, which under gtk3 with a dark GTK theme is dark.
    const QColor fundo(239, 239, 239);
    const QColor escuro = fundo.darker(150);
    const QColor sombra = escuro.darker(135);
    const QColor texto_inativo(190, 190, 190);
    QPalette base(Qt::black, fundo, fundo.lighter(150), escuro, fundo.darker(130), Qt::black,
                  Qt::white);
    base.setColor(QPalette::Midlight, fundo.darker(130).lighter(110));
    base.setColor(QPalette::Shadow, sombra);
    base.setColor(QPalette::HighlightedText, Qt::white);
    base.setColor(QPalette::Highlight, QColor(48, 140, 198));
    base.setColor(QPalette::Link, QColor(0, 0, 255));
    base.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    base.setColor(QPalette::ToolTipText, Qt::black);
    base.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    base.setColor(QPalette::Disabled, QPalette::Text, texto_inativo);
    base.setColor(QPalette::Disabled, QPalette::WindowText, texto_inativo);
    base.setColor(QPalette::Disabled, QPalette::ButtonText, texto_inativo);
    base.setColor(QPalette::Disabled, QPalette::Base, fundo);
    base.setColor(QPalette::Disabled, QPalette::Dark, QColor(209, 209, 209).darker(110));
    base.setColor(QPalette::Disabled, QPalette::Shadow, sombra.lighter(150));
    base.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    QPalette p;
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto grupo = static_cast<QPalette::ColorGroup>(g);
            const auto papel = static_cast<QPalette::ColorRole>(r);
            // Setting a colour marks the role as set, also when it is the same.
            p.setColor(grupo, papel, base.color(grupo, papel));
        }
    return p;
}

void aplicar_aparencia_clara() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // From Qt 6.8 the application follows the desktop's colour scheme (the
    // portal's or GNOME's "prefer dark"): the platform theme then hands out
    // its dark palette and the style draws dark. Asking for the light scheme
    // keeps both light, also when the desktop switches later.
    QGuiApplication::styleHints()->setColorScheme(Qt::ColorScheme::Light);
#endif
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(paleta_clara());
}

} // namespace quarvel::app
