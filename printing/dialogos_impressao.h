#pragma once
// What the print commands ask of the user: a message box, the print dialog
// and the preview window. The application's Dialogos implements it together
// with the other subsystems' questions (one message box serves them all);
// tests script the answers.
#include "printing/opcoes_cups.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace quarvel::printing {

class DocumentoImpressao;

// What the print dialog chose. A tape is always printed whole and once: no
// pages, no copies.
struct EscolhaImpressao {
    QString destino;     // "fila" or "fila/instancia"; empty when into a file
    QString arquivo_pdf; // the PDF file printed into instead of a queue
    QPageSize papel = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientacao = QPageLayout::Portrait;

    QPageLayout pagina() const { return QPageLayout(papel, orientacao, QMarginsF(0, 0, 0, 0)); }
};

// The paper a media name of the print server stands for; A4 when it names
// none Qt knows.
QPageSize papel_do_servidor(const std::string& nome);

// The preview's page: the default destination's paper, A4 without one.
QPageLayout pagina_padrao(const std::vector<DestinoImpressao>& destinos);

class DialogosImpressao {
  public:
    virtual ~DialogosImpressao() = default;

    // Message box captioned "Quarvel" with the warning icon and OK.
    virtual void aviso(QWidget* dono, const QString& texto) = 0;

    // The print dialog over the destinations the server listed (none: only
    // a PDF file); nullopt when cancelled.
    virtual std::optional<EscolhaImpressao>
    configurar_impressao(QWidget* dono, const std::vector<DestinoImpressao>& destinos) = 0;

    // The print preview window over the document laid out on `pagina`,
    // modal; its Print runs `imprimir` with the preview as the owner of what
    // it shows.
    virtual void visualizar(QWidget* dono, DocumentoImpressao& doc, const QPageLayout& pagina,
                            const std::function<void(QWidget* janela)>& imprimir) = 0;
};

} // namespace quarvel::printing
