# Sourced by the tests that run the real program on a scratch X server.
# sessao_x_iniciar: a scratch folder (removed on the way out, with every
# process put in `pids`), Xvfb on a free display, and a private HOME and XDG
# folders, so nothing of the machine's own settings is read or written.
# Exits 77 (skipped) when the X server does not start.
# QUARVEL_MANTER_RASCUNHO=1 keeps the folder to look at afterwards.

sessao_x_encerrar() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "${QUARVEL_MANTER_RASCUNHO:-}" ] && { echo "rascunho mantido: $rascunho"; return; }
  rm -rf "$rascunho"
}

sessao_x_iniciar() {
  rascunho=$(mktemp -d)
  pids=()
  trap sessao_x_encerrar EXIT
  # Xvfb picks a free display itself and writes its number on fd 3.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$rascunho/tela" 2>"$rascunho/xvfb.log" &
  pids+=($!)
  for _ in $(seq 100); do
    [ -s "$rascunho/tela" ] && break
    sleep 0.1
  done
  if [ ! -s "$rascunho/tela" ]; then
    cat "$rascunho/xvfb.log"
    echo "pulado: o Xvfb não iniciou"
    exit 77
  fi
  export DISPLAY=":$(head -n1 "$rascunho/tela")"
  mkdir -m 700 "$rascunho/run"
  mkdir -p "$rascunho/Backup"
  export HOME=$rascunho XDG_RUNTIME_DIR=$rascunho/run XDG_CONFIG_HOME=$rascunho/config
  export XDG_DATA_HOME=$rascunho/data XDG_CACHE_HOME=$rascunho/cache
  export QUARVEL_PASTA_BACKUP=$rascunho/Backup QT_QPA_PLATFORM=xcb
}
