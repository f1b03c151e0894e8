#pragma once
// What the document commands ask of the user: a message box, the
// unsaved-changes question, the file dialogs and form_restaurar. The
// application's Dialogos implements it together with the other subsystems'
// questions (one message box serves them all); tests script the answers.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace quarvel::documents {

class DialogosDocumento {
  public:
    virtual ~DialogosDocumento() = default;

    // Message box captioned "Quarvel" with the warning icon and OK.
    virtual void aviso(QWidget* dono, const QString& texto) = 0;

    enum class Resposta { Sim, Nao, Cancelar };
    // The unsaved-changes question: Sim, Não, Cancelar (Escape is Cancelar).
    virtual Resposta perguntar(QWidget* dono, const QString& texto) = 0;

    // A question with Sim (the default) and Não: true for Sim.
    virtual bool perguntar_recuperacao(QWidget* dono, const QString& texto) = 0;

    // Empty text when the user cancels. `filtro` is a Qt name filter ("Name
    // (*.ext)"); `extensao` is added to a typed name without one, when
    // opening as when saving.
    virtual QString abrir_arquivo(QWidget* dono, const QString& filtro,
                                  const QString& extensao) = 0;
    virtual QString salvar_arquivo(QWidget* dono, const QString& filtro,
                                   const QString& extensao) = 0;

    // form_restaurar: the chosen backup name, or empty. `aviso`, when not
    // empty, says why the folder cannot be read or made. `limpar` runs when
    // the user empties the folder (the window then closes without a choice).
    virtual QString escolher_backup(QWidget* dono, const QStringList& nomes, const QString& aviso,
                                    const std::function<void()>& limpar) = 0;
};

} // namespace quarvel::documents
