// The session journal as the window keeps it, and the offer of a tape left by
// a window that did not close normally.
#include "documents/arquivo_calculo.h"
#include "documents/diario.h"
#include "documents/diario_sessao.h"
#include "documents/recuperacao_sessao.h"
#include "tests/app/janela_apoio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quarvel::app {
namespace {

using Resposta = Dialogos::Resposta;
using documents::Sessao;

QByteArray ler(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::optional<Sessao> reler(const QString& caminho) {
    const QByteArray b = ler(caminho);
    return documents::reler_diario({b.constData(), static_cast<std::size_t>(b.size())});
}

std::vector<std::string> brutos_de(const FormPrincipal& j) {
    return j.fita().brutos();
}

TEST_F(JanelaTeste, DiarioAcompanhaCadaComando) {
    const QString diario = janela->diario().caminho();
    EXPECT_TRUE(diario.startsWith(caminho("dados/Quarvel/sessoes/sessao-")));
    QFile txt(caminho("importar.txt"));
    ASSERT_TRUE(txt.open(QIODevice::WriteOnly));
    txt.write("7\r\n8\r\n");
    txt.close();
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

// Journals left behind by windows that were killed, made before the window
// starts.
class JanelaAposQueda : public JanelaTeste {
  protected:
    struct Orfao {
        const char* nome;
        documents::EstadoDocumento estado;
        std::vector<std::string> brutos;
        int segundos_atras;
    };
    virtual std::vector<Orfao> orfaos() const = 0;
    virtual std::deque<bool> respostas() const = 0;

    QString arquivo_inicial() override {
        const QString sessoes = caminho("dados/Quarvel/sessoes");
        QDir().mkpath(sessoes);
        for (const Orfao& o : orfaos()) {
            QFile f(sessoes + QStringLiteral("/%1.diario").arg(QString::fromLatin1(o.nome)));
            if (!f.open(QIODevice::WriteOnly)) ADD_FAILURE();
            // The snapshot, then the last value as a record of its own.
            std::vector<std::string> antes = o.brutos;
            std::string bytes;
            if (antes.empty()) {
                bytes = documents::iniciar_diario(o.estado, antes);
            } else {
                antes.pop_back();
                bytes = documents::iniciar_diario(o.estado, antes) +
                        documents::registro_alteracao(
                            {tape::Alteracao::Tipo::Acrescentar, 0, 1, o.brutos.back()});
            }
            f.write(bytes.data(), static_cast<qint64>(bytes.size()));
            f.flush(); // written before the time is set
            f.setFileTime(QDateTime::currentDateTime().addSecs(-o.segundos_atras),
                          QFileDevice::FileModificationTime);
        }
        dlg->recuperar = respostas();
        return {};
    }
    QStringList backups() const {
        return QDir(caminho("Backup")).entryList({QStringLiteral("recuperacao-*.qvl")});
    }
};

documents::EstadoDocumento estado_malote() {
    documents::EstadoDocumento e;
    e.arquivo = "/pasta/malote.qvl";
    e.config.cabecalho = "Loja Centro";
    e.config.texto_backup = "malote";
    e.config.qtdetempo = 2;
    return e;
}

class RecuperarSim : public JanelaAposQueda {
    std::vector<Orfao> orfaos() const override {
        return {{"sessao-1-a", estado_malote(), {"1", "2,5"}, 10}};
    }
    std::deque<bool> respostas() const override { return {true}; }
};

TEST_F(RecuperarSim, DevolveFitaEEstadoMarcadosComoAlterados) {
    EXPECT_EQ(
        dlg->perguntas_recuperacao,
        QStringList{"O Quarvel não foi fechado normalmente. Recuperar a fita com 2 valores?"});
    EXPECT_EQ(linhas(), (QStringList{"1,00", "2,50"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 3,50"));
    EXPECT_EQ(filho<QLineEdit>("cabecalho")->text(), QStringLiteral("Loja Centro"));
    EXPECT_EQ(filho<QLineEdit>("nome_arquivo")->text(), QStringLiteral("malote"));
    EXPECT_EQ(janela->arquivo_atual(), QStringLiteral("/pasta/malote.qvl"));
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - malote.qvl"));
    EXPECT_FALSE(ativo("desfazer"));
    EXPECT_FALSE(QFileInfo::exists(caminho("dados/Quarvel/sessoes/sessao-1-a.diario")));
    EXPECT_TRUE(backups().isEmpty());
    // The window's own journal has it now.
    EXPECT_EQ(reler(janela->diario().caminho())->brutos, (std::vector<std::string>{"1", "2,5"}));
    dlg->respostas = {Resposta::Cancelar};
    executar("novo");
    EXPECT_EQ(dlg->perguntas, QStringList{"Deseja salvar as alterações em malote.qvl"});
}

class RecuperarNao : public JanelaAposQueda {
    std::vector<Orfao> orfaos() const override {
        return {{"sessao-1-a", estado_malote(), {"1", "2,5"}, 10}};
    }
    std::deque<bool> respostas() const override { return {false}; }
};

TEST_F(RecuperarNao, GuardaNoBackupOndeORestaurarOEncontra) {
    EXPECT_EQ(dlg->perguntas_recuperacao.size(), 1);
    EXPECT_TRUE(linhas().isEmpty());
    const QStringList guardados = backups();
    ASSERT_EQ(guardados.size(), 1);
    EXPECT_EQ(ler(caminho("Backup/") + guardados.first()).toStdString(),
              documents::escrever_calculo({estado_malote().config, {"1", "2,5"}}));
    EXPECT_FALSE(QFileInfo::exists(caminho("dados/Quarvel/sessoes/sessao-1-a.diario")));
    dlg->backups = {guardados.first()};
    executar("backup");
    EXPECT_EQ(dlg->nomes_backup, guardados);
    EXPECT_EQ(linhas(), (QStringList{"1,00", "2,50"}));
}

class VariosOrfaos : public JanelaAposQueda {
    std::vector<Orfao> orfaos() const override {
        return {{"sessao-1-antiga", {}, {"1"}, 100},
                {"sessao-2-vazia", {}, {}, 5},
                {"sessao-3-nova", {}, {"2", "3"}, 10},
                {"sessao-4-mais-antiga", {}, {"4", "5", "6"}, 200}};
    }
    std::deque<bool> respostas() const override { return {false, true}; }
};

TEST_F(VariosOrfaos, OferecidosDoMaisNovoAteUmSerAceitoOsOutrosGuardados) {
    EXPECT_EQ(
        dlg->perguntas_recuperacao,
        (QStringList{"O Quarvel não foi fechado normalmente. Recuperar a fita com 2 valores?",
                     "O Quarvel não foi fechado normalmente. Recuperar a fita com 1 valores?"}));
    EXPECT_EQ(linhas(), QStringList{"1,00"});
    EXPECT_EQ(backups().size(), 2);
    // Only this window's own journal is left.
    EXPECT_EQ(QDir(caminho("dados/Quarvel/sessoes")).entryList({QStringLiteral("*.diario")}),
              QStringList{QFileInfo(janela->diario().caminho()).fileName()});
}

} // namespace
} // namespace quarvel::app
