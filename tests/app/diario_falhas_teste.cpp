// The session journal when the disk refuses a record: one warning, and the
// next change writes the whole journal anew, so nothing half written stays.
#include "documents/diario.h"
#include "documents/diario_sessao.h"
#include "tests/app/janela_apoio.h"
#include "tests/falhas/falhas.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace quarvel::app {
namespace {

using testes::Chamada;
using testes::Falhas;

TEST_F(JanelaTeste, DiarioRecusadoAvisaUmaVezERecomecaInteiro) {
    ASSERT_TRUE(Falhas::carregada()) << "the fault library is not preloaded";
    const struct {
        Chamada chamada;
        int erro;
        const char* motivo;
    } casos[] = {
        {Chamada::Sincronia, EIO, "Erro de entrada/saída"},
        {Chamada::Escrita, ENOSPC, "Não há espaço disponível no dispositivo"},
    };
    const QString diario = janela->diario().caminho();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.motivo);
        dlg->respostas = {Dialogos::Resposta::Nao};
        executar("novo");
        dlg->avisos.clear();
        adicionar(QStringLiteral("1"));
        Falhas::armar(QFileInfo(diario).absolutePath(), c.chamada, 1, c.erro);
        adicionar(QStringLiteral("2")); // its record is refused
        adicionar(QStringLiteral("3")); // a new journal, whole
        Falhas::desarmar();
        ASSERT_EQ(dlg->avisos.size(), 1);
        EXPECT_TRUE(dlg->avisos.first().startsWith(
            QStringLiteral("O diário da sessão não pôde ser gravado em %1: %2.")
                .arg(diario, QString::fromUtf8(c.motivo))))
            << dlg->avisos.first().toStdString();
        QFile f(diario);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        const auto s = documents::reler_diario({b.constData(), static_cast<std::size_t>(b.size())});
        ASSERT_TRUE(s);
        EXPECT_EQ(s->brutos, (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_FALSE(s->cauda_descartada);
    }
}

} // namespace
} // namespace quarvel::app
