// `quarvel --total` given the names that are not files a user would mean, and
// files and standard input past what 50,000 values make
// (tests/documents/entradas_hostis.h): it ends at once, with the message the
// window shows, naming where the refusal is.
#include "tests/documents/entradas_hostis.h"

#include <QProcess>
#include <QTemporaryDir>

namespace {

using quarvel::testes::Hostil;
using quarvel::testes::Tipo;

struct Saida {
    bool terminou;
    int status;
    QByteArray saida;
    QString erros;
};

// `quarvel --total` as a script runs it; a shell line when it reads a pipe.
Saida rodar_total(const QString& arquivo, const QString& shell = {}) {
    QProcess p;
    if (shell.isEmpty())
        p.start(QStringLiteral(QUARVEL_BINARIO), {QStringLiteral("--total"), arquivo});
    else
        p.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), shell.arg(QStringLiteral(QUARVEL_BINARIO))});
    const bool terminou = p.waitForFinished(30000);
    if (!terminou) p.kill();
    p.waitForFinished();
    return {terminou, p.exitCode(), p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

class TotalHostil : public ::testing::TestWithParam<Hostil> {
  protected:
    void TearDown() override {
        if (soquete_ >= 0) ::close(soquete_);
    }
    QTemporaryDir pasta;
    int soquete_ = -1;
};

TEST_P(TotalHostil, TerminaLogoComAMensagemDaJanela) {
    const Hostil& h = GetParam();
    ASSERT_TRUE(pasta.isValid());
    const QString arquivo =
        quarvel::testes::criar_hostil(h, pasta.filePath(QStringLiteral("hostil.txt")), &soquete_);
    const QString esperado = quarvel::testes::aviso_esperado(h, arquivo);
    const Saida s = h.tipo == Tipo::Entrada ? rodar_total({}, QString::fromUtf8(h.entrada))
                                            : rodar_total(arquivo);
    ASSERT_TRUE(s.terminou) << "quarvel --total não terminou";
    if (!h.motivo && !h.recusa) {
        EXPECT_EQ(s.status, 0) << s.erros.toStdString();
        EXPECT_TRUE(s.saida.startsWith("R$ 0,00\n")) << s.saida.left(100).toStdString();
        return;
    }
    EXPECT_EQ(s.status, 1);
    EXPECT_TRUE(s.saida.isEmpty());
    // The command line names the file before a refusal that does not.
    const QString origem = h.tipo == Tipo::Entrada ? QString::fromUtf8(h.origem) : arquivo;
    EXPECT_EQ(s.erros, h.motivo ? esperado : origem + QStringLiteral(": ") + esperado);
}

INSTANTIATE_TEST_SUITE_P(Hostis, TotalHostil, ::testing::ValuesIn(quarvel::testes::kHostis),
                         quarvel::testes::nome_hostil);

} // namespace
