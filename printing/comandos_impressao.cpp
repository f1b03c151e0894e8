#include "printing/comandos_impressao.h"

#include "printing/dialogos_impressao.h"
#include "printing/mensagens.h"

#include <QPrinter>

namespace quarvel::printing {

void ComandosImpressao::preparar(const char* titulo) {
    ConteudoImpressao c = c_.conteudo();
    c.titulo = QString::fromUtf8(titulo);
    documento_.preparar(c);
}

void ComandosImpressao::imprimir() {
    QPrinter impressora(QPrinter::HighResolution);
    if (!c_.dialogos.configurar_impressao(c_.dono, impressora)) return;
    preparar(kTituloImpressao);
    QString erro;
    if (!documento_.imprimir(impressora, &erro))
        c_.dialogos.aviso(c_.dono, QString::fromUtf8(kFalhaImpressao).arg(erro));
}

void ComandosImpressao::visualizar() {
    preparar(kTituloVisualizacao);
    c_.dialogos.visualizar(c_.dono, documento_);
}

} // namespace quarvel::printing
