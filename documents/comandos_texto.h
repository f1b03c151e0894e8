#pragma once
// The text file commands of the main window: abrir_txt imports a text file
// in place of the tape, save_txt exports the tape lines. The restore of a
// backup imports through here too.
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QWidget;

namespace quarvel::tape {
class FitaModelo;
class VisaoFita;
} // namespace quarvel::tape

namespace quarvel::documents {

class Carregamento;
class DialogosDocumento;
struct LeituraTexto;

// The values of a text file, read behind the loading window. False after the
// warning that names the file, or when the user cancelled.
bool ler_valores_texto(Carregamento& carregamento, DialogosDocumento& dialogos, QWidget* dono,
                       const QString& caminho, bool so_arquivo_comum, LeituraTexto& leitura);

struct ContextoTexto {
    tape::FitaModelo& fita;
    QLineEdit& entrada;     // texto_valor, which has the focus after an import
    tape::VisaoFita& visao; // the current line
    Carregamento& carregamento;
    DialogosDocumento& dialogos;
    QWidget* dono; // owner of the message boxes and dialogs
    // Puts values in place of the tape as one step that can be undone,
    // named `passo` in the undo and redo menu items.
    std::function<void(std::vector<std::string> brutos, std::vector<std::string> linhas,
                       const QString& passo)>
        substituir;
};

class ComandosTexto {
  public:
    explicit ComandosTexto(ContextoTexto contexto) : c_(contexto) {}

    void abrir_txt();
    void save_txt();

    // The file's values in place of the tape; every refusal leaves the tape
    // exactly as it was. so_arquivo_comum: a backup, read only as a regular
    // file, never through a link.
    bool importar(const QString& caminho, bool so_arquivo_comum = false);
    // Values already read from a backup in place of the tape, line 1 current.
    void trocar_fita(std::vector<std::string> brutos, std::vector<std::string> linhas);

  private:
    void trocar_fita(std::vector<std::string> brutos, std::vector<std::string> linhas,
                     const char* passo);

    ContextoTexto c_;
};

} // namespace quarvel::documents
