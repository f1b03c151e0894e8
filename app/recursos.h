#pragma once
// The program's pictures live in a static library, whose resource table the
// linker would drop unless someone asks for it; every window that shows a
// picture calls this first. Safe to call many times.
//
// Paths: ":/imagens/splash.svg", ":/icones/icone.svg", ":/icones/ok.svg" and
// the tool-bar pictures ":/icones/<name>.svg" with <name> one of novo, abrir,
// salvar, adicionar, modificar, deletar, localizar, localizar_proximo, limpar,
// visualizar, imprimir, ajuda (24 x 24).

class QIcon;

namespace quarvel::app {

void carregar_recursos();

// The program icon, for window icons.
QIcon icone_programa();

} // namespace quarvel::app
