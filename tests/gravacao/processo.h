#pragma once
// Runs a program and collects what it wrote, for the tests that need a real
// second process: another user, a killed save, a pipe's other end.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quarvel::testes {

struct Saida {
    int status = -1; // exit code, or -1 when killed or not started
    std::string saida;
    std::string erros;
};

inline std::string ler_tudo(int fd) {
    std::string r;
    char bloco[65536];
    for (;;) {
        const ssize_t n = ::read(fd, bloco, sizeof bloco);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return r;
        r.append(bloco, static_cast<std::size_t>(n));
    }
}

// Starts `argumentos` with standard output and error going to temporary
// files (a pipe, when `saida_pipe`), standard input from /dev/null.
class Processo {
  public:
    explicit Processo(const std::vector<std::string>& argumentos, bool saida_pipe = false) {
        char modelo_saida[] = "/tmp/quarvel-saida-XXXXXX";
        char modelo_erros[] = "/tmp/quarvel-erros-XXXXXX";
        erros_ = ::mkstemp(modelo_erros);
        ::unlink(modelo_erros);
        int fds[2] = {-1, -1};
        if (saida_pipe) {
            if (::pipe2(fds, O_CLOEXEC) != 0) return;
            saida_ = fds[0];
        } else {
            saida_ = ::mkstemp(modelo_saida);
            ::unlink(modelo_saida);
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            const int nulo = ::open("/dev/null", O_RDONLY);
            ::dup2(nulo, 0);
            ::dup2(saida_pipe ? fds[1] : saida_, 1);
            ::dup2(erros_, 2);
            std::vector<char*> args;
            for (const std::string& a : argumentos)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execvp(args[0], args.data());
            ::_exit(127);
        }
        if (saida_pipe) ::close(fds[1]);
    }
    ~Processo() {
        if (pid_ > 0 && !terminou_) {
            ::kill(pid_, SIGKILL);
            esperar();
        }
        if (saida_ >= 0) ::close(saida_);
        if (erros_ >= 0) ::close(erros_);
    }
    Processo(const Processo&) = delete;
    Processo& operator=(const Processo&) = delete;

    pid_t pid() const { return pid_; }
    int saida_fd() const { return saida_; }

    void matar() { ::kill(pid_, SIGKILL); }

    Saida esperar() {
        Saida s;
        if (pid_ <= 0) return s;
        std::string lido_do_pipe;
        struct stat st {};
        const bool pipe = ::fstat(saida_, &st) == 0 && S_ISFIFO(st.st_mode);
        if (pipe) lido_do_pipe = ler_tudo(saida_);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        terminou_ = true;
        s.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (pipe) {
            s.saida = lido_do_pipe;
        } else {
            ::lseek(saida_, 0, SEEK_SET);
            s.saida = ler_tudo(saida_);
        }
        ::lseek(erros_, 0, SEEK_SET);
        s.erros = ler_tudo(erros_);
        return s;
    }

  private:
    pid_t pid_ = -1;
    int saida_ = -1;
    int erros_ = -1;
    bool terminou_ = false;
};

inline Saida rodar(const std::vector<std::string>& argumentos) {
    return Processo(argumentos).esperar();
}

} // namespace quarvel::testes
