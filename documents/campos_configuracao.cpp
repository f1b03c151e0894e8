#include "documents/campos_configuracao.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace quarvel::documents {

Configuracao ler_campos(const CamposConfiguracao& campos) {
    Configuracao c;
    c.cabecalho = campos.cabecalho.text().toStdString();
    c.rodape = campos.rodape.text().toStdString();
    c.texto_backup = campos.nome_arquivo.text().toStdString();
    c.backup = campos.d01.isChecked();
    c.qtdetempo = campos.qtdetempo.currentIndex();
    return c;
}

} // namespace quarvel::documents
