#include "documents/mensagens.h"

#include "documents/arquivo_calculo.h"
#include "documents/texto.h"
#include "tape/mensagens.h"

#include <vector>

namespace quarvel::documents {

std::string formatar(std::string_view modelo, std::initializer_list<std::string_view> valores) {
    const std::vector<std::string_view> v(valores);
    std::string texto;
    texto.reserve(modelo.size());
    for (std::size_t i = 0; i < modelo.size(); ++i) {
        const char c = modelo[i];
        if (c == '%' && i + 1 < modelo.size() && modelo[i + 1] >= '1' && modelo[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(modelo[i + 1] - '1');
            if (n < v.size()) {
                texto.append(v[n]);
                ++i;
                continue;
            }
        }
        texto += c;
    }
    return texto;
}

std::string mensagem_carga(const CargaCalculo& carga, std::string_view arquivo,
                           std::string_view copia) {
    switch (carga.estado) {
    case CargaCalculo::Estado::ExcedeMaximo:
        return tape::kMensagemMaximo;
    case CargaCalculo::Estado::Danificado:
        return formatar(kArquivoNaoAberto, {arquivo, carga.detalhe}) +
               (copia.empty() ? std::string() : formatar(kCopiaAnterior, {copia}));
    case CargaCalculo::Estado::Ok:
        break;
    }
    return {};
}

std::string mensagem_leitura(const LeituraTexto& leitura, std::string_view arquivo) {
    switch (leitura.estado) {
    case LeituraTexto::Estado::LinhaSemValor:
        return formatar(kLinhaSemValor,
                        {std::to_string(leitura.numero_linha), arquivo, leitura.texto_linha});
    case LeituraTexto::Estado::ExcedeMaximo:
        return tape::kMensagemMaximo;
    case LeituraTexto::Estado::Cancelado:
    case LeituraTexto::Estado::Ok:
        break;
    }
    return {};
}

} // namespace quarvel::documents
