#pragma once
// The print dialogs answered from a script. RoteiroImpressaoSobre<Porta>
// adds this to any port built on printing::DialogosImpressao, so the
// application's scripted dialogs share it.
#include "printing/dialogos_impressao.h"
#include "tests/apoio/roteiro.h"

#include <QStringList>
#include <functional>

namespace quarvel::printing {

template <class Porta> class RoteiroImpressaoSobre : public Porta {
  public:
    // What was shown.
    int previas = 0;
    int impressoes = 0;
    // The destinations the print dialog was given, the last time.
    std::vector<DestinoImpressao> destinos_oferecidos;
    // The page the preview was given, the last time.
    QPageLayout pagina_previa;

    // The print dialog's answer: cancelled unless accepted.
    bool aceitar_impressao = false;
    QString impressao_pdf;   // when set, the print dialog chooses this PDF file
    QString nome_impressora; // else this destination
    QPageSize papel = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientacao = QPageLayout::Portrait;
    // Runs when the print dialog is accepted, its choices made (a test stops
    // the server there).
    std::function<void()> ao_configurar;
    // Runs as the preview, in its place (a test opens the real window there).
    std::function<void(QWidget*, DocumentoImpressao&, const QPageLayout&,
                       const std::function<void(QWidget*)>&)>
        ao_visualizar;

    std::optional<EscolhaImpressao>
    configurar_impressao(QWidget*, const std::vector<DestinoImpressao>& destinos) override {
        ++impressoes;
        destinos_oferecidos = destinos;
        if (!aceitar_impressao) return std::nullopt;
        EscolhaImpressao e;
        e.destino = impressao_pdf.isEmpty() ? nome_impressora : QString();
        e.arquivo_pdf = impressao_pdf;
        e.papel = papel;
        e.orientacao = orientacao;
        if (ao_configurar) ao_configurar();
        return e;
    }
    void visualizar(QWidget* dono, DocumentoImpressao& doc, const QPageLayout& pagina,
                    const std::function<void(QWidget*)>& imprimir) override {
        ++previas;
        pagina_previa = pagina;
        if (ao_visualizar) ao_visualizar(dono, doc, pagina, imprimir);
    }
};

using RoteiroImpressao = testes::AvisosSobre<RoteiroImpressaoSobre<DialogosImpressao>>;

} // namespace quarvel::printing
