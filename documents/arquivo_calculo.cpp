#include "documents/arquivo_calculo.h"

#include "calc/dinheiro.h"
#include "documents/codificacao.h"
#include "documents/ini.h"
#include "tape/fita.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace quarvel::documents {

namespace {

constexpr std::string_view kConfig = "CONFIG";
constexpr std::string_view kLer = "LER";

// The only keys a calculation file is read for.
const std::vector<ini::Documento::Procurada>& chaves_do_calculo() {
    static const std::vector<ini::Documento::Procurada> chaves = {
        {kConfig, "CABECALHO"},    {kConfig, "RODAPE"}, {kConfig, "BACKUP"}, {kConfig, "QTDETEMPO"},
        {kConfig, "TEXTO_BACKUP"}, {kLer, "INICIO"},    {kLer, "FIM"},
    };
    return chaves;
}
constexpr const char* kBytesNulos = "bytes nulos no lugar do texto";
constexpr const char* kDepoisDoFim = "vem depois do último valor (FIM=";

// Texts quoted in a detail message are cut, so a damaged 2 MB line does not
// become a 2 MB message.

// A line break inside a setting would split its line and shift every line
// after it; a NUL would end the file for every reader. Both become blanks.
std::string texto_para_linha(std::string_view utf8) {
    std::string s(utf8);
    for (char& c : s)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    return utf8_para_cp1252(s);
}

std::string ler_texto_ini(const ini::Documento& ini, std::string_view chave) {
    const ini::Chave* c = ini.achar(kConfig, chave);
    if (c == nullptr) return {};
    return cp1252_para_utf8(std::string_view(c->valor).substr(0, kMaximoTextoConfiguracao));
}

std::optional<int> ler_inteiro_ini(const ini::Documento& ini, std::string_view secao,
                                   std::string_view chave) {
    const ini::Chave* c = ini.achar(secao, chave);
    if (c == nullptr) return std::nullopt;
    return ini::ler_inteiro(c->valor);
}

Configuracao configuracao_de(const ini::Documento& ini) {
    Configuracao cfg;
    cfg.cabecalho = ler_texto_ini(ini, "CABECALHO");
    cfg.rodape = ler_texto_ini(ini, "RODAPE");
    cfg.texto_backup = ler_texto_ini(ini, "TEXTO_BACKUP");
    cfg.backup = ler_inteiro_ini(ini, kConfig, "BACKUP").value_or(0) != 0;
    const int tempo = ler_inteiro_ini(ini, kConfig, "QTDETEMPO").value_or(kSemIntervalo);
    cfg.qtdetempo = (tempo >= 0 && tempo < kIntervalosBackup) ? tempo : kSemIntervalo;
    return cfg;
}

std::string linha_n(std::size_t indice) {
    return "linha " + std::to_string(indice + 1);
}

CargaCalculo danificado(std::string detalhe) {
    CargaCalculo c;
    c.estado = CargaCalculo::Estado::Danificado;
    c.detalhe = std::move(detalhe);
    return c;
}

// Reads one key of [LER]; on a fault fills detalhe.
std::optional<int> chave_ler(const ini::Documento& ini, std::string_view nome,
                             std::string& detalhe) {
    const ini::Chave* c = ini.achar(kLer, nome);
    if (c == nullptr) {
        detalhe = "a chave " + std::string(nome) + " não foi encontrada na seção [LER]";
        return std::nullopt;
    }
    const auto v = ini::ler_inteiro(c->valor);
    if (!v) {
        detalhe = linha_n(c->linha) + ": " + std::string(nome) + "=" + citar_linha(c->valor) +
                  " não é um número inteiro";
        return std::nullopt;
    }
    return v;
}

} // namespace

std::string escrever_calculo(const Documento& doc) {
    const Configuracao& cfg = doc.config;
    std::vector<std::string> linhas = {
        ini::linha_secao(kConfig),
        ini::linha_chave("CABECALHO", texto_para_linha(cfg.cabecalho)),
        ini::linha_chave("RODAPE", texto_para_linha(cfg.rodape)),
        ini::linha_chave("BACKUP", cfg.backup ? "1" : "0"),
        ini::linha_chave("QTDETEMPO", std::to_string(cfg.qtdetempo)),
        ini::linha_chave("TEXTO_BACKUP", texto_para_linha(cfg.texto_backup)),
        ini::linha_secao(kLer),
    };
    linhas.emplace_back(); // INICIO, filled in below
    linhas.emplace_back(); // FIM
    // The value block starts after the INI part and its empty separator line,
    // counted from the lines really written.
    const auto inicio = static_cast<long long>(linhas.size() + 1);
    const auto fim = inicio + static_cast<long long>(doc.brutos.size()) - 1;
    linhas[linhas.size() - 2] = ini::linha_chave("INICIO", std::to_string(inicio));
    linhas[linhas.size() - 1] = ini::linha_chave("FIM", std::to_string(fim));
    linhas.emplace_back();
    linhas.reserve(linhas.size() + doc.brutos.size());
    for (const auto& b : doc.brutos)
        linhas.push_back(texto_para_linha(b));
    return juntar_linhas_crlf(linhas);
}

