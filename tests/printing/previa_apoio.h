#pragma once
// The print preview as its user meets it: the commands and the zoom menu by
// their names, the page and the scale as the page view holds them, the
// status bar's panels by what a screen reader calls them.
#include "printing/frm_visualizar.h"
#include "printing/visao_pagina.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <gtest/gtest.h>

#include <stdexcept>

namespace quarvel::printing {

class VistaPrevia {
  public:
    explicit VistaPrevia(QDialog& janela) : janela_(janela) {}

    // A command by its name, FirstCmd..CloseCmd.
    QAction* comando(const char* nome) const {
        auto* a =
            janela_.findChild<QAction*>(QString::fromLatin1(nome), Qt::FindDirectChildrenOnly);
        if (!a) ADD_FAILURE() << "no command " << nome;
        return a;
    }
    void executar(const char* nome) const {
        if (QAction* a = comando(nome)) a->trigger();
    }
    QMenu* menu_zoom() const { return janela_.findChild<QMenu*>(QStringLiteral("PopupMenu1")); }
    // Chooses the zoom menu's item of this code: kZoomPaginaInteira,
    // kZoomLarguraPagina or a percentage.
    void zoom(int codigo) const {
        for (QAction* a : menu_zoom()->actions()) {
            if (!a->isSeparator() && a->data().toInt() == codigo) {
                a->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no zoom item " << codigo;
    }

    // The page view and its drawing surface.
    VisaoPagina& visao_pagina() const {
        auto* v =
            dynamic_cast<VisaoPagina*>(janela_.findChild<QWidget*>(QStringLiteral("PageView")));
        if (!v) throw std::logic_error("the preview has no PageView");
        return *v;
    }
    QWidget* visao() const { return visao_pagina().viewport(); }
    QScrollBar* barra_v() const { return visao_pagina().verticalScrollBar(); }
    int pagina_atual() const { return visao_pagina().pagina(); }
    int paginas() const { return visao_pagina().paginas(); }
    Escala modo_escala() const { return visao_pagina().modo(); }
    int percentual() const { return visao_pagina().percentual(); }
    QRect retangulo_pagina() const { return visao_pagina().retangulo_pagina(); }
    QString dica_arraste() const { return visao_pagina().dica(); }

    // The status bar's panels: the help of the control under the pointer and
    // the page shown.
    QString texto_ajuda() const { return painel(QStringLiteral("ajuda do comando")); }
    QString texto_pagina() const { return painel(QStringLiteral("página atual")); }

  private:
    QString painel(const QString& nome) const {
        const auto* barra = janela_.findChild<QStatusBar*>(QStringLiteral("StatusBar"));
        if (barra) {
            for (const QLabel* l : barra->findChildren<QLabel*>())
                if (l->accessibleName() == nome) return l->text();
        }
        ADD_FAILURE() << "no status panel " << nome.toStdString();
        return {};
    }

    QDialog& janela_;
};

} // namespace quarvel::printing
