#include "sessao/diario.h"

#include "calc/dinheiro.h"
#include "tape/mensagens.h"

#include <array>
#include <cfloat>

namespace quarvel::documents {
namespace {

// The header names the format; a file without it is not read.
constexpr std::string_view kCabecalho = "QVLDIARIO1\n";
constexpr std::string_view kFormato = "QVLDIARIO";
// A record is at most this long: a snapshot of a full tape is far below it.
constexpr std::uint32_t kMaximoRegistro = 64u << 20;
// Replay stops being worth it past this many values made, moved or dropped:
// a journal a window wrote stays far below (it is written anew after 4 MB of
// records), while one made to alternate 50,000-value repeats and cuts would
// otherwise hold the start for minutes.
constexpr std::uint64_t kTrabalhoMaximo = 1u << 26;

// The checks a value read from a calculation file passes: it reads, and the
// total, kept as a double, can add it up.
bool valor_aceito(std::string_view bruto) {
    const auto v = calc::ler_estrito(bruto);
    return v && calc::finito(*v) && calc::absoluto(*v) <= calc::Estendido(DBL_MAX);
}

enum Tipo : char {
    kInstantaneo = 'I',
    kEstado = 'E',
    kAcrescentar = 'A',
    kInserir = 'N',
    kSubstituir = 'S',
    kRemover = 'R',
    kCortar = 'C',
};

void u32(std::string& s, std::uint64_t v) {
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void texto(std::string& s, std::string_view t) {
    u32(s, t.size());
    s += t;
}

void estado(std::string& s, const EstadoDocumento& e) {
    texto(s, e.arquivo);
    texto(s, e.config.cabecalho);
    texto(s, e.config.rodape);
    texto(s, e.config.texto_backup);
    s += e.config.backup ? '\1' : '\0';
    u32(s, static_cast<std::uint32_t>(e.config.qtdetempo)); // -1 comes back as -1
}

// Length and checksum in front of the record's own bytes.
std::string envelope(const std::string& corpo) {
    std::string r;
    r.reserve(corpo.size() + 8);
    u32(r, corpo.size());
    u32(r, crc32(corpo));
    r += corpo;
    return r;
}

class Leitor {
  public:
    explicit Leitor(std::string_view b) : b_(b) {}
    bool fim() const { return p_ == b_.size(); }
    bool u32(std::uint32_t& v) {
        if (b_.size() - p_ < 4) return false;
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b_[p_ + i])) << (8 * i);
        p_ += 4;
        return true;
    }
    bool tamanho(std::size_t& v) {
        std::uint32_t x = 0;
        if (!u32(x)) return false;
        v = x;
        return true;
    }
    bool texto(std::string& t) {
        std::uint32_t n = 0;
        if (!u32(n) || b_.size() - p_ < n) return false;
        t.assign(b_.substr(p_, n));
        p_ += n;
        return true;
    }
    bool byte(char& c) {
        if (p_ == b_.size()) return false;
        c = b_[p_++];
        return true;
    }
    bool estado(EstadoDocumento& e) {
        char ligado = 0;
        std::uint32_t indice = 0;
        if (!texto(e.arquivo) || !texto(e.config.cabecalho) || !texto(e.config.rodape) ||
            !texto(e.config.texto_backup) || !byte(ligado) || !u32(indice))
            return false;
        e.config.backup = ligado != 0;
        e.config.qtdetempo = static_cast<int>(static_cast<std::int32_t>(indice));
        return true;
    }
    // The next whole record's bytes, checked; empty when torn or damaged.
    std::optional<std::string_view> registro() {
        std::uint32_t n = 0, soma = 0;
        if (!u32(n) || !u32(soma) || n == 0 || n > kMaximoRegistro || b_.size() - p_ < n)
            return std::nullopt;
        const std::string_view corpo = b_.substr(p_, n);
        if (crc32(corpo) != soma) return std::nullopt;
        p_ += n;
        return corpo;
    }

