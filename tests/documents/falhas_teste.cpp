// The five writers of the document commands (Save, Save As, text export, the
// backup tick and the recovery file after a program error) under real system-call
// failures, injected by the preloaded fault library, and on a real full disk.
// After every failure: the system's reason in the warning, the document
// still unsaved, no temporary file, and the old file byte for byte (or, when
// only the folder's sync after the rename failed, the new one complete).
#include "documents/arquivo_calculo.h"
#include "documents/texto.h"
#include "tests/documents/comandos_apoio.h"
#include "tests/falhas/falhas.h"
#include "tests/falhas/montagem.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <functional>

namespace quarvel::documents {
namespace {

using testes::Chamada;
using testes::Falhas;

// Every write is cut to this many bytes, so even a small file takes several
// calls and the middle one differs from the first and the last.
constexpr std::size_t kPedaco = 8;

using testes::escrever_arquivo;
using testes::ler_arquivo;

// What a save may leave in the folder; the lock a backup tick takes on its
// name (".<file>.trava") stays by design and is not counted.
QStringList conteudo(const QString& pasta) {
    QStringList r = QDir(pasta).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    r.removeIf([](const QString& n) { return n.endsWith(QStringLiteral(".trava")); });
    return r;
}

enum class Gravador { Salvar, SalvarComo, Exportar, Tique, Recuperacao };
enum class Posicao { Primeira, Meio, Ultima };

struct Caso {
    Gravador gravador;
    Chamada chamada;
    Posicao posicao;
    int erro;
};

const char* nome(Gravador g) {
    switch (g) {
    case Gravador::Salvar:
        return "Salvar";
    case Gravador::SalvarComo:
        return "SalvarComo";
    case Gravador::Exportar:
        return "Exportar";
    case Gravador::Tique:
        return "TiqueDoBackup";
    case Gravador::Recuperacao:
        return "Recuperacao";
    }
    return "";
}

void PrintTo(Gravador g, std::ostream* os) {
    *os << nome(g);
}

std::string nome_caso(const ::testing::TestParamInfo<Caso>& info) {
    const Caso& c = info.param;
    static const char* chamadas[] = {"Escrita", "Sincronia", "Renomeacao"};
    static const char* posicoes[] = {"Primeira", "Meio", "Ultima"};
    return std::string(nome(c.gravador)) + '_' + chamadas[static_cast<int>(c.chamada)] + '_' +
           posicoes[static_cast<int>(c.posicao)] + '_' + (c.erro == ENOSPC ? "ENOSPC" : "EIO");
}

void PrintTo(const Caso& c, std::ostream* os) {
    *os << nome_caso(::testing::TestParamInfo<Caso>(c, 0));
}

QString motivo(int erro) {
    return erro == ENOSPC ? QStringLiteral("Não há espaço disponível no dispositivo")
                          : QStringLiteral("Erro de entrada/saída");
}

class FalhasComandos : public ComandosTeste {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Falhas::carregada()) << "the fault library is not preloaded";
        ComandosTeste::SetUp();
    }

    // One writer made ready in the folder `base`, its old file in place and
    // the document changed since it was last saved.
    struct Cena {
        QString pasta_alvo; // where the file goes
        QString alvo;       // the file; empty for the recovery file
        QByteArray antigos; // what the file holds before
        std::function<void()> gravar;
    };
    QString recuperacao_; // what salvar_recuperacao gave

