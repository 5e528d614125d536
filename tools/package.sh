#!/usr/bin/env bash
# Builds the Debian package of tumble: a release build of the programs alone
# (no tests, no benchmarks), then CPack's DEB generator, whose Depends line
# comes from dpkg-shlibdeps. The package lands in build/package/.
#
#   tools/package.sh [--build-dir DIR] [--output-dir DIR]
#
# Then: sudo apt install ./build/package/tumble_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/package-build
output=$root/build/package

usage() {
  echo "usage: tools/package.sh [--build-dir DIR] [--output-dir DIR]"
  echo "Builds build/package/tumble_VERSION_ARCH.deb (the build itself in build/package-build)."
}
while [ $# -gt 0 ]; do
  case $1 in
    --build-dir | --output-dir)
      if [ $# -lt 2 ] || [ -z "$2" ]; then
        echo "tools/package.sh: $1 needs a directory" >&2
        usage >&2
        exit 2
      fi
      if [ "$1" = --build-dir ]; then build=$2; else output=$2; fi
      shift 2
      ;;
    -h | --help)
      usage
      exit 0
      ;;
    *)
      echo "tools/package.sh: unknown argument '$1'" >&2
      usage >&2
      exit 2
      ;;
  esac
done
build=$(realpath -m "$build")
output=$(realpath -m "$output")

for tool in cmake cpack ninja dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null; then
    echo "tools/package.sh: $tool is missing (tools/install-packages.sh installs it)" >&2
    exit 1
  fi
done

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUMBLE_WERROR=ON \
  -DTUMBLE_BUILD_TESTS=OFF -DTUMBLE_BUILD_BENCHMARKS=OFF
cmake --build "$build"

# Only this build's package is left in the output folder, so that
# build/package/tumble_*.deb names one file.
mkdir -p "$output"
rm -f "$output"/tumble_*.deb
(cd "$build" && cpack -G DEB -B "$output")
rm -rf "$output/_CPack_Packages"

shopt -s nullglob
packages=("$output"/tumble_*.deb)
if [ ${#packages[@]} -ne 1 ]; then
  echo "tools/package.sh: cpack made no package in $output" >&2
  exit 1
fi
echo "package: ${packages[0]}"
dpkg-deb --field "${packages[0]}" Package Version Architecture Depends
