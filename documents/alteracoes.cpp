#include "documents/alteracoes.h"

namespace quarvel::documents {
namespace {

bool mesma_configuracao(const Configuracao& a, const Configuracao& b) {
    return a.cabecalho == b.cabecalho && a.rodape == b.rodape && a.texto_backup == b.texto_backup &&
           a.backup == b.backup && a.qtdetempo == b.qtdetempo;
}

} // namespace

bool documento_alterado(const Retrato& atual, const std::optional<Documento>& salvo) {
    if (!salvo) {
        const Documento vazio;
        return !atual.entrada.empty() || !atual.doc.brutos.empty() ||
               !mesma_configuracao(atual.doc.config, vazio.config);
    }
    return atual.modificado || atual.doc.brutos != salvo->brutos ||
           !mesma_configuracao(atual.doc.config, salvo->config);
}

} // namespace quarvel::documents
