// The session journal as the window keeps it, and the offer of a tape left by
// a window that did not close normally.
#include "documents/arquivo_calculo.h"
#include "sessao/diario.h"
#include "sessao/diario_sessao.h"
#include "sessao/recuperacao_sessao.h"
#include "tests/apoio/arquivos.h"
#include "tests/app/janela_apoio.h"
#include "tests/gravacao/usuarios.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quarvel::app {
namespace {

using Resposta = Dialogos::Resposta;
using documents::Sessao;

using testes::ler_arquivo;

std::optional<Sessao> reler(const QString& caminho) {
    const QByteArray b = ler_arquivo(caminho);
    return documents::reler_diario({b.constData(), static_cast<std::size_t>(b.size())});
}

TEST_F(JanelaTeste, DiarioAcompanhaCadaComando) {
    const QString diario = caminho_diario;
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
        // The window's file: the one Save As named, until New.
        const bool salvo = std::string(nome) == "salvar_como";
        const QString arquivo = salvo ? caminho("salvo.qvl") : QString();
        EXPECT_TRUE(janela->windowTitle().endsWith(salvo ? QStringLiteral(" - salvo.qvl")
                                                         : QStringLiteral(" - NovoCalculo.qvl")))
            << nome;
        const auto em_dia = [&](const std::optional<Sessao>& s) {
            return s && !s->cauda_descartada && s->brutos == modelo_fita().brutos() &&
                   QString::fromStdString(s->estado.arquivo) == arquivo &&
                   QString::fromStdString(s->estado.config.cabecalho) ==
                       filho<QLineEdit>("cabecalho")->text();
        };
        esperar_que([&] { return em_dia(reler(diario)); });
        const auto s = reler(diario);
        ASSERT_TRUE(s) << nome;
        EXPECT_EQ(s->brutos, modelo_fita().brutos()) << nome;
        EXPECT_FALSE(s->cauda_descartada) << nome;
        EXPECT_EQ(QString::fromStdString(s->estado.arquivo), arquivo) << nome;
        EXPECT_EQ(QString::fromStdString(s->estado.config.cabecalho),
                  filho<QLineEdit>("cabecalho")->text())
            << nome;
    }
}

