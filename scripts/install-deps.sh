#!/usr/bin/env bash
# Installs the Debian packages listed in deps/debian-packages.txt that are missing.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
mapfile -t pkgs < <(grep -vE '^\s*(#|$)' "$here/deps/debian-packages.txt")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
