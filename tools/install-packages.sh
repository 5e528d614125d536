#!/usr/bin/env bash
# Installs the Debian packages that tumble needs and that are missing: those
# of tools/debian-packages.txt, or of the list named (tools/web-packages.txt).
set -euo pipefail
cd "$(dirname "$0")"

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "${1:-debian-packages.txt}")
missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
    || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
