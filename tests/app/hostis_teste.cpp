// Hostile input, each through the command a user would run: the program
// shows its message, goes on, and the tape stays exactly as it was.
#include "tests/app/janela_apoio.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace quarvel::app {
namespace {

void gravar(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST_F(JanelaTeste, EntradasHostisNaoMudamAFita) {
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
        gravar(arquivo, c.arquivo);
        dlg->arquivos_abrir = {arquivo};
        dlg->respostas = {Dialogos::Resposta::Nao};
        executar(c.calculo ? "abrir" : "abrir_txt");
        if (c.inicio_aviso) {
            ASSERT_EQ(dlg->avisos.size(), 1) << c.descricao;
            EXPECT_TRUE(dlg->avisos[0].startsWith(QString::fromUtf8(c.inicio_aviso)))
                << c.descricao << ": " << dlg->avisos[0].left(200).toStdString();
            EXPECT_LT(dlg->avisos[0].size(), 400) << c.descricao; // no 2 MB message box
            EXPECT_EQ(brutos(), antes) << c.descricao;
        } else {
            EXPECT_TRUE(dlg->avisos.isEmpty()) << c.descricao;
            EXPECT_EQ(brutos(), (QStringList{"1", "2"})) << c.descricao;
            executar("limpar_valor");
            adicionar(QStringLiteral("10"));
            adicionar(QStringLiteral("20"));
        }
        EXPECT_TRUE(janela->isVisible());
    }
}

TEST_F(JanelaTeste, TextoColadoSemDigitoFicaERecusado) {
    adicionar(QStringLiteral("10"));
    for (const char* colado : {"abcd", "R$ --", "\t\t\t\t"}) {
        dlg->avisos.clear();
        campo()->setText(QString::fromUtf8(colado));
        EXPECT_EQ(campo()->text(), QString::fromUtf8(colado));
        executar("add_valor");
        EXPECT_EQ(dlg->avisos.size(), 1) << colado;
        EXPECT_EQ(brutos(), QStringList{"10"});
    }
}

TEST_F(JanelaTeste, GravacoesQueFalhamSaoAvisadas) {
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
        executar("salvar_como");
        ASSERT_EQ(dlg->avisos.size(), 1) << c.descricao;
        EXPECT_TRUE(
            dlg->avisos[0].startsWith(QStringLiteral("Não foi possível salvar o arquivo ")));
        EXPECT_TRUE(janela->arquivo_atual().isEmpty()) << c.descricao;
    }
    EXPECT_EQ(brutos(), QStringList{"10"});
}

// A full disk: the process may not write more than 4 KB into any file.
TEST_F(JanelaTeste, DiscoCheioMantemOArquivoAntigo) {
    const QString arquivo = caminho("cheio.qvl");
    adicionar(QStringLiteral("1"));
    dlg->arquivos_salvar = {arquivo};
    executar("salvar_como");
    ASSERT_TRUE(dlg->avisos.isEmpty());
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray antigo = f.readAll();
    f.close();
    campo()->setText(QStringLiteral("123456,78"));
    dlg->repeticoes = {2000};
    executar("repetir_valor");

    rlimit antes{};
    getrlimit(RLIMIT_FSIZE, &antes);
    auto sinal = signal(SIGXFSZ, SIG_IGN);
    rlimit pequeno = antes;
    pequeno.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &pequeno);
    executar("salvar_padrao");
    setrlimit(RLIMIT_FSIZE, &antes);
    signal(SIGXFSZ, sinal);

    ASSERT_EQ(dlg->avisos.size(), 1);
    EXPECT_TRUE(dlg->avisos[0].startsWith(
        QStringLiteral("Não foi possível salvar o arquivo %1: ").arg(arquivo)));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), antigo);
    // Still unsaved: closing would ask.
    dlg->respostas = {Dialogos::Resposta::Cancelar};
    executar("novo");
    EXPECT_EQ(dlg->perguntas.size(), 1);
}

TEST_F(JanelaTeste, NomesDeBackupQueSaemDaPastaSaoRecusados) {
    for (const char* nome : {"../../x", "/etc/passwd", "..\\..\\x", "a\nb", "..", "."}) {
        dlg->avisos.clear();
        filho<QLineEdit>("nome_arquivo")->setText(QString::fromUtf8(nome));
        filho<QCheckBox>("d01")->click();
        EXPECT_FALSE(filho<QCheckBox>("d01")->isChecked()) << nome;
        ASSERT_EQ(dlg->avisos.size(), 1) << nome;
        EXPECT_TRUE(
            dlg->avisos[0].startsWith(QStringLiteral("Nome de arquivo de backup inválido: ")))
            << nome;
    }
    EXPECT_FALSE(QFile::exists(pasta.filePath(QStringLiteral("x.qvlbackup"))));
}

} // namespace
} // namespace quarvel::app
