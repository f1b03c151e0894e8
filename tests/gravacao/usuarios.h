#pragma once
// Real users and groups for a test: made with groupadd/useradd, removed with
// userdel/groupdel when the object goes, and programs run as them with
// runuser. Only root can; elsewhere `motivo` says why, for the skip message.
#include "tests/gravacao/processo.h"

#include <grp.h>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace quarvel::testes {

inline bool tem_programa(const char* caminho) {
    return ::access(caminho, X_OK) == 0;
}

// The account tools refuse while another holds /etc/passwd's lock (tests
// running side by side): they are tried again for a while.
inline Saida conta(const std::vector<std::string>& argumentos) {
    Saida s;
    for (int tentativa = 0; tentativa < 50; ++tentativa) {
        s = rodar(argumentos);
        if (s.status == 0 || s.erros.find("lock") == std::string::npos) break;
        ::usleep(100000);
    }
    return s;
}

class Grupo {
  public:
    explicit Grupo(const std::string& nome) : nome_(nome) {
        if (::geteuid() != 0) {
            motivo = "making a group needs root";
            return;
        }
        if (!tem_programa("/usr/sbin/groupadd")) {
            motivo = "groupadd is missing";
            return;
        }
        const Saida s = conta({"/usr/sbin/groupadd", nome_});
        if (s.status != 0) {
            motivo = "groupadd failed: " + s.erros;
            return;
        }
        if (const group* g = ::getgrnam(nome_.c_str())) gid = g->gr_gid;
        criado_ = true;
    }
    ~Grupo() {
        if (criado_) conta({"/usr/sbin/groupdel", nome_});
    }
    Grupo(const Grupo&) = delete;
    Grupo& operator=(const Grupo&) = delete;

    bool criado() const { return criado_; }
    const std::string& nome() const { return nome_; }

    gid_t gid = 0;
    std::string motivo;

  private:
    std::string nome_;
    bool criado_ = false;
};

class Usuario {
  public:
    // A user with a group of its own, also a member of `outro_grupo` when
    // one is given.
    explicit Usuario(const std::string& nome, const std::string& outro_grupo = {})
        : nome_(nome), grupo_(nome) {
        if (!grupo_.criado()) {
            motivo = grupo_.motivo;
            return;
        }
        if (!tem_programa("/usr/sbin/useradd") || !tem_programa("/usr/sbin/runuser")) {
            motivo = "useradd or runuser is missing";
            return;
        }
        std::vector<std::string> args = {"/usr/sbin/useradd", "-M", "-N", "-g", nome_, "-s",
                                         "/bin/false",        nome_};
        if (!outro_grupo.empty()) args.insert(args.end() - 1, {"-G", outro_grupo});
        const Saida s = conta(args);
        if (s.status != 0) {
            motivo = "useradd failed: " + s.erros;
            return;
        }
        if (const passwd* p = ::getpwnam(nome_.c_str())) uid = p->pw_uid;
        gid = grupo_.gid;
        criado_ = true;
    }
    ~Usuario() {
        if (criado_) conta({"/usr/sbin/userdel", nome_});
    }
    Usuario(const Usuario&) = delete;
    Usuario& operator=(const Usuario&) = delete;

    bool criado() const { return criado_; }
    const std::string& nome() const { return nome_; }

    // The program run as this user.
    Saida rodar_como(std::vector<std::string> argumentos) const {
        argumentos.insert(argumentos.begin(), {"/usr/sbin/runuser", "-u", nome_, "--"});
        return rodar(argumentos);
    }

    uid_t uid = 0;
    gid_t gid = 0;
    std::string motivo;

  private:
    std::string nome_;
    Grupo grupo_;
    bool criado_ = false;
};

// A name for a user or group of this test process, unique among the tests
// that run at the same time.
inline std::string nome_de_teste(const char* papel) {
    return "qv" + std::to_string(::getpid()) + papel;
}

} // namespace quarvel::testes
