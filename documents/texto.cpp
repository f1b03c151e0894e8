#include "documents/texto.h"

#include "calc/dinheiro.h"
#include "documents/codificacao.h"
#include "tape/fita.h"

#include <cfloat>
#include <cmath>

namespace quarvel::documents {

namespace {

bool so_brancos(std::string_view s) {
    for (char c : s)
        if (c != ' ' && c != '\t') return false;
    return true;
}

LeituraTexto com_estado(LeituraTexto::Estado e) {
    LeituraTexto l;
    l.estado = e;
    return l;
}

} // namespace

std::string escrever_texto(const std::vector<std::string>& linhas_fita) {
    std::vector<std::string> linhas;
    linhas.reserve(linhas_fita.size());
    for (const auto& l : linhas_fita) {
        // A line past 18 integer digits shows in the exponent form (1E20),
        // whose digits alone would import as 120: written out in full it
        // imports as the value shown.
        const bool exponencial = l.find('E') != std::string::npos;
        const auto v = exponencial ? calc::ler_estrito(l) : std::nullopt;
        linhas.push_back(v ? calc::mascara_completa(*v) : utf8_para_cp1252(l));
    }
    return juntar_linhas_crlf(linhas);
}

LeituraTexto ler_texto(std::string_view bytes, const std::function<bool(std::size_t)>& continuar) {
    // Counted first, and refused at the first line past the limit, before
    // any line is converted; the lines are views into the bytes, never kept.
    std::size_t com_texto = 0;
    std::string_view linha;
    for (LeitorLinhas contador(bytes); contador.proxima(linha);)
        if (!so_brancos(linha) && ++com_texto > tape::kMaximoValores)
            return com_estado(LeituraTexto::Estado::ExcedeMaximo);

    LeituraTexto leitura;
    leitura.brutos.reserve(com_texto);
    leitura.linhas.reserve(com_texto);
    LeitorLinhas leitor(bytes);
    for (std::size_t i = 0; leitor.proxima(linha); ++i) {
        // Blank lines cost no call: a file of them is passed over at once.
        if (so_brancos(linha)) continue;
        if (continuar && !continuar(i)) return com_estado(LeituraTexto::Estado::Cancelado);
        const auto v = calc::extrair_valor(linha);
        // A number past the double range could not be added to the total.
        if (!v || !calc::finito(*v) || calc::absoluto(*v) > calc::Estendido(DBL_MAX)) {
            LeituraTexto falha = com_estado(LeituraTexto::Estado::LinhaSemValor);
            falha.numero_linha = static_cast<int>(i + 1);
            falha.texto_linha = citar_linha(linha);
            return falha;
        }
        // The line is the mask of the raw value as kept (15 digits), not of
        // the longer number read: 12345678901234,567 is kept as
        // 12345678901234,6 and shown 12.345.678.901.234,60.
        leitura.brutos.push_back(calc::valor_bruto(*v));
        leitura.linhas.push_back(calc::linha_fita(leitura.brutos.back()));
    }
    return leitura;
}

bool e_arquivo_backup(std::string_view caminho) {
    constexpr std::string_view kExtensao = ".qvlbackup";
    if (caminho.size() < kExtensao.size()) return false;
    const std::string_view fim = caminho.substr(caminho.size() - kExtensao.size());
    for (std::size_t i = 0; i < fim.size(); ++i) {
        const auto c = static_cast<unsigned char>(fim[i]);
        const char minuscula = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : fim[i];
        if (minuscula != kExtensao[i]) return false;
    }
    return true;
}

} // namespace quarvel::documents
