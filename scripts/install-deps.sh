#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the program.
# Idempotent: only packages that are missing are installed.
#   scripts/install-deps.sh           build + test + GUI packages
#   scripts/install-deps.sh --extras  also screenshot and benchmark tools, and the
#                                     readers the export tests check files with
#   scripts/install-deps.sh --package also what building and checking the Debian package needs
set -euo pipefail

PKGS=(cmake g++ make pkg-config librsvg2-bin
      qt6-base-dev qt6-translations-l10n fonts-liberation2
      libgtest-dev libgmock-dev libboost-graph-dev libsuitesparse-dev)
EXTRAS=(clang libclang-rt-14-dev libbenchmark-dev libopenblas-dev liblapack-dev
        xvfb xdotool imagemagick gmsh
        python3-meshio libxml2-utils)
# dpkg-shlibdeps and dpkg-buildflags, `file` (CPack looks for programs with
# it), the checkers of desktop entries and MIME packages, and the databases
# whose triggers register them.
PACKAGE=(dpkg-dev file desktop-file-utils libxml2-utils shared-mime-info)
[[ ${1:-} == --extras ]] && PKGS+=("${EXTRAS[@]}")
[[ ${1:-} == --package ]] && PKGS+=("${PACKAGE[@]}")

missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
SUDO=()
[[ $(id -u) -ne 0 ]] && SUDO=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
