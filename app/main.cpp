// Start-up: the splash window, the main window built behind it, a fixed
// two-second pause, then the event loop.
#include "app/aparencia.h"
#include "app/excecoes.h"
#include "app/fontes.h"
#include "app/frm_principal.h"
#include "app/frm_splash.h"
#include "app/linha_comando.h"
#include "app/mensagens.h"
#include "app/traducao.h"

#include <QApplication>
#include <QStyleFactory>

namespace {

void preparar_aplicacao(QApplication& app) {
    QApplication::setApplicationName(QString::fromUtf8(quarvel::app::kNome));
    QApplication::setApplicationVersion(QString::fromUtf8(quarvel::app::kVersao));
    quarvel::app::aplicar_aparencia_clara();
    // Qt's own buttons and dialogs speak Portuguese too.
    quarvel::app::instalar_traducoes(app);
}

} // namespace

int main(int argc, char** argv) {
    // Before any application object: the PDF of --pdf uses the faces too.
    quarvel::app::registrar_fontes_equivalentes();
    if (quarvel::app::modo_sem_janela(argc, argv))
        return quarvel::app::executar_sem_janela(argc, argv);

    quarvel::app::Excecoes app(argc, argv);
    preparar_aplicacao(app);

    quarvel::app::FormSplash splash;
    splash.exibir();
    quarvel::app::FormPrincipal janela(quarvel::app::criar_dialogos_reais(),
                                       argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    app.salvar_recuperacao = [&janela] { return janela.salvar_recuperacao(); };
    quarvel::app::FormSplash::pausar(2000);
    splash.close();
    janela.show();
    return app.exec();
}
