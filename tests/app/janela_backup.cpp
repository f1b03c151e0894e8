// A real main window in a process of its own, driven line by line on
// standard input, for the tests of two windows at once:
//   valor TEXTO   adds an amount
//   ligar NOME    types the backup name and turns the switch on
//   tique         runs one backup tick now, as the backup timer's would; its
//                 write goes on behind, so the caller waits for the file
// After each line: the warnings shown meanwhile, one per line, then "ok".
#include "app/frm_principal.h"
#include "tests/app/dialogos_roteiro.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto dialogos = std::make_unique<quarvel::app::DialogosRoteiro>();
    auto* dlg = dialogos.get();
    quarvel::app::FormPrincipal janela(std::move(dialogos), QString());
    janela.show();
    QApplication::processEvents();
    auto filho = [&janela](const char* nome) {
        return janela.findChild<QWidget*>(QString::fromLatin1(nome));
    };
    std::string linha;
    while (std::getline(std::cin, linha)) {
        const std::size_t espaco = linha.find(' ');
        const std::string comando = linha.substr(0, espaco);
        const QString argumento = espaco == std::string::npos
                                      ? QString()
                                      : QString::fromStdString(linha.substr(espaco + 1));
        if (comando == "valor") {
            static_cast<QLineEdit*>(filho("texto_valor"))->setText(argumento);
            janela.atualizar_acoes();
            if (auto* a = janela.findChild<QAction*>(QStringLiteral("add_valor"),
                                                     Qt::FindDirectChildrenOnly))
                a->trigger();
        } else if (comando == "ligar") {
            static_cast<QLineEdit*>(filho("nome_arquivo"))->setText(argumento);
            static_cast<QCheckBox*>(filho("d01"))->setChecked(true);
        } else if (comando == "tique") {
            auto* t = janela.findChild<QTimer*>(QStringLiteral("temporizador_backup"));
            if (!t || !QMetaObject::invokeMethod(t, "timeout"))
                std::cout << "sem temporizador_backup\n";
        }
        QApplication::processEvents();
        for (const QString& a : dlg->avisos)
            std::cout << a.toStdString() << '\n';
        dlg->avisos.clear();
        std::cout << "ok" << std::endl;
    }
    return 0;
}
