#!/usr/bin/env bash
# Builds the libraries the platform layer links (SDL2, FreeType, SDL2_ttf and
# SDL2_image) for the browser with Debian's emscripten, from Debian's own
# source packages, into build/web-deps/install. Built once: a later run finds
# the stamp and does nothing. Needs a deb-src entry (tools/web.sh adds one).
set -euo pipefail
cd "$(dirname "$0")/.."

deps="$PWD/build/web-deps"
prefix="$deps/install"
stamp="$prefix/.built"
if [ -f "$stamp" ]; then
  exit 0
fi
export NODE_PATH=/usr/share/nodejs  # where Debian's emscripten finds acorn
mkdir -p "$deps/src"

# The sources as Debian ships them, its patches applied: the folder of the
# source package, whatever version the archive has now.
fetch() {
  local package=$1 folder
  folder=$(ls -d "$deps/src/$package"-[0-9]*/ 2>/dev/null | head -n 1)
  if [ -z "$folder" ]; then
    (cd "$deps/src" && apt-get source -q "$package" >&2)
    folder=$(ls -d "$deps/src/$package"-[0-9]*/ | head -n 1)
  fi
  echo "${folder%/}"
}

# One CMake project built and installed into the prefix, static, for wasm.
build() {
  local name=$1 source=$2
  shift 2
  emcmake cmake -S "$source" -B "$deps/build/$name" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@"
  cmake --build "$deps/build/$name"
  cmake --install "$deps/build/$name"
}

sdl=$(fetch libsdl2)
freetype=$(fetch freetype)
ttf=$(fetch libsdl2-ttf)
image=$(fetch libsdl2-image)

# Video and events only, and only the software renderer: it draws the same
# pixels as tumble-sim's offscreen renderer, and it is the one SDL2 keeps
# when no OpenGL is built.
build sdl2 "$sdl" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
  -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_HIDAPI=OFF \
  -DSDL_POWER=OFF -DSDL_FILESYSTEM=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF \
  -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF -DSDL_PTHREADS=OFF -DSDL_THREADS=OFF -DSDL_CCACHE=OFF
# Outlines and their hinting only: no compressed, bitmap-colour or shaped fonts.
build freetype "$freetype" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build sdl2_ttf "$ttf" -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF
# PNG writing only (its built-in encoder); nothing is loaded. "Vendored"
# brings in no code here (stb_image needs none), but keeps the installed
# package from asking for a libpng it does not use.
build sdl2_image "$image" -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_VENDORED=ON \
  -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_PNG_SAVE=ON \
  -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_BMP=OFF -DSDL2IMAGE_GIF=OFF -DSDL2IMAGE_JPG=OFF \
  -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF -DSDL2IMAGE_PNM=OFF \
  -DSDL2IMAGE_QOI=OFF -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=OFF -DSDL2IMAGE_TIF=OFF \
  -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF -DSDL2IMAGE_XV=OFF
touch "$stamp"
