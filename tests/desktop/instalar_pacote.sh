#!/usr/bin/env bash
# instalar_pacote.sh DEB
# Installs DEB with apt-get as a user would, checks what the desktop gets
# from the installed files and that the installed program works, then
# removes it with --purge and checks that nothing of it is left. Used for the
# package this build makes and, on Debian 13, for the one made on Debian 12.
# Exits 77 (skipped) without root or apt-get, or when a quarvel package is
# already installed (it is the machine owner's, not the test's).
set -uo pipefail
deb=$(realpath "$1")

if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
  echo "pulado: instalar com apt-get pede root"
  exit 77
fi
if dpkg-query -W -f='${Status}' quarvel 2>/dev/null | grep -q 'install ok installed'; then
  echo "pulado: já há um pacote quarvel instalado nesta máquina"
  exit 77
fi

rascunho=$(mktemp -d)
falhas=0
falha() { echo "FALHA: $*"; falhas=$((falhas + 1)); }
remover() { DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq quarvel >"$rascunho/remocao.log" 2>&1; }
trap 'remover; rm -rf "$rascunho"' EXIT

. /etc/os-release
echo "instalando $(basename "$deb") no Debian $VERSION_ID"
# Its dependencies are the libraries the build used, so nothing is fetched.
if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$rascunho/instalacao.log" 2>&1; then
  cat "$rascunho/instalacao.log"
  echo "FALHA: apt-get install"
  exit 1
fi

# What the menus, the software centres and the file manager read.
id=org.example.quarvel
desktop-file-validate "/usr/share/applications/$id.desktop" || falha "desktop-file-validate"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml" >"$rascunho/appstream.log" 2>&1 ||
  { cat "$rascunho/appstream.log"; falha "appstreamcli validate"; }
# The file type the desktop learnt from the package's MIME entry.
grep -q 'glob pattern="\*\.qvl"' /usr/share/mime/packages/quarvel.xml 2>/dev/null ||
  falha "o tipo de arquivo .qvl não foi registrado"
[ -f /usr/share/mime/application/x-quarvel.xml ] ||
  falha "update-mime-database não registrou application/x-quarvel"

# The installed program, as found on the PATH: version, a total, a PDF.
export QT_QPA_PLATFORM=offscreen
versao=$(dpkg-deb -f "$deb" Version)
[ "$(quarvel --version 2>&1)" = "quarvel $versao" ] || falha "quarvel --version: $(quarvel --version 2>&1)"
printf '[CONFIG]\r\n[LER]\r\nINICIO=5\r\nFIM=6\r\n\r\n150\r\n12,5\r\n' >"$rascunho/malote.qvl"
saida=$(quarvel --total "$rascunho/malote.qvl" 2>&1)
[ "$(echo "$saida" | sed -n 3p)" = 'R$ 162,50' ] || falha "quarvel --total deu:"$'\n'"$saida"
quarvel --pdf "$rascunho/malote.pdf" "$rascunho/malote.qvl" >/dev/null 2>&1 || falha "quarvel --pdf"
head -c 5 "$rascunho/malote.pdf" 2>/dev/null | grep -q '%PDF-' || falha "o PDF não foi escrito"
# The window starts and keeps running until it is told to stop.
HOME=$rascunho XDG_DATA_HOME=$rascunho/dados timeout -s TERM 3 quarvel >"$rascunho/janela.log" 2>&1
[ $? -eq 124 ] || { cat "$rascunho/janela.log"; falha "a janela não ficou aberta"; }

# Removed with --purge, nothing of it stays.
arquivos=$(dpkg-query -L quarvel | while read -r f; do [ -f "$f" ] && echo "$f"; done)
remover || { cat "$rascunho/remocao.log"; falha "apt-get remove --purge"; }
dpkg-query -W -f='${Status}' quarvel 2>/dev/null | grep -q 'install ok installed' && falha "ainda instalado"
for f in $arquivos; do
  [ -e "$f" ] && falha "ficou $f"
done

if [ "$falhas" -gt 0 ]; then
  echo "$falhas falha(s)"
  exit 1
fi
echo "instalado, usado e removido: $(basename "$deb") no Debian $VERSION_ID"
