#pragma once
// Every window of the program besides the main one, each made as the
// program makes it: the accessibility, contrast and title tests read them
// from this one table.
#include <QWidget>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace quarvel::app {

struct JanelaPrograma {
    const char* nome;
    std::function<std::unique_ptr<QWidget>(QWidget* dono)> criar;
    // A dialog with a title bar and a fixed size (not the splash, the
    // waiting window or the preview, which opens maximised).
    bool dialogo_fixo;
    // Drawn from a picture rather than with the palette's colours.
    bool so_figura = false;
};
inline void PrintTo(const JanelaPrograma& j, std::ostream* os) {
    *os << j.nome;
}

const std::vector<JanelaPrograma>& janelas_programa();
// Only those with dialogo_fixo.
std::vector<JanelaPrograma> dialogos_fixos();

} // namespace quarvel::app
