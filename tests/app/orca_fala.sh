#!/usr/bin/env bash
# orca_fala.sh QUARVEL [SANITIZADA]
# Runs the real program with Debian's Orca in a scratch X server (Xvfb, with
# openbox) and D-Bus session, Orca's speech going through speech-dispatcher
# and espeak-ng to libao's null driver; orca_fala.py types on the keyboard
# and checks what Orca said, read from its debug log. Private HOME and XDG
# folders: nothing of the machine's settings is read or written.
# Exits 77 (skipped) when a tool is missing (scripts/deps installs them) and
# in a sanitizer build (the program is the same; Orca's timing is not).
set -uo pipefail
quarvel=$1 sanitizada=${2:-0}
aqui=$(cd "$(dirname "$0")" && pwd)

if [ -z "${QUARVEL_SESSAO_ORCA:-}" ]; then
  if [ "$sanitizada" = 1 ]; then
    echo "pulado: compilação com sanitizadores"
    exit 77
  fi
  for f in Xvfb dbus-run-session timeout orca speech-dispatcher espeak-ng xdotool openbox; do
    command -v "$f" >/dev/null || { echo "pulado: $f ausente (scripts/deps o instala)"; exit 77; }
  done
  [ -x /usr/libexec/at-spi-bus-launcher ] || { echo "pulado: at-spi2-core ausente"; exit 77; }
  # libao's null driver is built into the library.
  compgen -G "/usr/lib/*/libao.so.4" >/dev/null || { echo "pulado: libao4 ausente"; exit 77; }
  QUARVEL_SESSAO_ORCA=1 exec timeout -k 5 460 dbus-run-session -- bash "$0" "$@"
fi

. "$aqui/../apoio/sessao_x.sh"
sessao_x_iniciar
mkdir -p "$rascunho/config/speech-dispatcher" "$rascunho/orca" "$rascunho/fala"
# Sound goes nowhere: libao's null driver, for speech-dispatcher's own
# espeak-ng module.
echo "default_driver=null" >"$rascunho/.libao"
cat >"$rascunho/config/speech-dispatcher/speechd.conf" <<FIM
LogLevel 4
LogDir "$rascunho/fala"
AudioOutputMethod "libao"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
DefaultLanguage "pt"
FIM
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C.UTF-8
# Qt complains of every object Orca asks about after a dialog has gone.
export QT_LOGGING_RULES="qt.accessibility.atspi.warning=false"

openbox >"$rascunho/openbox.log" 2>&1 &
pids+=($!)

# Files for Open and Import.
printf '[CONFIG]\r\n[LER]\r\nINICIO=5\r\nFIM=6\r\n\r\n100\r\n250,5\r\n' >"$rascunho/malote.qvl"
printf '10\r\n20\r\n' >"$rascunho/valores.txt"

# Orca's reading of a window races with the program's announcements, and a
# loaded machine now and then lets Orca drop one; a second session, from a
# fresh start (its own data folder: the first program was ended, not
# closed), must then say everything.
for tentativa in 1 2; do
  export XDG_DATA_HOME=$rascunho/data$tentativa
  timeout -k 5 200 /usr/bin/python3 "$aqui/orca_fala.py" "$quarvel" "$rascunho"
  rc=$?
  [ "$rc" -eq 1 ] && [ "$tentativa" -eq 1 ] && { echo "--- outra vez"; continue; }
  break
done
if [ "$rc" -ne 0 ]; then
  echo "--- saída do quarvel"
  cat "$rascunho/quarvel.log"
fi
exit "$rc"
