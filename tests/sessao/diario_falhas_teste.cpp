// The session journal when the disk refuses a record: one warning, and the
// next change writes the whole journal anew, so nothing half written stays.
#include "sessao/diario.h"
#include "sessao/diario_sessao.h"
#include "tests/documents/comandos_apoio.h"
#include "tests/falhas/falhas.h"

#include <QFileInfo>
#include <cerrno>

namespace quarvel::documents {
namespace {

using testes::Chamada;
using testes::Falhas;

using DiarioFalhas = ComandosTeste;

TEST_F(DiarioFalhas, DiarioRecusadoAvisaUmaVezERecomecaInteiro) {
    ASSERT_TRUE(Falhas::carregada()) << "the fault library is not preloaded";
    // The journal of these commands, as the window keeps it.
    DiarioSessao diario(
        fita, campos, [this] { return comandos_documento.arquivo_atual(); },
        [this](const QString& motivo) { dlg->aviso(&dono, motivo); }, caminho("sessoes"));
    const struct {
        Chamada chamada;
        int erro;
        const char* motivo;
    } casos[] = {
        {Chamada::Sincronia, EIO, "Erro de entrada/saída"},
        {Chamada::Escrita, ENOSPC, "Não há espaço disponível no dispositivo"},
    };
    const QString arquivo = diario.caminho();
    ASSERT_FALSE(arquivo.isEmpty()) << diario.erro().toStdString();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.motivo);
        dlg->respostas = {Resposta::Nao};
        comandos_documento.novo();
        dlg->avisos.clear();
        adicionar(QStringLiteral("1"));
        Falhas::armar(QFileInfo(arquivo).absolutePath(), c.chamada, 1, c.erro);
        adicionar(QStringLiteral("2")); // its record is refused
        adicionar(QStringLiteral("3")); // a new journal, whole
        Falhas::desarmar();
        ASSERT_EQ(dlg->avisos.size(), 1);
        EXPECT_TRUE(dlg->avisos.first().startsWith(
            QStringLiteral("O diário da sessão não pôde ser gravado em %1: %2.")
                .arg(arquivo, QString::fromUtf8(c.motivo))))
            << dlg->avisos.first().toStdString();
        const QByteArray b = testes::ler_arquivo(arquivo);
        const auto s = reler_diario({b.constData(), static_cast<std::size_t>(b.size())});
        ASSERT_TRUE(s);
        EXPECT_EQ(s->brutos, (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_FALSE(s->cauda_descartada);
    }
}

} // namespace
} // namespace quarvel::documents
