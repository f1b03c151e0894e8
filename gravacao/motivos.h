#pragma once
#include <string>

namespace quarvel::gravacao {

// The system's reason for an errno value, in Portuguese (UTF-8).
std::string motivo_do_sistema(int numero);

} // namespace quarvel::gravacao
