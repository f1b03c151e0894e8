#pragma once
// The controls of the window that show a document's settings, the [CONFIG]
// section of its file.
#include "documents/arquivo_calculo.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quarvel::documents {

struct CamposConfiguracao {
    QLineEdit& cabecalho;
    QLineEdit& rodape;
    QLineEdit& nome_arquivo; // the backup's name
    QCheckBox& d01;          // the backup switch
    QComboBox& qtdetempo;    // the backup interval
};

// The settings as the controls show them now.
Configuracao ler_campos(const CamposConfiguracao& campos);

} // namespace quarvel::documents