TEST_F(JanelaTeste, FecharNormalmenteApagaODiarioECancelarNao) {
    const QString diario = caminho_diario;
    adicionar(QStringLiteral("1"));
    // The writer caught up: the journal is there.
    esperar_que([&] { return reler(diario) && reler(diario)->brutos.size() == 1; });
    ASSERT_TRUE(reler(diario));
    EXPECT_EQ(reler(diario)->brutos, std::vector<std::string>{"1"});
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
    const QStringList antes = travas_de_sessao();
    FormPrincipal outra(std::move(d));
    const QString diario_outra = diario_novo(antes);
    outra.show();
    QApplication::processEvents();
    adicionar(QStringLiteral("1"));
    auto* campo2 = outra.findChild<QLineEdit*>(QStringLiteral("texto_valor"));
    campo2->setText(QStringLiteral("2"));
    outra.findChild<QAction*>(QStringLiteral("add_valor"), Qt::FindDirectChildrenOnly)->trigger();
    const auto com = [](const QString& diario, const char* bruto) {
        const auto s = reler(diario);
        return s && s->brutos == std::vector<std::string>{bruto};
    };
    esperar_que([&] { return com(caminho_diario, "1") && com(diario_outra, "2"); });
    ASSERT_FALSE(diario_outra.isEmpty());
    EXPECT_NE(caminho_diario, diario_outra);
    ASSERT_TRUE(reler(caminho_diario) && reler(diario_outra));
    EXPECT_EQ(reler(caminho_diario)->brutos, std::vector<std::string>{"1"});
    EXPECT_EQ(reler(diario_outra)->brutos, std::vector<std::string>{"2"});
    // Each holds its lock: a start now finds nothing to offer.
    EXPECT_FALSE(documents::oferecer_recuperacao(
        {documents::pasta_sessoes(), *dlg, nullptr, [](Sessao) { ADD_FAILURE(); }}));
    EXPECT_TRUE(dlg->perguntas_recuperacao.isEmpty());
    EXPECT_TRUE(dlg2->perguntas_recuperacao.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(caminho_diario));
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
    const QString pergunta = QStringLiteral(
        "O Quarvel não foi fechado normalmente. Recuperar a fita com %1 valores de ");
    ASSERT_EQ(dlg->perguntas_recuperacao.size(), 2);
    EXPECT_TRUE(dlg->perguntas_recuperacao[0].startsWith(pergunta.arg(3)));
    EXPECT_TRUE(dlg->perguntas_recuperacao[1].startsWith(pergunta.arg(2)));
    // Sim: the tape and the document's state, unsaved, with a new history.
    EXPECT_EQ(linhas(), (QStringList{"1,00", "2,50"}));
    EXPECT_EQ(total(), QStringLiteral("R$ 3,50"));
    EXPECT_EQ(filho<QLineEdit>("cabecalho")->text(), QStringLiteral("Loja Centro"));
    EXPECT_EQ(filho<QLineEdit>("nome_arquivo")->text(), QStringLiteral("malote"));
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Quarvel 1.1 - Calculador de Vantorel - malote.qvl"));
    EXPECT_FALSE(ativo("desfazer"));
    const std::vector<std::string> trazidos{"1", "2,5"};
    esperar_que([&] { return reler(caminho_diario) && reler(caminho_diario)->brutos == trazidos; });
    ASSERT_TRUE(reler(caminho_diario));
    EXPECT_EQ(reler(caminho_diario)->brutos, trazidos);
    // Only this window's own journal is left.
    EXPECT_EQ(QDir(caminho("dados/Quarvel/sessoes")).entryList({QStringLiteral("*.diario")}),
              QStringList{QFileInfo(caminho_diario).fileName()});
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

TEST(PerguntaRecuperacao, DizOsValoresNoSingularOuPluralEAHora) {
    const QDateTime agora(QDate(2026, 12, 9), QTime(15, 0));
    const QString inicio = QStringLiteral("O Quarvel não foi fechado normalmente. ");
    EXPECT_EQ(documents::pergunta_recuperacao(12, agora.addSecs(-3300), agora),
              inicio + QStringLiteral("Recuperar a fita com 12 valores de 14:05?"));
    EXPECT_EQ(documents::pergunta_recuperacao(1, agora.addSecs(-3300), agora),
              inicio + QStringLiteral("Recuperar a fita com 1 valor de 14:05?"));
    EXPECT_EQ(documents::pergunta_recuperacao(2, agora.addDays(-1), agora),
              inicio + QStringLiteral("Recuperar a fita com 2 valores de 08/12/2026 15:00?"));
}

// A journal as a killed window leaves it, written by the test.
void deixar_diario(const QString& caminho, const std::string& bytes, int segundos_atras = 0) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    f.flush();
    f.setFileTime(QDateTime::currentDateTime().addSecs(-segundos_atras),
                  QFileDevice::FileModificationTime);
}

// What a case leaves in the journals' folder (and beside it) before a start
// looks, and what the start must do with it.
struct CasoOrfao {
    const char* nome;
    std::function<void(const QString& sessoes, const QString& fora)> preparar;
    int perguntas;     // questions asked
    const char* aviso; // the start of the one message shown; "" for none
    bool ilegivel;     // the journal moved aside
};

class OrfaoNaPasta : public JanelaTeste, public ::testing::WithParamInterface<CasoOrfao> {};

const QString kOrfao = QStringLiteral("sessao-999999999-orfao");

