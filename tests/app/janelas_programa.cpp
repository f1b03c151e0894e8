#include "tests/app/janelas_programa.h"

#include "app/frm_erro.h"
#include "app/frm_sobre.h"
#include "app/frm_splash.h"
#include "backup/frm_restaurar.h"
#include "espera/frm_loading.h"
#include "printing/documento_impressao.h"
#include "printing/frm_imprimir.h"
#include "printing/frm_visualizar.h"
#include "tape/frm_repetir.h"
#include "tape/frm_valor.h"

namespace quarvel::app {
namespace {

// Eighty lines: more than one page in the preview.
printing::DocumentoImpressao& documento() {
    static printing::DocumentoImpressao doc = [] {
        printing::DocumentoImpressao d;
        printing::ConteudoImpressao c;
        for (int i = 1; i <= 80; ++i)
            c.linhas_fita << QStringLiteral("%1,00").arg(i);
        c.total = QStringLiteral("R$ 3.240,00");
        c.titulo = QStringLiteral("Quarvel");
        d.preparar(c);
        return d;
    }();
    return doc;
}

} // namespace

const std::vector<JanelaPrograma>& janelas_programa() {
    static const std::vector<JanelaPrograma> janelas = {
        {"modificar_valor",
         [](QWidget* dono) {
             return std::make_unique<tape::FormValor>(QStringLiteral("Modificar Valor"),
                                                      QStringLiteral("Novo Valor:"), dono);
         },
         true},
        {"buscar_valor",
         [](QWidget* dono) {
             return std::make_unique<tape::FormValor>(
                 QStringLiteral("Buscar Valor"),
                 QStringLiteral("Digite o valor que deseja buscar:"), dono);
         },
         true},
        {"repetir", [](QWidget* dono) { return std::make_unique<tape::FormRepetir>(dono); }, true},
        {"imprimir",
         [](QWidget* dono) {
             const std::vector<printing::DestinoImpressao> destinos = {
                 {"Caixa", "", true, "Impressora do caixa", "Loja Centro", "iso_a4_210x297mm"},
                 {"Caixa", "rascunho", false, "", "", "Letter"}};
             return std::make_unique<printing::FormImprimir>(destinos, dono);
         },
         true},
        {"restaurar",
         [](QWidget* dono) {
             return std::make_unique<backup::FormRestaurar>(
                 QStringList{"malote.qvlbackup", "caixa.qvlbackup"}, [] {}, dono);
         },
         true},
        {"restaurar_sem_backups",
         [](QWidget* dono) {
             return std::make_unique<backup::FormRestaurar>(
                 QStringList{}, [] {}, dono);
         },
         true},
        {"sobre", [](QWidget* dono) { return std::make_unique<FormSobre>(dono); }, true},
        {"erro",
         [](QWidget* dono) {
             return std::make_unique<FormErro>(QStringLiteral("Arquivo não encontrado"), 0x0040A1FF,
                                               QStringLiteral("/tmp/recuperacao.qvl"), dono);
         },
         true},
        {"aguarde", [](QWidget*) { return std::make_unique<documents::FormLoading>(nullptr); },
         false},
        {"splash", [](QWidget* dono) { return std::make_unique<FormSplash>(dono); }, false, true},
        {"visualizar",
         [](QWidget* dono) {
             auto d = std::make_unique<printing::TestPrintPreviewDlg>(documento(), dono);
             d->setWindowState(Qt::WindowNoState);
             d->resize(800, 600);
             return d;
         },
         false},
    };
    return janelas;
}

std::vector<JanelaPrograma> dialogos_fixos() {
    std::vector<JanelaPrograma> r;
    for (const JanelaPrograma& j : janelas_programa())
        if (j.dialogo_fixo) r.push_back(j);
    return r;
}

} // namespace quarvel::app
