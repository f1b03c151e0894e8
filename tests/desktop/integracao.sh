# Sourced by instalacao.sh and pacote.sh, which define falha():
#   verificar_integracao RAIZ
# checks what software centres and menus take from an installed tree RAIZ
# (the /usr of a DESTDIR or of an unpacked package): the AppStream metainfo,
# accepted by appstreamcli and tied to the menu entry and the program's
# version, the PNG icons of every hicolor size, and the menu categories.
verificar_integracao() {
  local raiz=$1 id=org.example.quarvel
  local meta=$raiz/share/metainfo/$id.metainfo.xml app=$raiz/share/applications/$id.desktop
  [ -s "$meta" ] || { falha "falta $meta"; return; }
  if command -v appstreamcli >/dev/null; then
    local saida
    saida=$(appstreamcli validate --no-net --pedantic "$meta" 2>&1) ||
      falha "appstreamcli validate: $saida"
  else
    echo "aviso: appstreamcli ausente (pacote appstream)"
  fi
  grep -q "<id>$id</id>" "$meta" || falha "metainfo sem o id $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" ||
    falha "metainfo não leva a $id.desktop"
  [ -s "$app" ] || falha "o id $id não tem a entrada de menu $app"
  local versao
  versao=$("$raiz/bin/quarvel" --version 2>/dev/null | cut -d' ' -f2)
  grep -Eq "<release version=\"$versao\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"" "$meta" ||
    falha "metainfo sem a versão $versao do programa"
  for campo in '<name>Quarvel</name>' '<summary>Calculadora de fita' '<content_rating type="oars-' \
    '<project_license>MIT</project_license>' '<metadata_license>'; do
    grep -q "$campo" "$meta" || falha "metainfo sem $campo"
  done

  # Each size a real PNG of that size: the signature, then IHDR's width and
  # height as big-endian 32-bit numbers.
  local lado png medidas
  for lado in 16 32 48 64 128 256; do
    png=$raiz/share/icons/hicolor/${lado}x${lado}/apps/quarvel.png
    [ -s "$png" ] || { falha "falta $png"; continue; }
    [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" = 89504e470d0a1a0a ] || falha "$png não é PNG"
    medidas=$(od -An -tu1 -j16 -N8 "$png" |
      awk '{ printf "%d %d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
    [ "$medidas" = "$lado $lado" ] || falha "$png mede $medidas, não $lado $lado"
  done

  grep -Eq '^Categories=(.*;)?Utility;' "$app" || falha "Categories sem Utility: $(grep ^Categories= "$app")"
}
