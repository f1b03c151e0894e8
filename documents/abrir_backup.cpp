// Opening a backup file (Open, the start-up file, a double click): its tape
// lines, read as the restore reads them, become a new calculation that was
// never saved, so the title says NovoCalculo.qvl and closing asks.
#include "documents/carregamento.h"
#include "documents/comandos_documento.h"
#include "documents/comandos_texto.h"
#include "documents/texto.h"
#include "tape/comandos_fita.h"
#include "tape/visao_fita.h"

namespace quarvel::documents {

bool ComandosDocumento::carregar_backup(const QString& caminho) {
    LeituraTexto leitura;
    // A refused backup leaves the open document as it was.
    if (!ler_valores_texto(c_.carregamento, c_.dialogos, c_.dono, caminho, false, leitura))
        return false;
    esvaziar();
    c_.fita.trocar(std::move(leitura.brutos), std::move(leitura.linhas));
    c_.visao.definir_linha_atual(1);
    return true;
}

} // namespace quarvel::documents