    Cena preparar(Gravador g, const QString& base) {
        Cena c;
        QDir().mkpath(base + QStringLiteral("/Backup"));
        qputenv("QUARVEL_PASTA_BACKUP", (base + QStringLiteral("/Backup")).toUtf8());
        for (const char* v : {"10", "20,5", "1.234,56", "7/3", "-5"})
            adicionar(QString::fromLatin1(v));
        c.pasta_alvo = base;
        switch (g) {
        case Gravador::Salvar:
            c.alvo = base + QStringLiteral("/doc.qvl");
            dlg->arquivos_salvar = {c.alvo};
            comandos_documento.salvar_como();
            adicionar(QStringLiteral("99"));
            c.gravar = [this] { comandos_documento.salvar_padrao(); };
            break;
        case Gravador::SalvarComo:
            c.alvo = base + QStringLiteral("/outro.qvl");
            escrever_arquivo(c.alvo, "[CONFIG]\r\nCABECALHO=antigo\r\n");
            c.gravar = [this, alvo = c.alvo] {
                dlg->arquivos_salvar = {alvo};
                comandos_documento.salvar_como();
            };
            break;
        case Gravador::Exportar:
            c.alvo = base + QStringLiteral("/fita.txt");
            escrever_arquivo(c.alvo, "1,00\r\n");
            c.gravar = [this, alvo = c.alvo] {
                dlg->arquivos_salvar = {alvo};
                comandos_texto.save_txt();
            };
            break;
        case Gravador::Tique:
            c.pasta_alvo = base + QStringLiteral("/Backup");
            c.alvo = c.pasta_alvo + QStringLiteral("/malote.qvlbackup");
            escrever_arquivo(c.alvo, "9,99\r\n");
            nome_arquivo->setText(QStringLiteral("malote.dia"));
            c.gravar = [this] { tique_backup(); };
            break;
        case Gravador::Recuperacao:
            c.pasta_alvo = base + QStringLiteral("/Backup");
            c.gravar = [this] { recuperacao_ = comandos_documento.salvar_recuperacao(); };
            break;
        }
        if (!c.alvo.isEmpty()) c.antigos = ler_arquivo(c.alvo);
        return c;
    }

    QByteArray bytes_esperados(Gravador g) const {
        if (g == Gravador::Exportar || g == Gravador::Tique)
            return QByteArray::fromStdString(escrever_texto(fita.linhas()));
        return QByteArray::fromStdString(comandos_documento.bytes_documento());
    }

    // Closing (here: New) still asks about the unsaved changes.
    void espera_documento_nao_salvo() {
        dlg->perguntas.clear();
        dlg->respostas = {Resposta::Cancelar};
        comandos_documento.novo();
        EXPECT_EQ(dlg->perguntas.size(), 1) << "the failed save counted as saved";
    }
};

class GravacaoComFalha : public FalhasComandos, public ::testing::WithParamInterface<Caso> {};

