#pragma once
// Everything the main window asks of the user or of the desktop goes through
// this interface: message boxes, the save question, file and print dialogs,
// our own modal dialogs, the confirmation sound and opening addresses. The
// tape's questions are its own port, tape::DialogosFita; this one adds the
// rest. The program uses DialogosReais; tests script the answers instead of
// blocking on a modal window.
#include "tape/dialogos_fita.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QWidget;
class QPrinter;

namespace quarvel::printing {
class DocumentoImpressao;
}

namespace quarvel::app {

class Dialogos : public tape::DialogosFita {
  public:
    enum class Resposta { Sim, Nao, Cancelar };
    // The unsaved-changes question: Sim, Não, Cancelar (Escape is Cancelar).
    virtual Resposta perguntar(QWidget* dono, const QString& texto) = 0;

    // Empty text when the user cancels. `filtro` is a Qt name filter ("Name
    // (*.ext)"); `extensao` is added to a name without one.
    virtual QString abrir_arquivo(QWidget* dono, const QString& filtro) = 0;
    virtual QString salvar_arquivo(QWidget* dono, const QString& filtro,
                                   const QString& extensao) = 0;

    // The system print dialog; false when cancelled.
    virtual bool configurar_impressao(QWidget* dono, QPrinter& impressora) = 0;

    // form_restaurar: the chosen backup name, or empty. `limpar` runs when the
    // user empties the folder (the window then closes without a choice).
    virtual QString escolher_backup(QWidget* dono, const QStringList& nomes,
                                    const std::function<void()>& limpar) = 0;
    // The print preview window over the document, modal.
    virtual void visualizar(QWidget* dono, printing::DocumentoImpressao& doc) = 0;
    virtual void sobre(QWidget* dono) = 0;

    // The desktop: opening a file or an address with its default handler (the
    // result is ignored).
    virtual void abrir_endereco(const QString& endereco) = 0;
};

std::unique_ptr<Dialogos> criar_dialogos_reais();

} // namespace quarvel::app
