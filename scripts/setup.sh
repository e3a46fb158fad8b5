# Shared by the scripts and bench/run: the Debian packages the build needs, installed when missing,
# and a build through one of the project's CMake presets (CMakePresets.json).
# shellcheck shell=bash

VELLMORE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELLMORE_BUILD="$VELLMORE_ROOT/build" # the "default" preset's folder

# Debian packages the build, the tests and the demo need.
VELLMORE_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins libfontconfig-dev fonts-liberation2 fonts-dejavu-core)
# The "asan" build compiles against Debian's Qt 5.15, as the Windows build does, with clang.
VELLMORE_ASAN_PACKAGES=(clang libclang-rt-14-dev qtbase5-dev)

# Installs the packages given that are not installed yet: as root through apt-get, otherwise through
# sudo when there is one, otherwise it stops with the exact line to run.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$pkg")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  local runner=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "Vellmore needs these packages: ${missing[*]}. Install them as root with:" >&2
      echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
      exit 1
    fi
    runner=(sudo)
  fi
  echo "Installing ${missing[*]} ..."
  export DEBIAN_FRONTEND=noninteractive
  "${runner[@]}" apt-get update -q
  "${runner[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Lets apt install packages of another architecture (wine32:i386): as root or through sudo.
ensure_architecture() {
  dpkg --print-foreign-architectures | grep -qx "$1" && return 0
  [ "$(dpkg --print-architecture)" = "$1" ] && return 0
  local runner=()
  [ "$(id -u)" -eq 0 ] || runner=(sudo)
  echo "Adding the package architecture $1 ..."
  "${runner[@]}" dpkg --add-architecture "$1"
  # The next install runs apt-get update, which fetches the new architecture's lists.
}

# build_preset NAME: configures (when anything changed) and builds the preset's folder.
build_preset() {
  (cd "$VELLMORE_ROOT" && cmake --preset "$1" >/dev/null && cmake --build --preset "$1")
}
