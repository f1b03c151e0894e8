#include "app/recursos.h"

#include <QIcon>

// Q_INIT_RESOURCE must be used outside any namespace.
static void iniciar_tabela() {
    Q_INIT_RESOURCE(recursos);
}

namespace quarvel::app {

void carregar_recursos() {
    static const bool feito = (iniciar_tabela(), true);
    (void)feito;
}

QIcon icone_programa() {
    carregar_recursos();
    return QIcon(QStringLiteral(":/icones/icone.svg"));
}

} // namespace quarvel::app