TEST_P(OrfaoNaPasta, OferecidoUmaVezOuPostoDeLadoComAviso) {
    const CasoOrfao& c = GetParam();
    const QString sessoes = documents::pasta_sessoes();
    const QString fora = caminho("fora");
    QDir().mkpath(fora);
    c.preparar(sessoes, fora);
    dlg->recuperar = {false, false, false};
    dlg->avisos.clear();
    const auto oferecer = [&] {
        return documents::oferecer_recuperacao(
            {sessoes, *dlg, nullptr, [](Sessao) { ADD_FAILURE() << "brought back"; }});
    };
    EXPECT_FALSE(oferecer());
    EXPECT_EQ(dlg->perguntas_recuperacao.size(), c.perguntas);
    // Every tape "Não" put aside says where it went; any other message is the case's.
    QStringList guardadas, avisos;
    for (const QString& a : dlg->avisos)
        (a.startsWith(QStringLiteral("A fita não recuperada foi guardada em ")) ? guardadas
                                                                                : avisos)
            << a;
    EXPECT_EQ(guardadas.size(), c.perguntas) << guardadas.join('\n').toStdString();
    if (*c.aviso) {
        ASSERT_EQ(avisos.size(), 1) << avisos.join('\n').toStdString();
        EXPECT_TRUE(avisos.first().startsWith(QString::fromUtf8(c.aviso)))
            << avisos.first().toStdString();
    } else {
        EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
    }
    const QStringList ilegiveis =
        QDir(sessoes).entryList({QStringLiteral("diario-ilegivel-*")}, QDir::Files | QDir::System);
    EXPECT_EQ(ilegiveis.size(), c.ilegivel ? 1 : 0);
    // Nothing made or changed outside the folder.
    EXPECT_EQ(QDir(fora).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System),
              QStringList{QStringLiteral("alvo")});
    // Never offered, nor told, twice.
    dlg->avisos.clear();
    const int antes = static_cast<int>(dlg->perguntas_recuperacao.size());
    oferecer();
    if (c.ilegivel) {
        EXPECT_TRUE(dlg->avisos.isEmpty());
    }
    EXPECT_EQ(dlg->perguntas_recuperacao.size(), antes);
}

std::string diario_de(std::vector<std::string> brutos) {
    return documents::iniciar_diario({}, brutos);
}

void alvo_fora(const QString& fora) {
    testes::escrever_arquivo(fora + QStringLiteral("/alvo"), "não é da sessão");
}

INSTANTIATE_TEST_SUITE_P(
    Recuperacao, OrfaoNaPasta,
    ::testing::Values(
        CasoOrfao{"instantaneo_com_1E400",
                  [](const QString& s, const QString& f) {
                      alvo_fora(f);
                      deixar_diario(s + "/" + kOrfao + ".diario", diario_de({"1", "1E400"}));
                  },
                  0, "O diário de sessão", true},
        CasoOrfao{"versao_mais_nova",
                  [](const QString& s, const QString& f) {
                      alvo_fora(f);
                      deixar_diario(s + "/" + kOrfao + ".diario",
                                    "QVLDIARIO2\n" + diario_de({"1"}).substr(11));
                  },
                  0, "O diário de sessão", true},
        CasoOrfao{"acima_do_limite_de_leitura",
                  [](const QString& s, const QString& f) {
                      alvo_fora(f);
                      deixar_diario(s + "/" + kOrfao + ".diario",
                                    diario_de({"1"}) + std::string(14u << 20, '\0'));
                  },
                  0, "O diário de sessão", true},
        CasoOrfao{"diario_ligacao",
                  [](const QString& s, const QString& f) {
                      alvo_fora(f);
                      QFile::link(f + "/alvo", s + "/" + kOrfao + ".diario");
                  },
                  0, "O diário de sessão", true},
        CasoOrfao{"trava_ligacao",
                  [](const QString& s, const QString& f) {
                      alvo_fora(f);
                      deixar_diario(s + "/" + kOrfao + ".diario", diario_de({"1"}));
                      QFile::link(f + "/nova", s + "/" + kOrfao + ".trava");
                  },
                  1, "", false},
        CasoOrfao{"dois_orfaos_um_de_cada_vez",
                  [](const QString& s, const QString& f) {
                      alvo_fora(f);
                      deixar_diario(s + "/" + kOrfao + ".diario", diario_de({"1"}), 5);
                      deixar_diario(s + "/" + kOrfao + "2.diario", diario_de({"1", "2"}));
                  },
                  2, "", false}),
    [](const ::testing::TestParamInfo<CasoOrfao>& caso) { return std::string(caso.param.nome); });

