#!/usr/bin/env bash
# Installs the Debian package the way a user does (apt-get install ./PACKAGE),
# checks what it installed and registered, removes it again and checks that
# nothing of it is left.  All of this happens in a throw-away copy of this
# system: an overlay of / in a private mount namespace, written to memory, so
# the system itself never changes and the mounts vanish with the script.
# Needs root.
#   scripts/sprawdz-pakiet.sh build-pakiet/skorba-n_1.0_amd64.deb
set -euo pipefail

if [[ ${1:-} != --w-kopii ]]; then
  [[ $# -eq 1 && -f $1 ]] || { echo "użycie: $0 PAKIET.deb" >&2; exit 2; }
  deb=$(realpath "$1")
  tmp=$(mktemp -d /tmp/skorba-pakiet.XXXXXX)
  trap 'rmdir "$tmp"' EXIT
  unshare --mount --propagation private "$0" --w-kopii "$tmp" "$deb"
  exit
fi

tmp=$2 deb=$3
mount -t tmpfs -o size=2g tmpfs "$tmp"
mkdir "$tmp/gora" "$tmp/praca" "$tmp/root"
mount -t overlay overlay -o "lowerdir=/,upperdir=$tmp/gora,workdir=$tmp/praca" "$tmp/root"
root=$tmp/root
mount --rbind /dev "$root/dev"
mount --bind /proc "$root/proc"
mkdir -p "$root/tmp/pakiet"
cp "$deb" "$root/tmp/pakiet/"

# What runs inside the copy (from a file: apt-get must not read the script
# as its standard input).
cat > "$root/tmp/pakiet/sprawdz.sh" <<'W_KOPII'
set -euo pipefail
deb=/tmp/pakiet/$1
nazwa=$(dpkg-deb -f "$deb" Package)
id=pl.skorba_n.SkorbaN
krok() { echo "== $*"; }

krok "apt-get install ./$(basename "$deb")"
if dpkg -s "$nazwa" >/dev/null 2>&1; then echo "$nazwa jest już zainstalowany w systemie" >&2; exit 1; fi
# The dependencies of the programs are already there where they were built;
# the recommended packages are left out so that nothing has to be fetched.
apt-get install -y -q --no-install-recommends "$deb"

krok "wersje"
skorba_calc --version
env -u DISPLAY -u WAYLAND_DISPLAY skorba_n --version
test "$(skorba_calc --version)" = "skorba_calc (SKORBA N) $(dpkg-deb -f "$deb" Version)"

krok "zainstalowany przykład"
przyklad=$(mktemp -d)
(cd "$przyklad" && skorba_calc --report pasmo.txt /usr/share/doc/skorba-n/examples/pasmo.SKD)
test -s "$przyklad/pasmo.txt"
test -s "$przyklad/DR.txt"
rm -r "$przyklad"

krok "pozycja w menu i typ pliku"
desktop-file-validate /usr/share/applications/$id.desktop
xmllint --noout /usr/share/mime/packages/skorba-n.xml
# What the triggers of the MIME and desktop databases made of them.
test -f /usr/share/mime/application/x-skorba-n.xml
grep -q '^application/x-skorba-n=.*'$id.desktop /usr/share/applications/mimeinfo.cache
grep -q ':\*\.skd$' /usr/share/mime/globs2
test -f /usr/share/icons/hicolor/scalable/apps/$id.svg
test -f /usr/share/icons/hicolor/16x16/apps/$id.png
test -f /usr/share/man/man1/skorba_calc.1.gz
test -f /usr/share/man/man1/skorba_n.1.gz
test -f /usr/share/doc/skorba-n/skorban.html
test -f /usr/share/doc/skorba-n/podrecznik/index.html
test -f /usr/share/doc/skorba-n/podrecznik/mapa-hubera.png

krok "apt-get purge $nazwa"
pliki=$(dpkg -L "$nazwa" | while read -r p; do [[ -f $p ]] && echo "$p"; done)
apt-get purge -y -q "$nazwa"
for p in $pliki; do
  if [[ -e $p ]]; then echo "pozostał plik $p" >&2; exit 1; fi
done
test ! -e /usr/share/mime/application/x-skorba-n.xml
if grep -q x-skorba-n /usr/share/applications/mimeinfo.cache /usr/share/mime/globs2; then
  echo "typ pliku wciąż zarejestrowany" >&2
  exit 1
fi
echo "pakiet $nazwa: instalacja, sprawdzenie i usunięcie poprawne"
W_KOPII
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
  bash /tmp/pakiet/sprawdz.sh "$(basename "$deb")" </dev/null