  private:
    std::string_view b_;
    std::size_t p_ = 0;
};

std::optional<Sessao> instantaneo(std::string_view corpo) {
    Leitor l(corpo);
    char tipo = 0;
    Sessao s;
    std::size_t n = 0;
    if (!l.byte(tipo) || tipo != kInstantaneo || !l.estado(s.estado) || !l.tamanho(n) ||
        n > tape::kMaximoValores)
        return std::nullopt;
    s.brutos.resize(n);
    for (auto& b : s.brutos)
        if (!l.texto(b) || !valor_aceito(b)) return std::nullopt;
    if (!l.fim()) return std::nullopt;
    return s;
}

// How many values applying `a` makes, moves or drops.
std::uint64_t trabalho(const tape::Alteracao& a, std::size_t n) {
    using T = tape::Alteracao::Tipo;
    switch (a.tipo) {
    case T::Acrescentar:
        return a.quantidade;
    case T::Inserir:
    case T::Remover:
    case T::Cortar:
        return a.posicao < n ? n - a.posicao : 0;
    default:
        return 0;
    }
}

// Applies one record after the snapshot; false when it does not apply.
// `gasto` counts the work done so far.
bool reproduzir(std::string_view corpo, Sessao& s, std::uint64_t& gasto) {
    Leitor l(corpo);
    char tipo = 0;
    if (!l.byte(tipo)) return false;
    using T = tape::Alteracao::Tipo;
    tape::Alteracao a;
    bool ok = true;
    switch (tipo) {
    case kEstado: {
        EstadoDocumento e;
        if (!l.estado(e) || !l.fim()) return false;
        s.estado = std::move(e);
        return true;
    }
    case kAcrescentar:
        a.tipo = T::Acrescentar;
        ok = l.tamanho(a.quantidade) && l.texto(a.bruto);
        break;
    case kInserir:
        a.tipo = T::Inserir;
        ok = l.tamanho(a.posicao) && l.texto(a.bruto);
        break;
    case kSubstituir:
        a.tipo = T::Substituir;
        ok = l.tamanho(a.posicao) && l.texto(a.bruto);
        break;
    case kRemover:
        a.tipo = T::Remover;
        ok = l.tamanho(a.posicao);
        break;
    case kCortar:
        a.tipo = T::Cortar;
        ok = l.tamanho(a.posicao);
        break;
    default:
        return false;
    }
    if (!ok || !l.fim()) return false;
    const bool com_valor =
        a.tipo == T::Acrescentar || a.tipo == T::Inserir || a.tipo == T::Substituir;
    if (com_valor && !valor_aceito(a.bruto)) return false;
    gasto += 1 + trabalho(a, s.brutos.size());
    return gasto <= kTrabalhoMaximo && tape::aplicar(s.brutos, a);
}

} // namespace

bool operator==(const EstadoDocumento& a, const EstadoDocumento& b) {
    return a.arquivo == b.arquivo && a.config.cabecalho == b.config.cabecalho &&
           a.config.rodape == b.config.rodape && a.config.texto_backup == b.config.texto_backup &&
           a.config.backup == b.config.backup && a.config.qtdetempo == b.config.qtdetempo;
}

std::uint32_t crc32(std::string_view bytes) {
    static const auto tabela = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = tabela[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string iniciar_diario(const EstadoDocumento& e, const std::vector<std::string>& brutos) {
    std::string corpo(1, kInstantaneo);
    estado(corpo, e);
    u32(corpo, brutos.size());
    for (const auto& b : brutos)
        texto(corpo, b);
    return std::string(kCabecalho) + envelope(corpo);
}

std::string registro_estado(const EstadoDocumento& e) {
    std::string corpo(1, kEstado);
    estado(corpo, e);
    return envelope(corpo);
}

std::string registro_alteracao(const tape::Alteracao& a) {
    using T = tape::Alteracao::Tipo;
    std::string corpo;
    switch (a.tipo) {
    case T::Acrescentar:
        corpo += kAcrescentar;
        u32(corpo, a.quantidade);
        texto(corpo, a.bruto);
        break;
    case T::Inserir:
        corpo += kInserir;
        u32(corpo, a.posicao);
        texto(corpo, a.bruto);
        break;
    case T::Substituir:
        corpo += kSubstituir;
        u32(corpo, a.posicao);
        texto(corpo, a.bruto);
        break;
    case T::Remover:
        corpo += kRemover;
        u32(corpo, a.posicao);
        break;
    case T::Cortar:
        corpo += kCortar;
        u32(corpo, a.posicao);
        break;
    case T::Trocar:
        return {}; // a new journal, not a record
    }
    return envelope(corpo);
}

std::optional<Sessao> reler_diario(std::string_view bytes, std::string* motivo) {
    auto recusar = [motivo](const char* porque) {
        if (motivo) *motivo = porque;
        return std::nullopt;
    };
    if (bytes.substr(0, kCabecalho.size()) != kCabecalho) {
        if (bytes.substr(0, kFormato.size()) == kFormato)
            return recusar("é de outra versão do Quarvel");
        return recusar("não é um diário do Quarvel");
    }
    Leitor l(bytes.substr(kCabecalho.size()));
    const auto primeiro = l.registro();
    if (!primeiro) return recusar("a fita guardada nele está incompleta ou danificada");
    auto s = instantaneo(*primeiro);
    if (!s) return recusar("a fita guardada nele tem um valor que não é aceito");
    std::uint64_t gasto = 0;
    while (!l.fim()) {
        const auto corpo = l.registro();
        if (!corpo || !reproduzir(*corpo, *s, gasto)) {
            if (gasto > kTrabalhoMaximo)
                return recusar("as alterações dele dão trabalho demais para serem refeitas");
            s->cauda_descartada = true;
            break;
        }
        ++s->registros;
    }
    return s;
}

bool sessao_vazia(const Sessao& s) {
    return s.brutos.empty() && s.estado == EstadoDocumento{};
}

} // namespace quarvel::documents
