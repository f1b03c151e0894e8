#!/usr/bin/env bash
# pacote.sh CPACK BUILD [SANITIZADA]
# Packs BUILD into a Debian package in a scratch folder, has lintian look it
# over (no error allowed), checks its control fields and contents, then
# unpacks it with dpkg -x and runs the unpacked program on a calculation file
# and a text file; then installs it with apt-get, uses it and removes it
# (instalar_pacote.sh), and keeps it in BUILD/deb.
# Exits 77 (skipped) when the Debian packaging tools are missing.
set -uo pipefail
cpack_cmd=$1 build=$2 sanitizada=${3:-0}
. "$(dirname "$0")/integracao.sh"

if [ "$sanitizada" = 1 ]; then
  echo "pulado: uma compilação com sanitizadores não se empacota"
  exit 77
fi

for ferramenta in dpkg-deb dpkg-shlibdeps lintian; do
  if ! command -v "$ferramenta" >/dev/null; then
    echo "pulado: $ferramenta ausente (scripts/deps o instala)"
    exit 77
  fi
done

rascunho=$(mktemp -d)
trap 'rm -rf "$rascunho"' EXIT
falhas=0
falha() { echo "FALHA: $*"; falhas=$((falhas + 1)); }

if ! "$cpack_cmd" --config "$build/CPackConfig.cmake" -B "$rascunho" -G DEB >"$rascunho/cpack.log" 2>&1; then
  cat "$rascunho/cpack.log"
  echo "FALHA: cpack"
  exit 1
fi
versao=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$rascunho/quarvel_${versao}_amd64.deb
if [ ! -s "$deb" ]; then
  ls "$rascunho"
  echo "FALHA: $deb não foi gerado"
  exit 1
fi

# lintian: every tag is shown; an error fails.
lintian --tag-display-limit 0 "$deb" >"$rascunho/lintian.log" 2>&1
grep -v '^running with root privileges' "$rascunho/lintian.log" || echo "lintian: nenhuma marca"
if grep -q '^E: ' "$rascunho/lintian.log"; then
  falha "lintian achou erros"
fi
grep -q '^W: ' "$rascunho/lintian.log" && echo "aviso: lintian deu avisos (acima)"

