// Start-up: the splash window, the main window built behind it, then the
// event loop, in which the splash shows for two seconds before the main
// window takes its place.
#include "app/aparencia.h"
#include "app/excecoes.h"
#include "app/fontes.h"
#include "app/frm_principal.h"
#include "app/frm_splash.h"
#include "app/linha_comando.h"
#include "app/mensagens.h"
#include "app/tela.h"
#include "app/traducao.h"

#include <QApplication>
#include <QStyleFactory>

#include <iostream>

namespace {

void preparar_aplicacao(QApplication& app) {
    QApplication::setApplicationName(QString::fromUtf8(quarvel::app::kNome));
    QApplication::setApplicationVersion(QString::fromUtf8(quarvel::app::kVersao));
    // Ties the window to its menu entry (the Wayland app id, the dock's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.quarvel"));
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
    // Qt would abort with its own English words; say it ours and go.
    if (!quarvel::app::tela_disponivel(argc, argv)) {
        std::cerr << quarvel::app::kSemTela << '\n';
        return 1;
    }

    quarvel::app::vigiar_abertura_da_tela();
    quarvel::app::Excecoes app(argc, argv);
    quarvel::app::tela_aberta();
    preparar_aplicacao(app);

    quarvel::app::FormSplash splash;
    splash.exibir();
    quarvel::app::FormPrincipal janela(quarvel::app::criar_dialogos_reais(),
                                       argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    app.salvar_recuperacao = [&janela] { return janela.salvar_recuperacao(); };
    splash.encerrar_apos(2000, [&janela] { janela.show(); });
    return app.exec();
}