TEST_P(GravacaoComFalha, AvisaComOMotivoEMantemOArquivoAntigo) {
    const Caso caso = GetParam();
    testes::Desarmar desarmar;

    // A rehearsal of the same save in another folder counts its calls.
    {
        Cena ensaio = preparar(caso.gravador, caminho("ensaio"));
        Falhas::contar(ensaio.pasta_alvo);
        Falhas::escritas_curtas(kPedaco);
        ensaio.gravar();
        Falhas::desarmar();
        ASSERT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
    }
    const int chamadas = Falhas::contagem(caso.chamada);
    ASSERT_GT(chamadas, 0) << "the writer makes no such call";
    const int ordem = caso.posicao == Posicao::Primeira ? 1
                      : caso.posicao == Posicao::Meio   ? (chamadas + 1) / 2
                                                        : chamadas;

    // The commands emptied as New leaves them, and the same save, with one
    // call failing.
    dlg->respostas = {Resposta::Nao};
    comandos_documento.novo();
    dlg->avisos.clear();
    dlg->perguntas.clear();
    Cena cena = preparar(caso.gravador, caminho("real"));
    const QStringList nomes_antes = nomes;
    const QString arquivo = comandos_documento.arquivo_atual();
    const QStringList brutos_antes = brutos();
    const QStringList pasta_antes = conteudo(cena.pasta_alvo);
    const QByteArray novos = bytes_esperados(caso.gravador);
    Falhas::armar(cena.pasta_alvo, caso.chamada, ordem, caso.erro);
    Falhas::escritas_curtas(kPedaco);
    cena.gravar();
    Falhas::desarmar();
    ASSERT_TRUE(Falhas::disparou()) << "call " << ordem << " of " << chamadas << " never came";

    ASSERT_EQ(dlg->avisos.size(), 1);
    if (cena.alvo.isEmpty()) {
        EXPECT_TRUE(recuperacao_.isEmpty());
        const QRegularExpression esperado(
            QStringLiteral("^Não foi possível salvar o arquivo %1/recuperacao-[-0-9]+\\.qvl: %2$")
                .arg(QRegularExpression::escape(cena.pasta_alvo),
                     QRegularExpression::escape(motivo(caso.erro))));
        EXPECT_TRUE(esperado.match(dlg->avisos[0]).hasMatch()) << dlg->avisos[0].toStdString();
    } else {
        EXPECT_EQ(dlg->avisos[0], QStringLiteral("Não foi possível salvar o arquivo %1: %2")
                                      .arg(cena.alvo, motivo(caso.erro)));
    }
    if (Falhas::renomeacoes_antes_da_falha() == 0) {
        // Failed before the new file took the name: all as it was.
        EXPECT_EQ(conteudo(cena.pasta_alvo), pasta_antes) << "a temporary file stayed";
        if (!cena.alvo.isEmpty()) {
            EXPECT_EQ(ler_arquivo(cena.alvo), cena.antigos);
        }
    } else {
        // Only the folder's own sync comes after the rename: the new file is
        // complete in place, yet the save is still reported as failed.
        const QStringList agora = conteudo(cena.pasta_alvo);
        EXPECT_EQ(agora.size(), pasta_antes.size() + (cena.alvo.isEmpty() ? 1 : 0));
        const QString escrito = cena.alvo.isEmpty() && !agora.isEmpty()
                                    ? cena.pasta_alvo + QLatin1Char('/') + agora.last()
                                    : cena.alvo;
        EXPECT_EQ(ler_arquivo(escrito), novos);
    }
    EXPECT_EQ(nomes, nomes_antes); // the title stays
    EXPECT_EQ(comandos_documento.arquivo_atual(), arquivo);
    EXPECT_EQ(brutos(), brutos_antes);
    espera_documento_nao_salvo();
}

std::vector<Caso> casos() {
    std::vector<Caso> r;
    for (Gravador g : {Gravador::Salvar, Gravador::SalvarComo, Gravador::Exportar, Gravador::Tique,
                       Gravador::Recuperacao})
        for (Chamada c : {Chamada::Escrita, Chamada::Sincronia, Chamada::Renomeacao})
            for (Posicao p : {Posicao::Primeira, Posicao::Meio, Posicao::Ultima})
                for (int e : {ENOSPC, EIO})
                    r.push_back({g, c, p, e});
    return r;
}

INSTANTIATE_TEST_SUITE_P(Gravadores, GravacaoComFalha, ::testing::ValuesIn(casos()), nome_caso);

// Writes cut short and calls interrupted by signals are carried on: the file
// is whole and nothing is reported.
class GravacaoInterrompida : public FalhasComandos,
                             public ::testing::WithParamInterface<Gravador> {};

TEST_P(GravacaoInterrompida, TerminaOArquivoInteiro) {
    testes::Desarmar desarmar;
    Cena cena = preparar(GetParam(), caminho("real"));
    const QByteArray novos = bytes_esperados(GetParam());
    Falhas::contar(cena.pasta_alvo);
    Falhas::escritas_curtas(3);
    Falhas::interrupcoes(true);
    cena.gravar();
    Falhas::desarmar();
    EXPECT_TRUE(dlg->avisos.isEmpty()) << dlg->avisos.join(' ').toStdString();
    const QString escrito = cena.alvo.isEmpty() ? recuperacao_ : cena.alvo;
    ASSERT_FALSE(escrito.isEmpty());
    EXPECT_EQ(ler_arquivo(escrito), novos);
    EXPECT_GE(Falhas::contagem(Chamada::Escrita), (novos.size() + 2) / 3);
}

