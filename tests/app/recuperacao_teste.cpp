// The session journal as the window keeps it, and the offer of a tape left by
// a window that did not close normally.
#include "documents/arquivo_calculo.h"
#include "sessao/diario.h"
#include "sessao/diario_sessao.h"
#include "sessao/recuperacao_sessao.h"
#include "tests/apoio/arquivos.h"
#include "tests/app/janela_apoio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quarvel::app {
namespace {

using Resposta = Dialogos::Resposta;
using documents::Sessao;

using testes::ler_arquivo;

std::optional<Sessao> reler(const QString& caminho) {
    const QByteArray b = ler_arquivo(caminho);
    return documents::reler_diario({b.constData(), static_cast<std::size_t>(b.size())});
}

std::vector<std::string> brutos_de(const FormPrincipal& j) {
    return j.fita().brutos();
}

TEST_F(JanelaTeste, DiarioAcompanhaCadaComando) {
    const QString diario = janela->diario().caminho();
    EXPECT_TRUE(diario.startsWith(caminho("dados/Quarvel/sessoes/sessao-")));
    testes::escrever_arquivo(caminho("importar.txt"), "7\r\n8\r\n");
    const std::pair<const char*, std::function<void()>> passos[] = {
        {"adicionar", [&] { adicionar(QStringLiteral("12*50")); }},
        {"repetir",
         [&] {
             campo()->setText(QStringLiteral("2,5"));
             dlg->repeticoes = {5000};
             executar("repetir_valor");
         }},
        {"modificar",
         [&] {
             dlg->valores = {QStringLiteral("3")};
             executar("novo_valor");
         }},
        {"deletar", [&] { executar("deletar_valor"); }},
        {"desfazer", [&] { executar("desfazer"); }},
        {"refazer", [&] { executar("refazer"); }},
        {"limpar", [&] { executar("limpar_valor"); }},
        {"desfazer_limpar", [&] { executar("desfazer"); }},
        {"cabecalho_e_adicionar",
         [&] {
             filho<QLineEdit>("cabecalho")->setText(QStringLiteral("Caixa 2"));
             adicionar(QStringLiteral("1"));
         }},
        {"importar",
         [&] {
             dlg->arquivos_abrir = {caminho("importar.txt")};
             executar("abrir_txt");
         }},
        {"salvar_como",
         [&] {
             dlg->arquivos_salvar = {caminho("salvo.qvl")};
             executar("salvar_como");
         }},
        {"novo", [&] { executar("novo"); }},
    };
    for (const auto& [nome, passo] : passos) {
        passo();
        const auto s = reler(diario);
        ASSERT_TRUE(s) << nome;
        EXPECT_EQ(s->brutos, brutos_de(*janela)) << nome;
        EXPECT_FALSE(s->cauda_descartada) << nome;
        EXPECT_EQ(QString::fromStdString(s->estado.arquivo), janela->arquivo_atual()) << nome;
        EXPECT_EQ(QString::fromStdString(s->estado.config.cabecalho),
                  filho<QLineEdit>("cabecalho")->text())
            << nome;
    }
}

TEST_F(JanelaTeste, FecharNormalmenteApagaODiarioECancelarNao) {
    const QString diario = janela->diario().caminho();
    adicionar(QStringLiteral("1"));
    dlg->respostas = {Resposta::Cancelar};
    janela->close();
    EXPECT_TRUE(QFileInfo::exists(diario));
    dlg->respostas = {Resposta::Nao};
    janela->close();
    EXPECT_FALSE(QFileInfo::exists(diario));
    EXPECT_TRUE(QDir(caminho("dados/Quarvel/sessoes")).isEmpty());
}

TEST_F(JanelaTeste, JanelasVivasNaoTemODiarioOferecidoNemMisturado) {
    auto d = std::make_unique<DialogosRoteiro>();
    DialogosRoteiro* dlg2 = d.get();
    FormPrincipal outra(std::move(d));
    outra.show();
    QApplication::processEvents();
    adicionar(QStringLiteral("1"));
    auto* campo2 = outra.findChild<QLineEdit*>(QStringLiteral("texto_valor"));
    campo2->setText(QStringLiteral("2"));
    outra.findChild<QAction*>(QStringLiteral("add_valor"), Qt::FindDirectChildrenOnly)->trigger();
    EXPECT_NE(janela->diario().caminho(), outra.diario().caminho());
    EXPECT_EQ(reler(janela->diario().caminho())->brutos, std::vector<std::string>{"1"});
    EXPECT_EQ(reler(outra.diario().caminho())->brutos, std::vector<std::string>{"2"});
    // Each holds its lock: a start now finds nothing to offer.
    EXPECT_FALSE(documents::oferecer_recuperacao(
        {documents::pasta_sessoes(), *dlg, nullptr, [](Sessao) { ADD_FAILURE(); }}));
    EXPECT_TRUE(dlg->perguntas_recuperacao.isEmpty());
    EXPECT_TRUE(dlg2->perguntas_recuperacao.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(janela->diario().caminho()));
}

documents::EstadoDocumento estado_malote() {
    documents::EstadoDocumento e;
    e.arquivo = "/pasta/malote.qvl";
    e.config.cabecalho = "Loja Centro";
    e.config.texto_backup = "malote";
    e.config.qtdetempo = 2;
    return e;
}

// Journals left behind by killed windows, made before the window starts:
// the newest is refused, the next one taken, an empty one never offered.
class JanelaAposQueda : public JanelaTeste {
  protected:
    QString arquivo_inicial() override {
        const QString sessoes = caminho("dados/Quarvel/sessoes");
        QDir().mkpath(sessoes);
        const struct {
            const char* nome;
            documents::EstadoDocumento estado;
            std::vector<std::string> brutos;
            int segundos_atras;
        } orfaos[] = {{"sessao-1-antiga", estado_malote(), {"1", "2,5"}, 100},
                      {"sessao-2-vazia", {}, {}, 5},
                      {"sessao-3-nova", {}, {"7", "8", "9"}, 10}};
        for (const auto& o : orfaos) {
            QFile f(sessoes + QStringLiteral("/%1.diario").arg(QString::fromLatin1(o.nome)));
            if (!f.open(QIODevice::WriteOnly)) ADD_FAILURE();
            std::string bytes = documents::iniciar_diario(o.estado, o.brutos);
            if (!o.brutos.empty()) // the last value as a record of its own
                bytes =
                    documents::iniciar_diario(o.estado, {o.brutos.begin(), o.brutos.end() - 1}) +
                    documents::registro_alteracao(
                        {tape::Alteracao::Tipo::Acrescentar, 0, 1, o.brutos.back()});
            f.write(bytes.data(), static_cast<qint64>(bytes.size()));
            f.flush(); // written before the time is set
            f.setFileTime(QDateTime::currentDateTime().addSecs(-o.segundos_atras),
                          QFileDevice::FileModificationTime);
        }
        dlg->recuperar = {false, true};
        return {};
    }
};

TEST_F(JanelaAposQueda, OferecidosDoMaisNovoOsRecusadosGuardadosNoBackup) {
    const QString pergunta =
        QStringLiteral("O Quarvel não foi fechado normalmente. Recuperar a fita com %1 valores?");
    EXPECT_EQ(dlg->perguntas_recuperacao, (QStringList{pergunta.arg(3), pergunta.arg(2)}));
    // Sim: the tape and the document's state, unsaved, with a new history.
    EXPECT_EQ(linhas(), (QStringList{"1,00", "2,50"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 3,50"));
    EXPECT_EQ(filho<QLineEdit>("cabecalho")->text(), QStringLiteral("Loja Centro"));
    EXPECT_EQ(filho<QLineEdit>("nome_arquivo")->text(), QStringLiteral("malote"));
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - malote.qvl"));
    EXPECT_FALSE(ativo("desfazer"));
    EXPECT_EQ(reler(janela->diario().caminho())->brutos, (std::vector<std::string>{"1", "2,5"}));
    // Only this window's own journal is left.
    EXPECT_EQ(QDir(caminho("dados/Quarvel/sessoes")).entryList({QStringLiteral("*.diario")}),
              QStringList{QFileInfo(janela->diario().caminho()).fileName()});
    dlg->respostas = {Resposta::Cancelar};
    executar("abrir");
    EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em malote.qvl"});
    // Não: a calculation file in the Backup folder, which the restore lists.
    const QStringList guardados =
        QDir(caminho("Backup")).entryList({QStringLiteral("recuperacao-*.qvl")});
    ASSERT_EQ(guardados.size(), 1);
    EXPECT_EQ(ler_arquivo(caminho("Backup/") + guardados.first()).toStdString(),
              documents::escrever_calculo({{}, {"7", "8", "9"}}));
    dlg->backups = {guardados.first()};
    executar("backup");
    EXPECT_EQ(dlg->nomes_backup, guardados);
    EXPECT_EQ(linhas(), (QStringList{"7,00", "8,00", "9,00"}));
}

} // namespace
} // namespace quarvel::app
