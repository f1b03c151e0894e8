#include "app/excecoes.h"

#include "app/frm_erro.h"

#include <exception>

// QUARVEL_ENDERECO_ERRO: set by the build where the wrapper works (glibc with
// libstdc++, no sanitizer).
#ifdef QUARVEL_ENDERECO_ERRO
#include <cxxabi.h>
#include <dlfcn.h>
#endif

namespace quarvel::app {
namespace {

thread_local quint32 ultimo_endereco = 0;

} // namespace

#ifdef QUARVEL_ENDERECO_ERRO
} // namespace quarvel::app

// Every throw passes through here first: note where it came from, then hand
// it to the runtime's own implementation.
namespace __cxxabiv1 {
extern "C" void __cxa_throw(void* objeto, std::type_info* tipo, void (*destruir)(void*)) {
    using Lancar = void (*)(void*, std::type_info*, void (*)(void*));
    static Lancar original = reinterpret_cast<Lancar>(dlsym(RTLD_NEXT, "__cxa_throw"));
    void* origem = __builtin_return_address(0);
    Dl_info info{};
    quint64 endereco = reinterpret_cast<quintptr>(origem);
    if (dladdr(origem, &info) && info.dli_fbase)
        endereco -= reinterpret_cast<quintptr>(info.dli_fbase);
    quarvel::app::ultimo_endereco = static_cast<quint32>(endereco);
    original(objeto, tipo, destruir);
    __builtin_unreachable();
}
} // namespace __cxxabiv1

namespace quarvel::app {
#endif

quint32 endereco_ultimo_erro() {
    return ultimo_endereco;
}

Excecoes::Excecoes(int& argc, char** argv) : QApplication(argc, argv) {
    mostrar = [](const QString& mensagem, quint32 endereco, const QString& salvo_em) {
        FormErro dlg(mensagem, endereco, salvo_em);
        dlg.exec();
    };
}

bool Excecoes::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const std::exception& e) {
        ExcecoesException(QString::fromUtf8(e.what()));
    } catch (...) {
        ExcecoesException(QStringLiteral("erro desconhecido"));
    }
    return false;
}

void Excecoes::ExcecoesException(const QString& mensagem) {
    // One report; anything raised while it is on screen is part of the same end.
    if (relatado_) return;
    relatado_ = true;
    const quint32 endereco = endereco_ultimo_erro();
    // Never the unsaved-changes question here: the values go to a recovery file.
    QString salvo_em;
    try {
        if (salvar_recuperacao) salvo_em = salvar_recuperacao();
    } catch (...) {
        salvo_em.clear();
    }
    try {
        if (mostrar) mostrar(mensagem, endereco, salvo_em);
    } catch (...) {
    }
    exit(1);
}

} // namespace quarvel::app
