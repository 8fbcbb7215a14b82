#!/usr/bin/env bash
# The Debian package as an office gets it: built from this build tree by
# scripts/package, its control fields and contents read back with dpkg-deb,
# lintian without an error-level tag, the desktop entry and the AppStream
# file validated; then unpacked into a scratch folder and run from there
# without a display: --version, --criar-banco --com-demonstracao on the test
# server with the package's sample Admin.ini in the user's configuration
# folder, and an unattended report written to PDF and read back.
#   deb.sh SOURCE_DIR BUILD_DIR     (CP_TEST_PORT: the test server)
# Exits 77 (skipped) only where dpkg-deb is missing.
set -euo pipefail
src=$1
build=$2
if ! command -v dpkg-deb >/dev/null 2>&1; then
  echo "SKIP: dpkg-deb não está instalado nesta máquina; o pacote .deb não foi testado."
  exit 77
fi
port=${CP_TEST_PORT:-33062}
work=$build/package-test
rm -rf "$work"
mkdir -p "$work/home" "$work/config/contas-pagar"
database=cpdeb_$$
sql() { mariadb --no-defaults -h127.0.0.1 -P"$port" -uroot -pkqz7314 "$@"; }
trap 'sql -e "DROP DATABASE IF EXISTS $database" >/dev/null 2>&1 || true' EXIT
failures=0
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FALHOU: $what" >&2
    failures=$((failures + 1))
  fi
}

deb=$(bash "$src/scripts/package" --build-dir "$build" --output "$work/deb" | tail -1)
check "pacote gerado ($deb)" test -f "$deb"
[ -f "$deb" ] || exit 1

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
check "nome contas-pagar" test "$(field Package)" = contas-pagar
depends=$(field Depends)
depends_on() { [[ ", $depends," == *", $1"[\ ,]* ]]; }
for p in libqt6sql6-mysql qt6-translations-l10n fonts-liberation2; do
  check "depende de $p (carregado ou lido em tempo de execução)" depends_on "$p"
done

# Contents.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents.txt"
for f in /usr/bin/contas-pagar \
  /usr/share/applications/br.com.quarvo.ContasPagar.desktop \
  /usr/share/metainfo/br.com.quarvo.ContasPagar.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/br.com.quarvo.ContasPagar.svg \
  /usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/br.com.quarvo.ContasPagar.png \
  /usr/share/contas-pagar/schema.sql /usr/share/contas-pagar/demo.sql \
  /usr/share/doc/contas-pagar/README.md /usr/share/doc/contas-pagar/copyright \
  /usr/share/doc/contas-pagar/changelog.gz /usr/share/doc/contas-pagar/examples/Admin.ini \
  /usr/share/man/man1/contas-pagar.1.gz; do
  check "contém $f" grep -qx "$f" "$work/contents.txt"
done
check "nada fora de /usr" test -z "$(grep -v '^/usr/' "$work/contents.txt" | grep -vx '/' || true)"

# lintian: no error; warnings listed.
if lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1; then
  echo "ok: lintian sem erros"
else
  echo "FALHOU: lintian encontrou erros:" >&2
  failures=$((failures + 1))
fi
grep -E '^[EW]: ' "$work/lintian.txt" | sed 's/^/  lintian /' || true

# Unpacked where no package manager put it.
root=$work/root
dpkg-deb -x "$deb" "$root"
exe=$root/usr/bin/contas-pagar
check "executável desempacotado" test -x "$exe"
check "desktop-file-validate" desktop-file-validate "$root/usr/share/applications/br.com.quarvo.ContasPagar.desktop"
check "appstreamcli validate" appstreamcli validate --no-net \
  "$root/usr/share/metainfo/br.com.quarvo.ContasPagar.metainfo.xml"
check "appstreamcli validate-tree (entrada, ícone e metainfo juntos)" \
  appstreamcli validate-tree --no-net "$root"
for s in schema.sql demo.sql; do
  check "$s instalado igual ao do código" cmp -s "$src/src/schema/$s" "$root/usr/share/contas-pagar/$s"
done

# Every library the executable needs is a dependency (dpkg-shlibdeps ran).
while read -r so; do
  # awk reads the whole list: leaving early would end ldconfig with SIGPIPE,
  # which pipefail and set -e turn into the end of this script.
  lib=$(ldconfig -p | awk -v so="$so" '$1 == so && /x86-64/ && !found {found = $NF} END {print found}')
  pkg=$(dpkg -S "$lib" 2>/dev/null | head -1 | cut -d: -f1 || true)
  [ -n "$pkg" ] || pkg=$(dpkg -S "$(readlink -f "$lib")" 2>/dev/null | head -1 | cut -d: -f1 || true)
  check "dependência para $so ($pkg)" depends_on "$pkg"
done < <(readelf -d "$exe" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')

run() { # the unpacked program, without a display, with its own home
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
    XDG_CONFIG_HOME="$work/config" "$exe" "$@"
}
version=$(run --version | sed -n 1p)
check "--version diz a versão do pacote ($version)" test "$version" = "contas-pagar $(field Version)"
check "metainfo traz a mesma versão" grep -q "<release version=\"$(field Version)\"" \
  "$root/usr/share/metainfo/br.com.quarvo.ContasPagar.metainfo.xml"

# The sample Admin.ini, pointed at the test server, in the user's folder.
sed -e "s/^PORTA=.*/PORTA=$port/" -e "s/^BANCO=.*/BANCO=$database/" \
  "$root/usr/share/doc/contas-pagar/examples/Admin.ini" >"$work/config/contas-pagar/Admin.ini"
if run --criar-banco --com-demonstracao >"$work/criar.out" 2>"$work/criar.err"; then
  echo "ok: --criar-banco --com-demonstracao"
else
  echo "FALHOU: --criar-banco --com-demonstracao (código $?):" >&2
  cat "$work/criar.err" >&2
  failures=$((failures + 1))
fi
check "scripts lidos de $root/usr/share/contas-pagar" \
  grep -qx "Tabelas: $root/usr/share/contas-pagar/schema.sql" "$work/criar.out"
check "configuração lida da pasta do usuário" \
  grep -qx "Configuração lida de $work/config/contas-pagar/Admin.ini." "$work/criar.out"

pdf=$work/quitadas.pdf
if run --relatorio RptPagarQuitado --de "$(date -d '-60 days' +%d/%m/%Y)" \
  --ate "$(date +%d/%m/%Y)" --saida "$pdf" >"$work/relatorio.out" 2>"$work/relatorio.err"; then
  echo "ok: --relatorio RptPagarQuitado"
else
  echo "FALHOU: --relatorio (código $?):" >&2
  cat "$work/relatorio.err" >&2
  failures=$((failures + 1))
fi
pdftotext "$pdf" "$work/quitadas.txt" 2>/dev/null || true
check "PDF com a empresa de demonstração" grep -q "Comercial Horizonte Ltda" "$work/quitadas.txt"
check "PDF com o título do relatório" grep -q "Relatório de Contas a Pagar Geral de Fornecedor" \
  "$work/quitadas.txt"

if [ "$failures" -gt 0 ]; then
  echo "$failures verificação(ões) do pacote falharam." >&2
  exit 1
fi
echo "Pacote $(basename "$deb") verificado."
