#!/usr/bin/env bash
# acessibilidade_atspi.sh QUARVEL [SANITIZADA]
# Runs the real program in a scratch X server (Xvfb) and D-Bus session with
# accessibility on, and has acessibilidade_atspi.py read it through AT-SPI as
# a screen reader would. Everything started here is stopped on the way out;
# a time limit covers the whole run.
# Exits 77 (skipped) when Xvfb, D-Bus, at-spi2-core or python3-pyatspi are
# missing (scripts/deps installs them), and in a sanitizer build: what it
# checks is the tree, which the in-process tests already read under the
# sanitizers.
set -uo pipefail
quarvel=$1 sanitizada=${2:-0}
aqui=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3 # Debian's, which has pyatspi

if [ -z "${QUARVEL_SESSAO_ATSPI:-}" ]; then
  if [ "$sanitizada" = 1 ]; then
    echo "pulado: compilação com sanitizadores"
    exit 77
  fi
  for f in Xvfb dbus-run-session timeout; do
    command -v "$f" >/dev/null || { echo "pulado: $f ausente (scripts/deps o instala)"; exit 77; }
  done
  [ -x /usr/libexec/at-spi-bus-launcher ] || { echo "pulado: at-spi2-core ausente"; exit 77; }
  "$python" -c 'import pyatspi' 2>/dev/null || { echo "pulado: python3-pyatspi ausente"; exit 77; }
  # A session bus of its own; timeout ends the whole process group.
  QUARVEL_SESSAO_ATSPI=1 exec timeout -k 5 90 dbus-run-session -- bash "$0" "$@"
fi

. "$aqui/../apoio/sessao_x.sh"
sessao_x_iniciar
printf '[CONFIG]\r\n[LER]\r\nINICIO=5\r\nFIM=5\r\n\r\n150\r\n' >"$rascunho/Backup/malote.qvlbackup"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

"$quarvel" >"$rascunho/quarvel.log" 2>&1 &
pids+=($!)

timeout -k 5 60 "$python" "$aqui/acessibilidade_atspi.py"
rc=$?
if [ "$rc" -ne 0 ]; then
  echo "--- saída do quarvel"
  cat "$rascunho/quarvel.log"
fi
exit "$rc"
