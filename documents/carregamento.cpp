#include "documents/carregamento.h"

#include "documents/arquivos.h"
#include "documents/dialogos_documento.h"
#include "documents/mensagens.h"
#include "espera/frm_loading.h"

namespace quarvel::documents {

std::optional<QByteArray> Carregamento::ler(const QString& caminho, bool so_arquivo_comum) {
    QString erro;
    auto bytes = so_arquivo_comum ? ler_arquivo_comum(caminho, &erro) : ler_arquivo(caminho, &erro);
    if (!bytes) dialogos_.aviso(dono_, QString::fromUtf8(kArquivoNaoAberto).arg(caminho, erro));
    return bytes;
}

void Carregamento::com_janela_de_espera(const std::function<void(FormLoading&)>& carga) {
    ativo_ = true;
    {
        FormLoading loading(dono_);
        loading.iniciar();
        carga(loading);
    }
    ativo_ = false;
}

} // namespace quarvel::documents
