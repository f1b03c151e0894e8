#pragma once
// A hook for the tests that kill the real program at a chosen moment. With
// QUARVEL_TESTE_PAUSA="ponto" (or "ponto:n") in the environment the process
// stops itself (SIGSTOP) the first (n-th) time it reaches `ponto`, so the test
// can kill it exactly there. Without the variable nothing happens.
//
// Points: "registro" (a journal record written and synced), "meio_registro"
// (half of a journal record written), "carga" (a value of a calculation file
// being loaded), "gravacao" (a calculation file about to be saved).
namespace quarvel::tape {

void pausa_de_teste(const char* ponto);

} // namespace quarvel::tape
