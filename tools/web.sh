#!/usr/bin/env bash
# Builds tumble for the browser into build/web/ (index.html, tumble.js,
# tumble.wasm): installs what is missing, builds SDL2 and the libraries the
# platform layer links from Debian's source packages (once, into
# build/web-deps/), then the web preset. Serve it with
#   python3 -m http.server -d build/web
# and open http://localhost:8000/ (?replay=FILE replays a script from build/web/).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-packages.sh
tools/install-packages.sh web-packages.txt

# apt-get source needs the archive's source lists.
if ! grep -rqs '^\(deb-src\|Types:.*deb-src\)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  echo "Adding Debian's source packages to apt's lists"
  # The same archives apt already uses (a mirror stays a mirror), as sources.
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/tumble-deb-src.sources >/dev/null
  elif grep -qs '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
      $sudo tee /etc/apt/sources.list.d/tumble-deb-src.list >/dev/null
  else
    $sudo tee /etc/apt/sources.list.d/tumble-deb-src.sources >/dev/null <<'LIST'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
LIST
  fi
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update
fi

tools/web-deps.sh
cmake --preset web
cmake --build --preset web
echo "Built build/web/. Serve it with: python3 -m http.server -d build/web"
