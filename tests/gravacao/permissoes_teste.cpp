// Who may read and write a saved file stays who could before: owner, group,
// mode, ACL and extended attributes are kept, hard links stay joined, and a
// file its user could not open for writing is refused with the reason a plain
// write gets. Real users and groups (useradd, groupadd), the save run as
// them with runuser, a real ACL set with setfacl.
#include "gravacao/gravar.h"
#include "gravacao/mensagens.h"
#include "tests/gravacao/pasta_temporaria.h"
#include "tests/gravacao/usuarios.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace quarvel::gravacao {
namespace {

using testes::PastaTemporaria;
using testes::Usuario;

const std::string kAntigo = "antigo\r\n";
const std::string kNovo = "1.234,56\r\n-5,00\r\n";

// The users of one test: a colleague and the one who saves, both in a shared
// group.
struct Equipe {
    Equipe()
        : grupo(testes::nome_de_teste("eq")), colega(testes::nome_de_teste("a"), grupo.nome()),
          autor(testes::nome_de_teste("b"), grupo.nome()) {}
    std::string motivo() const {
        return !grupo.criado() ? grupo.motivo : !colega.criado() ? colega.motivo : autor.motivo;
    }
    testes::Grupo grupo;
    Usuario colega;
    Usuario autor;
};

enum class Dono { Colega, Autor };
enum class Quem { Autor, Root };

struct Caso {
    const char* nome;
    Dono dono;
    bool grupo_da_equipe; // the file's group is the shared one
    mode_t modo;
    bool ligacao_dura;  // a second name for the same file
    mode_t modo_pasta;  // of the folder the file is in
    Quem quem;          // who saves
    const char* recusa; // nullptr: saved
    bool mesmo_inode;   // written in place rather than renamed over
};

const Caso kCasos[] = {
    // The colleague's file in the shared group: written in place, still theirs.
    {"GrupoCompartilhado0660", Dono::Colega, true, 0660, false, 0777, Quem::Autor, nullptr, true},
    // Readable but not writable: refused as `echo >>` is.
    {"AlheioSemEscrita0644", Dono::Colega, false, 0644, false, 0777, Quem::Autor,
     "Permissão negada", false},
    {"ProprioSomenteLeitura0444", Dono::Autor, false, 0444, false, 0777, Quem::Autor,
     kSomenteLeitura, false},
    // The plain case: a new file renamed over the old, same owner and mode.
    {"Proprio0640", Dono::Autor, false, 0640, false, 0777, Quem::Autor, nullptr, false},
    {"ProprioComLigacaoDura", Dono::Autor, false, 0600, true, 0777, Quem::Autor, nullptr, true},
    // Writable file, folder without room for the copy of the old bytes.
    {"GrupoCompartilhadoPastaSemEscrita", Dono::Colega, true, 0660, false, 0755, Quem::Autor,
     "Permissão negada", false},
    // Root can give the new file the owner: renamed, owner kept.
    {"RootSobreArquivoDoColega", Dono::Colega, true, 0640, false, 0755, Quem::Root, nullptr, false},
    // Root may write a read-only file, as a plain write by root does.
    {"RootSomenteLeitura0444", Dono::Colega, false, 0444, false, 0755, Quem::Root, nullptr, false},
};

class Permissoes : public ::testing::TestWithParam<Caso> {};

TEST_P(Permissoes, DonoGrupoEModoFicam) {
    const Caso& c = GetParam();
    Equipe equipe;
    if (!equipe.autor.criado()) GTEST_SKIP() << equipe.motivo();
    PastaTemporaria base;
    // A folder of the shared group, so that its members get in.
    const std::string pasta = base / "pasta";
    ASSERT_EQ(::mkdir(pasta.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(base.caminho().c_str(), 0755), 0);
    const std::string arquivo = pasta + "/malote.qvl";
    ASSERT_TRUE(testes::escrever(arquivo, kAntigo));
    const Usuario& dono = c.dono == Dono::Colega ? equipe.colega : equipe.autor;
    ASSERT_EQ(::chown(arquivo.c_str(), dono.uid, c.grupo_da_equipe ? equipe.grupo.gid : dono.gid),
              0);
    ASSERT_EQ(::chmod(arquivo.c_str(), c.modo), 0);
    const std::string outro_nome = pasta + "/outro_nome.qvl";
    if (c.ligacao_dura) {
        ASSERT_EQ(::link(arquivo.c_str(), outro_nome.c_str()), 0);
    }
    ASSERT_EQ(::chmod(pasta.c_str(), c.modo_pasta), 0);
    struct stat antes {};
    ASSERT_EQ(::stat(arquivo.c_str(), &antes), 0);

    const std::vector<std::string> gravar = {QUARVEL_GRAVAR_COMO, arquivo, kNovo};
    const testes::Saida s =
        c.quem == Quem::Autor ? equipe.autor.rodar_como(gravar) : testes::rodar(gravar);
    if (s.status == 126 || s.status == 127) GTEST_SKIP() << "the helper cannot run: " << s.erros;

    if (c.recusa) {
        EXPECT_EQ(s.status, 1);
        EXPECT_EQ(s.erros, std::string(c.recusa) + "\n");
        EXPECT_EQ(testes::conteudo(arquivo), kAntigo);
    } else {
        EXPECT_EQ(s.status, 0) << s.erros;
        EXPECT_EQ(testes::conteudo(arquivo), kNovo);
    }
    struct stat depois {};
    ASSERT_EQ(::stat(arquivo.c_str(), &depois), 0);
    EXPECT_EQ(depois.st_uid, antes.st_uid);
    EXPECT_EQ(depois.st_gid, antes.st_gid);
    EXPECT_EQ(depois.st_mode & 07777, antes.st_mode & 07777);
    EXPECT_EQ(depois.st_nlink, antes.st_nlink);
    EXPECT_EQ(depois.st_ino == antes.st_ino, c.recusa || c.mesmo_inode);
    if (c.ligacao_dura) {
        EXPECT_EQ(testes::conteudo(outro_nome), kNovo);
    }
    // Neither the temporary file nor the copy of the old bytes stays.
    ::chmod(pasta.c_str(), 0755);
    std::vector<std::string> nomes;
    for (const auto& e : std::filesystem::directory_iterator(pasta))
        nomes.push_back(e.path().filename().string());
    EXPECT_EQ(nomes.size(), c.ligacao_dura ? 2u : 1u) << (nomes.empty() ? "" : nomes.back());
}

INSTANTIATE_TEST_SUITE_P(Usuarios, Permissoes, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& i) { return i.param.nome; });

// An ACL entry and a user attribute survive the save, whoever saves.
struct CasoAcl {
    const char* nome;
    Quem quem;
};

class Acl : public ::testing::TestWithParam<CasoAcl> {};

TEST_P(Acl, AclEAtributosFicam) {
    Equipe equipe;
    if (!equipe.autor.criado()) GTEST_SKIP() << equipe.motivo();
    if (!testes::tem_programa("/usr/bin/setfacl")) GTEST_SKIP() << "setfacl is missing (acl)";
    PastaTemporaria base;
    ASSERT_EQ(::chmod(base.caminho().c_str(), 0777), 0);
    const std::string arquivo = base / "malote.qvl";
    ASSERT_TRUE(testes::escrever(arquivo, kAntigo));
    if (GetParam().quem == Quem::Autor) {
        ASSERT_EQ(::chown(arquivo.c_str(), equipe.autor.uid, equipe.autor.gid), 0);
    }
    ASSERT_EQ(::chmod(arquivo.c_str(), 0640), 0);
    const testes::Saida acl =
        testes::rodar({"/usr/bin/setfacl", "-m", "u:" + equipe.colega.nome() + ":rw", arquivo});
    if (acl.status != 0) GTEST_SKIP() << "no ACLs on this file system: " << acl.erros;
    const std::string nota = "conferido";
    if (::setxattr(arquivo.c_str(), "user.quarvel.nota", nota.data(), nota.size(), 0) != 0)
        GTEST_SKIP() << "no user attributes on this file system";
    const auto ler_acl = [&] {
        return testes::rodar({"/usr/bin/getfacl", "--omit-header", "--absolute-names", arquivo});
    };
    const testes::Saida antes = ler_acl();
    ASSERT_NE(antes.saida.find("user:" + equipe.colega.nome() + ":rw-"), std::string::npos)
        << antes.saida;
    struct stat st_antes {};
    ASSERT_EQ(::stat(arquivo.c_str(), &st_antes), 0);

    const std::vector<std::string> gravar = {QUARVEL_GRAVAR_COMO, arquivo, kNovo};
    const testes::Saida s =
        GetParam().quem == Quem::Autor ? equipe.autor.rodar_como(gravar) : testes::rodar(gravar);
    ASSERT_EQ(s.status, 0) << s.erros;

    EXPECT_EQ(testes::conteudo(arquivo), kNovo);
    EXPECT_EQ(ler_acl().saida, antes.saida);
    char lida[64] = {};
    EXPECT_EQ(::getxattr(arquivo.c_str(), "user.quarvel.nota", lida, sizeof lida),
              static_cast<ssize_t>(nota.size()));
    EXPECT_EQ(std::string(lida), nota);
    struct stat st {};
    ASSERT_EQ(::stat(arquivo.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, st_antes.st_uid);
    EXPECT_EQ(st.st_mode & 07777, st_antes.st_mode & 07777);
    // The colleague the ACL names can still write it.
    const testes::Saida colega = equipe.colega.rodar_como({QUARVEL_GRAVAR_COMO, arquivo, kAntigo});
    EXPECT_EQ(colega.status, 0) << colega.erros;
}

INSTANTIATE_TEST_SUITE_P(Usuarios, Acl,
                         ::testing::Values(CasoAcl{"Root", Quem::Root},
                                           CasoAcl{"Dono", Quem::Autor}),
                         [](const ::testing::TestParamInfo<CasoAcl>& i) { return i.param.nome; });

// A new file gets what a plain create (mode 0666) gets in its folder: the
// umask's bits, or, under a default ACL, the ACL's entries and mask.
struct CasoNovo {
    const char* nome;
    mode_t mascara;         // umask of the saving process
    const char* acl_padrao; // setfacl -d -m argument, or nullptr
};

const CasoNovo kCasosNovos[] = {
    {"Umask022", 022, nullptr},
    {"Umask027", 027, nullptr},
    {"Umask077", 077, nullptr},
    {"AclPadraoComUsuario", 077, "u::rw,g::r,o::-,u:12345:rw"},
    {"AclPadraoComMascara", 022, "u::rw,g::rw,o::r,g:12345:r,m::rw"},
};

class ArquivoNovo : public ::testing::TestWithParam<CasoNovo> {};

TEST_P(ArquivoNovo, ComoUmaCriacaoSimples) {
    const CasoNovo& c = GetParam();
    PastaTemporaria pasta;
    if (c.acl_padrao) {
        if (!testes::tem_programa("/usr/bin/setfacl")) GTEST_SKIP() << "setfacl is missing (acl)";
        const testes::Saida s =
            testes::rodar({"/usr/bin/setfacl", "-d", "-m", c.acl_padrao, pasta.caminho()});
        if (s.status != 0) GTEST_SKIP() << "no ACLs on this file system: " << s.erros;
    }
    const mode_t antes = ::umask(c.mascara);
    const std::string simples = pasta / "simples.txt";
    const int fd = ::open(simples.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    std::string erro;
    const bool ok = gravar_atomico(pasta / "salvo.txt", kNovo, &erro);
    ::umask(antes);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_TRUE(ok) << erro;
    struct stat esperado {
    }, salvo{};
    ASSERT_EQ(::stat(simples.c_str(), &esperado), 0);
    ASSERT_EQ(::stat((pasta / "salvo.txt").c_str(), &salvo), 0);
    EXPECT_EQ(salvo.st_mode & 07777, esperado.st_mode & 07777);
    if (c.acl_padrao) {
        const auto acl = [](const std::string& f) {
            return testes::rodar({"/usr/bin/getfacl", "--omit-header", "--absolute-names", f})
                .saida;
        };
        EXPECT_EQ(acl(pasta / "salvo.txt"), acl(simples));
    }
}

INSTANTIATE_TEST_SUITE_P(Pastas, ArquivoNovo, ::testing::ValuesIn(kCasosNovos),
                         [](const ::testing::TestParamInfo<CasoNovo>& i) { return i.param.nome; });

} // namespace
} // namespace quarvel::gravacao
