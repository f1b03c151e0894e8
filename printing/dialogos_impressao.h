#pragma once
// What the print commands ask of the user: a message box, the system print
// dialog and the preview window. The application's Dialogos implements it
// together with the other subsystems' questions (one message box serves them
// all); tests script the answers.
#include <QString>

class QPrinter;
class QWidget;

namespace quarvel::printing {

class DocumentoImpressao;

class DialogosImpressao {
  public:
    virtual ~DialogosImpressao() = default;

    // Message box captioned "Quarvel" with the warning icon and OK.
    virtual void aviso(QWidget* dono, const QString& texto) = 0;

    // The system print dialog; false when cancelled.
    virtual bool configurar_impressao(QWidget* dono, QPrinter& impressora) = 0;

    // The print preview window over the document, modal.
    virtual void visualizar(QWidget* dono, DocumentoImpressao& doc) = 0;
};

} // namespace quarvel::printing