TEST_F(JanelaTeste, DoisOrfaosSimNoPrimeiroOOutroFicaParaAProximaComAviso) {
    const QString sessoes = documents::pasta_sessoes();
    deixar_diario(sessoes + "/" + kOrfao + "a.diario", diario_de({"1"}), 60);
    deixar_diario(sessoes + "/" + kOrfao + "b.diario", diario_de({"7", "8"}), 5);
    dlg->recuperar = {true};
    std::vector<std::string> trazido;
    auto oferecer = [&] {
        return documents::oferecer_recuperacao(
            {sessoes, *dlg, nullptr, [&](Sessao s) { trazido = s.brutos; }});
    };
    EXPECT_TRUE(oferecer());
    EXPECT_EQ(trazido, (std::vector<std::string>{"7", "8"}));
    ASSERT_EQ(dlg->perguntas_recuperacao.size(), 1);
    EXPECT_TRUE(dlg->perguntas_recuperacao.first().contains(QStringLiteral("com 2 valores de")));
    EXPECT_EQ(dlg->avisos,
              QStringList{QStringLiteral(
                  "Mais 1 fita de uma janela do Quarvel que não foi fechada normalmente será "
                  "oferecida na próxima vez que o Quarvel for aberto.")});
    // Nothing went to the Backup folder without a question.
    EXPECT_TRUE(QDir(caminho("Backup")).entryList({QStringLiteral("recuperacao-*")}).isEmpty());
    // The next start offers the other one, in the singular.
    dlg->recuperar = {true};
    EXPECT_TRUE(oferecer());
    EXPECT_EQ(trazido, std::vector<std::string>{"1"});
    ASSERT_EQ(dlg->perguntas_recuperacao.size(), 2);
    EXPECT_TRUE(dlg->perguntas_recuperacao.last().contains(QStringLiteral("com 1 valor de")));
}

// Journals its user cannot read: one of mode 000, one of another user. A
// real user made for the test looks, as the effective user of this process.
TEST_F(JanelaTeste, DiariosQueOUsuarioNaoLeFicamDeLadoComAviso) {
    testes::Usuario usuario(testes::nome_de_teste("diario"));
    if (!usuario.criado()) GTEST_SKIP() << usuario.motivo;
    const QString sessoes = caminho("alheio/sessoes");
    ASSERT_TRUE(QDir().mkpath(sessoes));
    deixar_diario(sessoes + "/" + kOrfao + "a.diario", diario_de({"1"}));
    deixar_diario(sessoes + "/" + kOrfao + "b.diario", diario_de({"2"}));
    for (const char* c : {"alheio", "alheio/sessoes"})
        ASSERT_EQ(::chown(QFile::encodeName(caminho(c)).constData(), usuario.uid, usuario.gid), 0);
    ASSERT_EQ(::chown(QFile::encodeName(sessoes + "/" + kOrfao + "a.diario").constData(),
                      usuario.uid, usuario.gid),
              0);
    ASSERT_TRUE(QFile::setPermissions(sessoes + "/" + kOrfao + "a.diario", {}));
    ASSERT_TRUE(QFile::setPermissions(sessoes + "/" + kOrfao + "b.diario",
                                      QFile::ReadOwner | QFile::WriteOwner));
    // The temporary folder lets the user pass, not list.
    ASSERT_EQ(::chmod(QFile::encodeName(pasta.path()).constData(), 0711), 0);
    dlg->avisos.clear();
    bool ok = false;
    ASSERT_EQ(::setegid(usuario.gid), 0);
    if (::seteuid(usuario.uid) == 0) {
        ok = !documents::oferecer_recuperacao(
            {sessoes, *dlg, nullptr, [](Sessao) { ADD_FAILURE() << "brought back"; }});
        ::seteuid(0);
    }
    ::setegid(0);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(dlg->perguntas_recuperacao.isEmpty());
    ASSERT_EQ(dlg->avisos.size(), 2) << dlg->avisos.join('\n').toStdString();
    for (const QString& a : dlg->avisos)
        EXPECT_TRUE(a.contains(QStringLiteral("(Permissão negada)"))) << a.toStdString();
    // Nothing deleted: both kept aside, under names no start offers.
    EXPECT_EQ(QDir(sessoes)
                  .entryList({QStringLiteral("diario-ilegivel-*")}, QDir::Files | QDir::System)
                  .size(),
              2);
    EXPECT_TRUE(QDir(sessoes).entryList({QStringLiteral("sessao-*.diario")}).isEmpty());
}

