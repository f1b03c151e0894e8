// Hostile input and failing saves, each through the command a user would
// run: the program shows its message, goes on, and the tape stays exactly as
// it was.
#include "tests/documents/comandos_apoio.h"

#include <QDir>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace quarvel::documents {
namespace {

using testes::escrever_arquivo;
using testes::ler_arquivo;

using HostisTeste = ComandosTeste;

TEST_F(HostisTeste, EntradasHostisNaoMudamAFita) {
    adicionar(QStringLiteral("10"));
    adicionar(QStringLiteral("20"));
    const QStringList antes = brutos();
    struct Caso {
        const char* descricao;
        QByteArray arquivo; // imported as a text file, or opened as .qvl
        bool calculo;
        const char* inicio_aviso;
    };
    const QByteArray linha_gigante = QByteArray(2 * 1024 * 1024, 'x');
    const Caso casos[] = {
        {"linha de 2 MB sem número", "1\r\n" + linha_gigante + "\r\n", false, "A linha 2 de "},
        {"bytes NUL cortam o texto", QByteArray("1\r\n2\0abc\r\n", 10) + "xyz\r\n", false, nullptr},
        {"Windows-1252 sem número", "1\r\n\x80\xe7\xe3o\r\n", false, "A linha 2 de "},
        {"índice fora do arquivo", "[LER]\r\nINICIO=3\r\nFIM=99\r\n\r\n1\r\n", true, "O arquivo "},
        {"valor que não é número", "[LER]\r\nINICIO=4\r\nFIM=4\r\n\r\nabc\r\n", true, "O arquivo "},
        {"sem seção LER", "[CONFIG]\r\nCABECALHO=x\r\n", true, "O arquivo "},
        {"INICIO negativo", "[LER]\r\nINICIO=-5\r\nFIM=2\r\n", true, "O arquivo "},
        {"FIM enorme", "[LER]\r\nINICIO=1\r\nFIM=99999999999999999999\r\n", true, "O arquivo "},
        {"mais de 50.000 valores", "[LER]\r\nINICIO=4\r\nFIM=50004\r\n", true,
         "O máximo suportado pela base de cálculos é de 50.000 valores"},
    };
    for (const Caso& c : casos) {
        dlg->avisos.clear();
        const QString arquivo = caminho(c.calculo ? "hostil.qvl" : "hostil.txt");
        escrever_arquivo(arquivo, c.arquivo);
        dlg->arquivos_abrir = {arquivo};
        dlg->respostas = {Resposta::Nao};
        if (c.calculo)
            comandos_documento.abrir();
        else
            comandos_texto.abrir_txt();
        if (c.inicio_aviso) {
            ASSERT_EQ(dlg->avisos.size(), 1) << c.descricao;
            EXPECT_TRUE(dlg->avisos[0].startsWith(QString::fromUtf8(c.inicio_aviso)))
                << c.descricao << ": " << dlg->avisos[0].left(200).toStdString();
            EXPECT_LT(dlg->avisos[0].size(), 400) << c.descricao; // no 2 MB message box
            EXPECT_EQ(brutos(), antes) << c.descricao;
        } else {
            EXPECT_TRUE(dlg->avisos.isEmpty()) << c.descricao;
            EXPECT_EQ(brutos(), (QStringList{"1", "2"})) << c.descricao;
            comandos_fita.limpar_valor();
            adicionar(QStringLiteral("10"));
            adicionar(QStringLiteral("20"));
        }
    }
}

TEST_F(HostisTeste, GravacoesQueFalhamSaoAvisadas) {
    adicionar(QStringLiteral("10"));
    struct Caso {
        const char* descricao;
        QString destino;
    };
    QDir().mkpath(caminho("protegida"));
    QFile::setPermissions(caminho("protegida"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const Caso casos[] = {
        {"pasta inexistente", caminho("nao/existe/x.qvl")},
        {"pasta somente leitura", caminho("protegida/x.qvl")},
    };
    for (const Caso& c : casos) {
        if (QString::fromUtf8(c.descricao) == QStringLiteral("pasta somente leitura") &&
            geteuid() == 0)
            continue; // root writes anywhere
        dlg->avisos.clear();
        dlg->arquivos_salvar = {c.destino};
        comandos_documento.salvar_como();
        ASSERT_EQ(dlg->avisos.size(), 1) << c.descricao;
        EXPECT_TRUE(
            dlg->avisos[0].startsWith(QStringLiteral("Não foi possível salvar o arquivo ")));
        EXPECT_TRUE(comandos_documento.arquivo_atual().isEmpty()) << c.descricao;
    }
    EXPECT_EQ(brutos(), QStringList{"10"});
}

// A full disk: the process may not write more than 4 KB into any file.
TEST_F(HostisTeste, DiscoCheioMantemOArquivoAntigo) {
    const QString arquivo = caminho("cheio.qvl");
    adicionar(QStringLiteral("1"));
    dlg->arquivos_salvar = {arquivo};
    comandos_documento.salvar_como();
    ASSERT_TRUE(dlg->avisos.isEmpty());
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray antigo = f.readAll();
    f.close();
    entrada->setText(QStringLiteral("123456,78"));
    dlg->repeticoes = {2000};
    comandos_fita.repetir_valor();

    rlimit antes{};
    getrlimit(RLIMIT_FSIZE, &antes);
    auto sinal = signal(SIGXFSZ, SIG_IGN);
    rlimit pequeno = antes;
    pequeno.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &pequeno);
    comandos_documento.salvar_padrao();
    setrlimit(RLIMIT_FSIZE, &antes);
    signal(SIGXFSZ, sinal);

    ASSERT_EQ(dlg->avisos.size(), 1);
    EXPECT_TRUE(dlg->avisos[0].startsWith(
        QStringLiteral("Não foi possível salvar o arquivo %1: ").arg(arquivo)));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), antigo);
    // Still unsaved: closing would ask.
    dlg->respostas = {Resposta::Cancelar};
    comandos_documento.novo();
    EXPECT_EQ(dlg->perguntas.size(), 1);
}

} // namespace
} // namespace quarvel::documents
