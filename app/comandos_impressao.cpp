// Printing, the print preview, help and the about box.
#include "app/frm_principal.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>

namespace quarvel::app {

void FormPrincipal::preparar_impressao(const QString& titulo) {
    printing::ConteudoImpressao c;
    c.linhas_fita.reserve(static_cast<int>(fita_.tamanho()));
    for (const std::string& l : fita_.linhas())
        c.linhas_fita.append(QString::fromStdString(l));
    c.total = valor_final_->text();
    c.cabecalho = cabecalho_->text();
    c.rodape = rodape_->text();
    c.titulo = titulo;
    documento_impressao_.preparar(c);
}

void FormPrincipal::imprimirExecute() {
    QPrinter impressora(QPrinter::HighResolution);
    if (!dialogos_->configurar_impressao(this, impressora)) return;
    preparar_impressao(QStringLiteral("Quarvel 1.0"));
    QString erro;
    if (!documento_impressao_.imprimir(impressora, &erro))
        dialogos_->aviso(this, QStringLiteral("Não foi possível imprimir: %1").arg(erro));
}

void FormPrincipal::visualizarExecute() {
    preparar_impressao(QStringLiteral("Quarvel"));
    dialogos_->visualizar(this, documento_impressao_);
}

void FormPrincipal::ajudaExecute() {
    // The help file beside the executable; our own guide when it is missing,
    // beside the executable in a build, under share/quarvel once installed.
    const QString pasta = QCoreApplication::applicationDirPath();
    const QString candidatos[] = {pasta + QStringLiteral("/ajuda_quarvel.chm"),
                                  pasta + QStringLiteral("/ajuda_quarvel.html"),
                                  pasta + QStringLiteral("/../share/quarvel/ajuda_quarvel.html")};
    for (const QString& caminho : candidatos) {
        if (QFileInfo::exists(caminho)) {
            dialogos_->abrir_endereco(QFileInfo(caminho).absoluteFilePath());
            return;
        }
    }
}

void FormPrincipal::sobreExecute() {
    dialogos_->sobre(this);
}

} // namespace quarvel::app
