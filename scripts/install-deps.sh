#!/usr/bin/env bash
# Installs the Debian packages that are missing: those of scripts/packages.txt
# (the program's) and scripts/packages-tests.txt (the tests'), or with
# --program only the program's.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/packages.txt" "$here/packages-tests.txt")
case "${1:-}" in
  "") ;;
  --program) lists=("$here/packages.txt") ;;
  *) echo "install-deps.sh: unknown option $1 (the one option is --program)" >&2; exit 2 ;;
esac
mapfile -t wanted < <(cat "${lists[@]}" | grep -v '^\s*#' | grep -v '^\s*$')
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Missing packages (${missing[*]}) and no sudo to install them; run as root." >&2; exit 1; }
  sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