# Control fields: Depends comes from the binary, so it names the Qt
# libraries it links with, each with a minimum version.
campo() { dpkg-deb -f "$deb" "$1"; }
[ "$(campo Package)" = quarvel ] || falha "Package=$(campo Package)"
[ "$(campo Version)" = "$versao" ] || falha "Version=$(campo Version)"
[ "$(campo Architecture)" = amd64 ] || falha "Architecture=$(campo Architecture)"
depende=$(campo Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 \
  libqt6multimedia6 libqt6svg6 libfontconfig1; do
  # Debian 13 renamed some libraries for the 64-bit time_t ("t64").
  echo "$depende" | grep -Eq "(^|, )${lib//+/\\+}(t64)? \(>= [0-9][^)]*\)" || falha "Depends sem $lib: $depende"
done
for f in Maintainer Section Priority Description; do [ -n "$(campo $f)" ] || falha "sem $f"; done

# Contents: everything a desktop and a terminal need, all under /usr.
dpkg-deb -c "$deb" >"$rascunho/conteudo" || falha "dpkg-deb -c"
for f in usr/bin/quarvel usr/share/applications/org.example.quarvel.desktop \
  usr/share/mime/packages/quarvel.xml usr/share/icons/hicolor/scalable/apps/quarvel.svg \
  usr/share/quarvel/ajuda_quarvel.html usr/share/quarvel/imagens/principal.png \
  usr/share/man/man1/quarvel.1.gz usr/share/doc/quarvel/copyright \
  usr/share/doc/quarvel/changelog.gz; do
  grep -q " \./$f\$" "$rascunho/conteudo" || falha "o pacote não tem /$f"
done
fora=$(awk '{print $6}' "$rascunho/conteudo" | grep -Ev '^\./(usr/.*)?$') &&
  falha "arquivos fora de /usr: $fora"

raiz=$rascunho/raiz
dpkg -x "$deb" "$raiz" || falha "dpkg -x"
quarvel=$raiz/usr/bin/quarvel
doc=$raiz/usr/share/doc/quarvel

# Software centres and menus.
verificar_integracao "$raiz/usr"

# Copyright in the machine-readable form; changelog of this very version.
head -n1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  falha "copyright não é legível por máquina"
grep -q '^License: Expat$' "$doc/copyright" || falha "copyright sem a licença"
gzip -dc "$doc/changelog.gz" | head -n1 | grep -q "^quarvel ($versao) " ||
  falha "changelog não começa pela versão $versao"

# The program reports the version of its package.
[ "$(QT_QPA_PLATFORM=offscreen "$quarvel" --version 2>&1)" = "quarvel $versao" ] ||
  falha "quarvel --version não diz $versao"

# The manual page: renders without warnings, and every option the program
# lists in its help is described there.
manual=$raiz/usr/share/man/man1/quarvel.1.gz
pagina=$(gzip -dc "$manual")
if command -v man >/dev/null; then
  avisos=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manual" 2>&1 >/dev/null)
  [ -z "$avisos" ] || falha "man: $avisos"
fi
echo "$pagina" | grep -q "^\.TH QUARVEL 1 .*\"Quarvel $versao\"" || falha "cabeçalho .TH sem a versão $versao"
opcoes=$(QT_QPA_PLATFORM=offscreen "$quarvel" --help 2>&1 | grep -Eo -- '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u)
[ -n "$opcoes" ] || falha "quarvel --help não listou opções"
for o in $opcoes; do
  # In roff a dash is written \-; the option must not run on into a longer one.
  echo "$pagina" | grep -q -- "$(echo "$o" | sed 's/-/\\\\-/g')\([^a-z\\]\|\$\)" ||
    falha "a página de manual não fala de $o"
done

# The unpacked program totals a calculation file and a text file...
printf '[CONFIG]\r\n[LER]\r\nINICIO=5\r\nFIM=6\r\n\r\n150\r\n12,5\r\n' >"$rascunho/malote.qvl"
printf 'R$ 1.000,00\r\n\r\n0,05\r\n' >"$rascunho/extras.txt"
esperado=$'150,00\n12,50\n1.000,00\n0,05\nR$ 1.162,55\nUM MIL, CENTO E SESSENTA E DOIS REAIS E CINQUENTA E CINCO CENTAVOS'
saida=$(QT_QPA_PLATFORM=offscreen "$quarvel" --total "$rascunho/malote.qvl" "$rascunho/extras.txt" 2>&1)
[ "$saida" = "$esperado" ] || falha "quarvel --total deu:"$'\n'"$saida"
# ... reads standard input, and refuses a malformed entry with status 1.
saida=$(printf '12*50\n1.234,56\n' | QT_QPA_PLATFORM=offscreen "$quarvel" --total - 2>&1)
[ "$(echo "$saida" | tail -n2 | head -n1)" = 'R$ 1.834,56' ] || falha "quarvel --total - deu:"$'\n'"$saida"
printf '1\n2*-3\n' | QT_QPA_PLATFORM=offscreen "$quarvel" --total - >/dev/null 2>&1
[ $? -eq 1 ] || falha "uma entrada malformada não saiu com 1"

# Installed with apt-get, used and removed, as a user would; kept in the
# build for the other release to install too.
mkdir -p "$build/deb"
cp "$deb" "$build/deb/"
bash "$(dirname "$0")/instalar_pacote.sh" "$deb"
case $? in
0 | 77) ;;
*) falha "instalação com apt-get" ;;
esac

if [ "$falhas" -gt 0 ]; then
  echo "$falhas falha(s)"
  exit 1
fi
echo "pacote verificado: $(basename "$deb"), $(stat -c %s "$deb") bytes"
