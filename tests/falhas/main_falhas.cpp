// The main of the tests that fail real system calls: it starts the process
// again with the fault-injection library preloaded when it is not yet, then
// runs the tests inside a QApplication on the offscreen platform.
#include "tests/falhas/falhas.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (!quarvel::testes::Falhas::carregada()) {
        if (std::getenv("QUARVEL_FALHAS_REINICIADO")) {
            std::fprintf(stderr, "%s was preloaded but did not load\n", QUARVEL_FALHAS_LIB);
            return 1;
        }
        std::string carregar = QUARVEL_FALHAS_LIB;
        if (const char* antes = std::getenv("LD_PRELOAD"); antes && *antes)
            carregar += std::string(":") + antes;
        setenv("LD_PRELOAD", carregar.c_str(), 1);
        setenv("QUARVEL_FALHAS_REINICIADO", "1", 1);
#if defined(__SANITIZE_ADDRESS__)
        // The library comes before the sanitizer's runtime in the load order.
        std::string opcoes = "verify_asan_link_order=0";
        if (const char* antes = std::getenv("ASAN_OPTIONS"); antes && *antes)
            opcoes = std::string(antes) + ":" + opcoes;
        setenv("ASAN_OPTIONS", opcoes.c_str(), 1);
#endif
        execv("/proc/self/exe", argv);
        std::perror("execv");
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