TEST_F(JanelaTeste, TravaRemovidaDeJanelaVivaNaoEntregaSeuDiario) {
    adicionar(QStringLiteral("5"));
    const QString diario = caminho_diario;
    esperar_que([&] { return reler(diario) && reler(diario)->brutos.size() == 1; });
    QString trava = diario;
    trava.replace(QStringLiteral(".diario"), QStringLiteral(".trava"));
    ASSERT_TRUE(QFile::remove(trava));
    EXPECT_FALSE(documents::oferecer_recuperacao(
        {documents::pasta_sessoes(), *dlg, nullptr, [](Sessao) { ADD_FAILURE(); }}));
    EXPECT_TRUE(dlg->perguntas_recuperacao.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(diario));
    EXPECT_EQ(reler(diario)->brutos, std::vector<std::string>{"5"});
}

TEST_F(JanelaTeste, TravaSeguraPorOutroNaoEApagadaNaLimpeza) {
    // A window between taking its lock and writing its first journal.
    const QString trava = documents::pasta_sessoes() + QStringLiteral("/sessao-1-x.trava");
    const int fd = ::open(QFile::encodeName(trava).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    documents::oferecer_recuperacao(
        {documents::pasta_sessoes(), *dlg, nullptr, [](Sessao) { ADD_FAILURE(); }});
    EXPECT_TRUE(QFileInfo::exists(trava));
    ::close(fd);
    // Let go: no journal beside it, so the lock file goes.
    documents::oferecer_recuperacao(
        {documents::pasta_sessoes(), *dlg, nullptr, [](Sessao) { ADD_FAILURE(); }});
    EXPECT_FALSE(QFileInfo::exists(trava));
}

TEST_F(JanelaTeste, RecuperacoesNoMesmoSegundoNaoSeSobrepoem) {
    const QDateTime quando(QDate(2026, 12, 9), QTime(14, 5, 7));
    Sessao a, b;
    a.brutos = {"1"};
    b.brutos = {"2"};
    QString erro;
    const QString primeira = documents::guardar_recuperacao(a, quando, &erro);
    const QString segunda = documents::guardar_recuperacao(b, quando, &erro);
    EXPECT_EQ(primeira, caminho("Backup/recuperacao-2026-12-09-140507.qvl"));
    EXPECT_EQ(segunda, caminho("Backup/recuperacao-2026-12-09-140507-2.qvl"));
    EXPECT_EQ(ler_arquivo(primeira).toStdString(), documents::escrever_calculo({{}, {"1"}}));
    EXPECT_EQ(ler_arquivo(segunda).toStdString(), documents::escrever_calculo({{}, {"2"}}));
}

} // namespace
} // namespace quarvel::app