bool cabe_na_configuracao(std::string_view utf8) {
    const std::string bytes = utf8_para_cp1252(utf8);
    if (bytes.size() > kMaximoTextoConfiguracao) return false;
    // A character the code page lacks came out as "?": the round trip tells.
    if (cp1252_para_utf8(bytes) != utf8) return false;
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        // Controls, and the five bytes Windows-1252 leaves undefined.
        if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
            return false;
    }
    return true;
}

Configuracao ler_configuracao(std::string_view bytes) {
    return configuracao_de(ini::Documento::ler(bytes, chaves_do_calculo()));
}

CargaCalculo carregar_calculo(std::string_view bytes,
                              const std::function<void(std::size_t)>& a_cada_valor) {
    const ini::Documento ini = ini::Documento::ler(bytes, chaves_do_calculo());

    const ini::Chave* chave_inicio = ini.achar(kLer, "INICIO");
    const ini::Chave* chave_fim = ini.achar(kLer, "FIM");
    if (chave_inicio == nullptr && chave_fim == nullptr) {
        return danificado(ini.tem_secao(kLer) ? "a seção [LER] não tem as chaves INICIO e FIM"
                                              : "a seção [LER] não foi encontrada");
    }
    std::string detalhe;
    const auto inicio = chave_ler(ini, "INICIO", detalhe);
    if (!inicio) return danificado(detalhe);
    const auto fim = chave_ler(ini, "FIM", detalhe);
    if (!fim) return danificado(detalhe);

    if (*inicio < 0)
        return danificado(linha_n(chave_inicio->linha) + ": INICIO=" + std::to_string(*inicio) +
                          " não pode ser negativo");
    const std::int64_t quantidade = std::int64_t{*fim} - *inicio + 1;
    if (quantidade > static_cast<std::int64_t>(tape::kMaximoValores)) {
        CargaCalculo c;
        c.estado = CargaCalculo::Estado::ExcedeMaximo;
        return c;
    }
    // The values cannot start inside the INI part that announces them.
    const std::size_t ultima_chave = std::max(chave_inicio->linha, chave_fim->linha);
    if (static_cast<std::size_t>(*inicio) <= ultima_chave)
        return danificado(linha_n(chave_inicio->linha) + ": INICIO=" + std::to_string(*inicio) +
                          " aponta para dentro da configuração");

    // No writer of this format puts a NUL in a file: a run of them is a
    // block that never reached the disk (a save cut by a power failure), and
    // every reader would stop at its first one.
    if (const std::size_t nulo = bytes.find('\0'); nulo != std::string_view::npos) {
        // The line it is on: the lines before it, plus the one it starts or
        // ends.
        const std::string ate_o_nulo = std::string(bytes.substr(0, nulo)) + "x";
        std::size_t antes = 0;
        std::string_view l;
        for (LeitorLinhas contador(ate_o_nulo); contador.proxima(l);)
            ++antes;
        return danificado(linha_n(antes - 1) + ": " + kBytesNulos);
    }

    CargaCalculo carga;
    carga.doc.config = configuracao_de(ini);
    if (quantidade <= 0) return carga;

    // The lines are walked, never kept: first to see that the last value
    // line exists, then to read the values.
    std::string_view linha;
    std::size_t total = 0;
    for (LeitorLinhas contador(bytes); contador.proxima(linha);)
        ++total;
    if (static_cast<std::size_t>(*fim) >= total)
        return danificado(linha_n(static_cast<std::size_t>(*fim)) + " não existe: o arquivo tem " +
                          std::to_string(total) + (total == 1 ? " linha" : " linhas"));

    const auto primeira = static_cast<std::size_t>(*inicio);
    const auto n = static_cast<std::size_t>(quantidade);
    carga.doc.brutos.reserve(n);
    carga.linhas.reserve(n);
    LeitorLinhas leitor(bytes);
    std::size_t indice = 0;
    for (; indice < primeira; ++indice)
        leitor.proxima(linha);
    for (std::size_t k = 0; k < n; ++k, ++indice) {
        leitor.proxima(linha);
        if (a_cada_valor) a_cada_valor(k);
        const auto v = calc::ler_estrito(linha);
        if (!v)
            return danificado(linha_n(indice) + ": '" + citar_linha(linha) + "' não é um valor");
        // The total is kept in double precision; a value past its range
        // could not be added up.
        if (!calc::finito(*v) || calc::absoluto(*v) > calc::Estendido(DBL_MAX))
            return danificado(linha_n(indice) + ": '" + citar_linha(linha) +
                              "' é grande demais para um valor");
        carga.doc.brutos.emplace_back(linha);
        carga.linhas.push_back(calc::mascara_dinheiro(*v));
    }
    // The values end at FIM: more text after them is what is left of another
    // version of the file, the tail of a longer one a save was rewriting.
    for (; leitor.proxima(linha); ++indice)
        if (!linha.empty())
            return danificado(linha_n(indice) + ": '" + citar_linha(linha) + "' " + kDepoisDoFim +
                              std::to_string(*fim) + ")");
    return carga;
}

} // namespace quarvel::documents
