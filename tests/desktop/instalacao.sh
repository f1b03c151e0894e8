#!/usr/bin/env bash
# instalacao.sh CMAKE BUILD SOURCE
# Installs BUILD under a scratch DESTDIR with the prefix /usr and checks the
# files a desktop needs: menu entry, file types, icon, the guide with its
# pictures, and the same guide beside the executable of the build tree.
set -uo pipefail
cmake_cmd=$1 build=$2 fonte=$3
. "$(dirname "$0")/integracao.sh"

destino=$(mktemp -d)
trap 'rm -rf "$destino"' EXIT
falhas=0
falha() { echo "FALHA: $*"; falhas=$((falhas + 1)); }
existe() { [ -s "$1" ] || falha "falta $1"; }

if ! DESTDIR="$destino" "$cmake_cmd" --install "$build" --prefix /usr >"$destino/install.log" 2>&1; then
  cat "$destino/install.log"
  echo "FALHA: cmake --install"
  exit 1
fi
raiz=$destino/usr
app=$raiz/share/applications/org.example.quarvel.desktop
mime=$raiz/share/mime/packages/quarvel.xml
icone=$raiz/share/icons/hicolor/scalable/apps/quarvel.svg
guia=$raiz/share/quarvel/ajuda_quarvel.html

for f in "$raiz/bin/quarvel" "$app" "$mime" "$icone" "$guia" "$raiz/share/man/man1/quarvel.1.gz" \
  "$raiz/share/doc/quarvel/copyright"; do existe "$f"; done
[ -x "$raiz/bin/quarvel" ] || falha "o binário instalado não é executável"

# Menu entry: valid, and every name in it leads to something installed.
if command -v desktop-file-validate >/dev/null; then
  saida=$(desktop-file-validate "$app" 2>&1) || falha "desktop-file-validate: $saida"
  echo "$saida" | grep -q "error:" && falha "desktop-file-validate: $saida"
else
  echo "aviso: desktop-file-validate ausente"
fi
campo() { sed -n "s/^$1=//p" "$app" | head -n1; }
[ "$(campo Exec)" = "quarvel %f" ] || falha "Exec=$(campo Exec)"
[ -x "$raiz/bin/$(campo Exec | cut -d' ' -f1)" ] || falha "Exec não leva ao binário instalado"
[ -s "$raiz/share/icons/hicolor/scalable/apps/$(campo Icon).svg" ] || falha "Icon=$(campo Icon) sem arquivo"
[ "$(campo Terminal)" = "false" ] || falha "Terminal=$(campo Terminal)"
[ "$(campo GenericName)" = "Calculadora de fita" ] || falha "GenericName=$(campo GenericName)"
IFS=';' read -ra tipos <<<"$(campo MimeType)"
[ ${#tipos[@]} -eq 2 ] || falha "MimeType deveria ter dois tipos: $(campo MimeType)"
for t in "${tipos[@]}"; do
  grep -q "<mime-type type=\"$t\">" "$mime" || falha "MimeType $t não declarado em quarvel.xml"
done

# File types: well formed, and what the MIME database makes of them.
if command -v xmllint >/dev/null; then
  xmllint --noout "$mime" || falha "quarvel.xml malformado"
  xmllint --noout "$icone" || falha "ícone malformado"
fi
grep -q 'xmlns="http://www.freedesktop.org/standards/shared-mime-info"' "$mime" ||
  falha "quarvel.xml sem o espaço de nomes do shared-mime-info"
grep -q '<comment xml:lang="pt_BR">Cálculo do Quarvel</comment>' "$mime" || falha "comentário pt_BR do .qvl"
if command -v update-mime-database >/dev/null; then
  base=$destino/mime
  mkdir -p "$base/packages" && cp "$mime" "$base/packages/"
  if update-mime-database "$base" >"$destino/mime.log" 2>&1; then
    grep -qx '50:application/x-quarvel:\*\.qvl' "$base/globs2" || falha "*.qvl não leva a application/x-quarvel"
    grep -qx '50:application/x-quarvel-backup:\*\.qvlbackup' "$base/globs2" ||
      falha "*.qvlbackup não leva a application/x-quarvel-backup"
    grep -qx 'application/x-quarvel-backup text/plain' "$base/subclasses" ||
      falha "o backup não é subclasse de text/plain"
    [ -s "$base/application/x-quarvel.xml" ] || falha "update-mime-database não gerou x-quarvel.xml"
  else
    cat "$destino/mime.log"
    falha "update-mime-database recusou quarvel.xml"
  fi
else
  echo "aviso: update-mime-database ausente"
fi

# Icon: an SVG document, the same picture as the program's own icon.
head -c 512 "$icone" | grep -q '<svg' || falha "o ícone não é SVG"
cmp -s "$icone" "$fonte/app/recursos/icone.svg" || falha "o ícone difere de app/recursos/icone.svg"

# Guide: self-contained (no address outside it) and every picture it names
# is present, both installed and beside the built executable.
verificar_guia() {
  local pagina=$1 pasta
  pasta=$(dirname "$pagina")
  existe "$pagina"
  [ -s "$pagina" ] || return
  grep -Eiq '(src|href)="(https?:)?//' "$pagina" && falha "$pagina carrega algo de fora"
  local n=0
  while read -r img; do
    n=$((n + 1))
    [ -s "$pasta/$img" ] || falha "$pagina mostra $img, que não está em $pasta"
  done < <(grep -o 'src="[^"]*"' "$pagina" | sed 's/^src="//; s/"$//')
  [ "$n" -gt 0 ] || falha "$pagina sem figuras"
}
verificar_guia "$guia"
verificar_guia "$build/app/ajuda_quarvel.html"
if command -v xmllint >/dev/null; then
  # libxml2 reads HTML 4: the HTML5 tags it does not know are not faults.
  erros=$(xmllint --html --noout "$guia" 2>&1 | grep "error" |
    grep -Ev "Tag (nav|figure|figcaption) invalid") || true
  [ -z "$erros" ] || falha "HTML do guia: $erros"
fi

verificar_integracao "$raiz"

# The installed binary starts (its headless form needs no display).
"$raiz/bin/quarvel" --version >/dev/null 2>&1 || falha "quarvel --version falhou"

if [ "$falhas" -gt 0 ]; then
  echo "$falhas falha(s)"
  exit 1
fi
echo "instalação verificada em $raiz"
