#pragma once
// Everything the main window asks of the user or of the desktop goes through
// this interface: message boxes, the save question, file and print dialogs,
// our own modal dialogs, the confirmation sound and opening addresses. The
// program uses DialogosReais; tests script the answers instead of blocking on
// a modal window.
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

class Dialogos {
  public:
    virtual ~Dialogos() = default;

    // Message box captioned "Quarvel" with the warning icon and OK.
    virtual void aviso(QWidget* dono, const QString& texto) = 0;

    enum class Resposta { Sim, Nao, Cancelar };
    // The unsaved-changes question: Sim, Não, Cancelar (Escape is Cancelar).
    virtual Resposta perguntar(QWidget* dono, const QString& texto) = 0;

    // Empty text when the user cancels. `filtro` is a Qt name filter such as
    // "Calculos de Vantorel (*.qvl)"; `extensao` is added to a name without one.
    virtual QString abrir_arquivo(QWidget* dono, const QString& filtro) = 0;
    virtual QString salvar_arquivo(QWidget* dono, const QString& filtro,
                                   const QString& extensao) = 0;

    // The system print dialog; false when cancelled.
    virtual bool configurar_impressao(QWidget* dono, QPrinter& impressora) = 0;

    // form_valor: the confirmed text, or nothing when cancelled. `aceitar` is
    // asked on OK; returning false keeps the dialog open for correction.
    virtual std::optional<QString>
    pedir_valor(QWidget* dono, const QString& titulo, const QString& rotulo, const QString& inicial,
                const std::function<bool(const QString&)>& aceitar) = 0;
    // form_repetir: the count (1..5000), or nothing when cancelled.
    virtual std::optional<int> pedir_repeticoes(QWidget* dono) = 0;
    // form_restaurar: the chosen backup name, or empty. `limpar` runs when the
    // user empties the folder (the window then closes without a choice).
    virtual QString escolher_backup(QWidget* dono, const QStringList& nomes,
                                    const std::function<void()>& limpar) = 0;
    // The print preview window over the document, modal.
    virtual void visualizar(QWidget* dono, printing::DocumentoImpressao& doc) = 0;
    virtual void sobre(QWidget* dono) = 0;

    // The desktop: the confirmation sound (never fails) and opening a file or
    // an address with its default handler (the result is ignored).
    virtual void tocar_confirmacao() = 0;
    virtual void abrir_endereco(const QString& endereco) = 0;
};

std::unique_ptr<Dialogos> criar_dialogos_reais();

} // namespace quarvel::app
