#!/usr/bin/env bash
# The same results on every processor: builds the standard-C++ core and the
# check program three times (x86-64 with its long double, x86-64 with a
# long double that is only a double, as Microsoft's compiler has it, and
# 64-bit ARM, run under qemu), runs the three and compares their outputs byte
# for byte. Any difference fails.
#   tests/portabilidade/verificar.sh [PASTA]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/../.." && pwd)"
pasta="${1:-$raiz/build-portabilidade}"
mkdir -p "$pasta"

for ferramenta in g++ aarch64-linux-gnu-g++ qemu-aarch64; do
  if ! command -v "$ferramenta" >/dev/null; then
    echo "portabilidade: falta $ferramenta (scripts/deps instala)" >&2
    exit 1
  fi
done

fontes=(
  calc/estendido.cpp calc/grandeza.cpp calc/infix.cpp calc/extensos.cpp calc/centavos.cpp
  calc/dinheiro.cpp tape/fita.cpp tape/regra_entrada.cpp
  documents/codificacao.cpp documents/ini.cpp documents/arquivo_calculo.cpp documents/texto.cpp
  tests/portabilidade/verificacao.cpp
)
# The flags of the core's own build that bear on results: ISO C++17 and no
# fused multiply-add.
flags=(-std=c++17 -O1 -ffp-contract=off -Wall -Wextra -I "$raiz")

# compilar NOME COMPILADOR [FLAGS...]: one object per source, then the link.
compilar() {
  local nome="$1" cxx="$2"
  shift 2
  local dir="$pasta/$nome" objetos=()
  mkdir -p "$dir"
  for f in "${fontes[@]}"; do
    local o="$dir/$(basename "${f%.cpp}").o"
    "$cxx" "${flags[@]}" "$@" -c "$raiz/$f" -o "$o"
    objetos+=("$o")
  done
  "$cxx" "$@" "${objetos[@]}" -o "$dir/verificacao"
}

# Two at a time on two cores.
compilar nativo g++ &
p1=$!
compilar ld64 g++ -mlong-double-64 &
p2=$!
wait "$p1"
wait "$p2"
compilar aarch64 aarch64-linux-gnu-g++ -static

"$pasta/nativo/verificacao" >"$pasta/nativo.txt"
"$pasta/ld64/verificacao" >"$pasta/ld64.txt"
qemu-aarch64 "$pasta/aarch64/verificacao" >"$pasta/aarch64.txt"

# Not an empty agreement: the line the rules give for 2,675.
if ! grep -qF 'valor [2,675] bruto 2,675 pos 0 linha 2,68 total ' "$pasta/nativo.txt" ||
  ! grep -qF ' R$ 2,67 [DOIS REAIS E SESSENTA E SETE CENTAVOS]' "$pasta/nativo.txt"; then
  echo "portabilidade: a saída de referência não traz 2,675 como devia" >&2
  exit 1
fi

falhou=0
for alvo in ld64 aarch64; do
  if cmp -s "$pasta/nativo.txt" "$pasta/$alvo.txt"; then
    :
  else
    falhou=1
    echo "portabilidade: $alvo difere do x86-64:" >&2
    diff "$pasta/nativo.txt" "$pasta/$alvo.txt" | head -20 >&2 || true
  fi
done
printf 'portabilidade: %s bytes (x86-64), %s bytes (long double de 64 bits), %s bytes (aarch64)' \
  "$(wc -c <"$pasta/nativo.txt")" "$(wc -c <"$pasta/ld64.txt")" "$(wc -c <"$pasta/aarch64.txt")"
printf ', %s linhas' "$(wc -l <"$pasta/nativo.txt")"
if [ "$falhou" = 0 ]; then
  echo ': idênticos'
else
  echo ': DIFERENTES'
  exit 1
fi
