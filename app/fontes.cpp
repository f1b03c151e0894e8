#include "app/fontes.h"

#include <fontconfig/fontconfig.h>

namespace quarvel::app {

namespace {

// "prefer" puts the face right after the name asked for, before the generic
// sans-serif or monospace fallbacks that the system rules append.
constexpr const char* kRegras = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <alias binding="same">
    <family>MS Sans Serif</family>
    <prefer><family>Liberation Sans</family></prefer>
  </alias>
  <alias binding="same">
    <family>Arial</family>
    <prefer><family>Liberation Sans</family></prefer>
  </alias>
  <alias binding="same">
    <family>Courier New</family>
    <prefer><family>Liberation Mono</family></prefer>
  </alias>
</fontconfig>
)";

} // namespace

bool registrar_fontes_equivalentes() {
    FcConfig* config = FcConfigGetCurrent();
    if (!config) return false;
    return FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kRegras),
                                          FcTrue) == FcTrue;
}

} // namespace quarvel::app
