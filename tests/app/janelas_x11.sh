#!/usr/bin/env bash
# janelas_x11.sh QUARVEL
# The real program under Xvfb with openbox, a window manager that honours
# size hints: neither the main window nor a dialog may be maximised. What
# openbox allows a window is in its _NET_WM_ALLOWED_ACTIONS. Each row of the
# table: the keys that open a window, its title, the keys that close it.
# First, the splash: its picture must reach the screen during its two
# seconds, read back from the X server with xwd.
# Exits 77 (skipped) when Xvfb, openbox, xdotool, xprop or xwd are missing.
set -uo pipefail
quarvel=$1
for f in Xvfb openbox xdotool xprop xwd python3 timeout; do
  command -v "$f" >/dev/null || { echo "pulado: $f ausente (scripts/deps o instala)"; exit 77; }
done

. "$(dirname "$0")/../apoio/sessao_x.sh"
sessao_x_iniciar
openbox >"$rascunho/openbox.log" 2>&1 &
pids+=($!)
sleep 0.5
timeout 120 "$quarvel" >"$rascunho/quarvel.log" 2>&1 &
pids+=($!)
inicio=$(date +%s%N)

# The pixels of the splash's blue background on the whole screen, from an
# xwd dump (24-bit TrueColor, as Xvfb makes it). The picture is 500x118 and
# mostly that blue; nothing else on this screen is blue.
pixels_azuis() {
  xwd -root -silent | python3 -c '
import struct, sys
d = sys.stdin.buffer.read()
h = struct.unpack(">25I", d[:100])
tam, larg, alt, ordem, bpp, linha, ncores = h[0], h[4], h[5], h[7], h[11], h[12], h[19]
mr, mg, mb = h[14], h[15], h[16]
px = d[tam + 12 * ncores:]
nb = bpp // 8
ordem = "little" if ordem == 0 else "big"
desl = lambda m: (m & -m).bit_length() - 1
dr, dg, db = desl(mr), desl(mg), desl(mb)
n = 0
# One pixel in every 4x4 block: the count stands for 16 pixels.
for y in range(0, alt, 4):
    for x in range(0, larg, 4):
        i = y * linha + x * nb
        v = int.from_bytes(px[i:i + nb], ordem)
        r, g, b = (v & mr) >> dr, (v & mg) >> dg, (v & mb) >> db
        n += b >= 80 and b > r + 50 and b > g + 20
print(16 * n)'
}

# Grabbed again and again until the splash's two seconds are over.
splash=0
while [ $(( ($(date +%s%N) - inicio) / 1000000 )) -lt 1900 ]; do
  n=$(pixels_azuis) || n=0
  [ "$n" -gt "$splash" ] && splash=$n
  [ "$splash" -ge 30000 ] && break
done

# The window with this exact title, waited for up to 10 s.
janela() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

falhas=0
if [ "$splash" -ge 30000 ]; then
  echo "ok: o splash apareceu na tela ($splash pixels azuis)"
else
  echo "FALHA: o splash não apareceu na tela nos seus dois segundos ($splash pixels azuis)"
  falhas=$((falhas + 1))
fi

verificar() { # title
  local id acoes
  if ! id=$(janela "$1"); then
    echo "FALHA: a janela '$1' não abriu"
    falhas=$((falhas + 1))
    return
  fi
  sleep 0.3 # openbox has read the hints once the window is mapped
  acoes=$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)
  if grep -q MAXIMIZE <<<"$acoes"; then
    echo "FALHA: '$1' pode ser maximizada: $acoes"
    falhas=$((falhas + 1))
  else
    echo "ok: '$1' não tem maximizar"
  fi
}

teclas() { for k in "$@"; do xdotool key "$k"; sleep 0.3; done; }

principal="Quarvel 1.1 - Calculador de Vantorel - NovoCalculo.qvl"
verificar "$principal"
xdotool type --delay 50 "1234"
teclas Return
# keys to open | title | keys to close
while IFS='|' read -r abrir titulo fechar; do
  [ -z "$abrir" ] && continue
  xdotool windowactivate --sync "$(janela "$principal")" 2>/dev/null
  # shellcheck disable=SC2086
  teclas $abrir
  verificar "$titulo"
  # shellcheck disable=SC2086
  teclas $fechar
done <<'TABELA'
alt+e m|Modificar Valor|Escape
F2|Buscar Valor|Escape
5 ctrl+r|Repetir Valor|Escape BackSpace
alt+e Up Return|Restaurar / Limpar Backup|Escape
TABELA

# Digits typed the moment a dialog closes, while the main window is being
# made active again, reach the entry field: the line added is the amount
# typed, never an empty entry's 0,00. The tape is read back from a save.
xdotool windowactivate --sync "$(janela "$principal")" 2>/dev/null
teclas alt+e m
janela "Modificar Valor" >/dev/null
xdotool key Escape type --delay 0 56
xdotool key Return
sleep 0.3
teclas ctrl+s
sleep 1
xdotool type --delay 20 "$rascunho/digitado.qvl"
teclas Return
for _ in $(seq 50); do [ -s "$rascunho/digitado.qvl" ] && break; sleep 0.1; done
valores=$(sed -n '/^\r\?$/,$p' "$rascunho/digitado.qvl" 2>/dev/null | tr -d '\r' | grep . | paste -sd' ')
if [ "$valores" = "1234 56" ]; then
  echo "ok: o que se digitou ao fechar o diálogo foi para a entrada"
else
  echo "FALHA: digitado ao fechar o diálogo: a fita tem [$valores], esperado [1234 56]"
  falhas=$((falhas + 1))
fi

if [ "$falhas" -ne 0 ]; then
  echo "$falhas falha(s)"
  exit 1
fi
echo "nenhuma janela pode ser maximizada"