INSTANTIATE_TEST_SUITE_P(Gravadores, GravacaoInterrompida,
                         ::testing::Values(Gravador::Salvar, Gravador::SalvarComo,
                                           Gravador::Exportar, Gravador::Tique,
                                           Gravador::Recuperacao),
                         [](const ::testing::TestParamInfo<Gravador>& i) {
                             return std::string(nome(i.param));
                         });

// The backup tick warns once while the fault lasts, and again only after a
// tick has gone through.
TEST_F(FalhasComandos, TiqueQueFalhaAvisaUmaVezSo) {
    testes::Desarmar desarmar;
    Cena cena = preparar(Gravador::Tique, caminho("real"));
    for (int tique = 0; tique < 3; ++tique) {
        Falhas::armar(cena.pasta_alvo, Chamada::Escrita, 1, ENOSPC);
        tique_backup();
    }
    EXPECT_EQ(dlg->avisos.size(), 1);
    EXPECT_EQ(ler_arquivo(cena.alvo), cena.antigos);
    Falhas::desarmar();
    tique_backup();
    EXPECT_EQ(ler_arquivo(cena.alvo), bytes_esperados(Gravador::Tique));
    Falhas::armar(cena.pasta_alvo, Chamada::Escrita, 1, EIO);
    tique_backup();
    EXPECT_EQ(dlg->avisos.size(), 2);
}

// A real full disk: a 64 KB tmpfs filled to the last byte. The document is
// small (the saved file fits in the block it already has) or large.
class DiscoCheio : public FalhasComandos, public ::testing::WithParamInterface<int> {};

TEST_P(DiscoCheio, SalvarAvisaEMantemOArquivo) {
    const QString montagem = caminho("tmpfs");
    ASSERT_TRUE(QDir().mkpath(montagem));
    testes::Tmpfs tmpfs(montagem, "size=64k");
    if (!tmpfs.montado()) GTEST_SKIP() << tmpfs.motivo.toStdString();

    Documento doc;
    doc.config.cabecalho = "Malote";
    doc.brutos.assign(static_cast<std::size_t>(GetParam()), "1234,56");
    const QByteArray antigos = QByteArray::fromStdString(escrever_calculo(doc));
    const QString arquivo = montagem + QStringLiteral("/malote.qvl");
    escrever_arquivo(arquivo, antigos);
    ASSERT_TRUE(tmpfs.encher(montagem + QStringLiteral("/enchimento")));

    dlg->arquivos_abrir = {arquivo};
    comandos_documento.abrir();
    ASSERT_EQ(fita.tamanho(), static_cast<std::size_t>(GetParam()));
    const QStringList nomes_antes = nomes;
    adicionar(QStringLiteral("12*50"));
    comandos_documento.salvar_padrao();

    EXPECT_EQ(dlg->avisos, QStringList{QStringLiteral("Não foi possível salvar o arquivo %1: "
                                                      "Não há espaço disponível no dispositivo")
                                           .arg(arquivo)});
    EXPECT_EQ(ler_arquivo(arquivo), antigos);
    EXPECT_EQ(conteudo(montagem), (QStringList{"enchimento", "malote.qvl"}));
    EXPECT_EQ(nomes, nomes_antes);
    espera_documento_nao_salvo();
}

INSTANTIATE_TEST_SUITE_P(Tamanhos, DiscoCheio, ::testing::Values(3, 3000),
                         [](const ::testing::TestParamInfo<int>& i) {
                             return i.param < 100 ? std::string("Pequeno") : std::string("Grande");
                         });

} // namespace
} // namespace quarvel::documents
