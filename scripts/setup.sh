# Shared by scripts/test, scripts/run and bench/run: installs what the build needs
# and builds the project into build/ with Ninja.
# shellcheck shell=bash

VELLMORE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELLMORE_BUILD="${VELLMORE_BUILD:-$VELLMORE_ROOT/build}"

# Debian packages the build, the tests and the demo need.
VELLMORE_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins fonts-liberation2 fonts-dejavu-core)

missing_packages() {
  local wanted=("$@") pkg
  for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || echo "$pkg"
  done
}

# Installs the packages given that are not installed yet. As root it calls
# apt-get directly; otherwise through sudo when there is one; otherwise it
# stops with the exact line to run.
ensure_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0
  local line="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
  local runner=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      runner=(sudo)
    else
      echo "Vellmore needs these packages: ${missing[*]}" >&2
      echo "Install them as root with:" >&2
      echo "  $line" >&2
      exit 1
    fi
  fi
  echo "Installing ${missing[*]} ..."
  export DEBIAN_FRONTEND=noninteractive
  "${runner[@]}" apt-get update -q
  "${runner[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# build_vellmore [BUILD_TYPE [CMAKE_OPTION ...]]
# Configures the build folder when it is new or its options changed since the last time,
# then builds. VELLMORE_WARNINGS_AS_ERRORS=1 makes every warning fail the build.
build_vellmore() {
  local build_type="${1:-RelWithDebInfo}"
  shift || true
  local options=(-G Ninja -DCMAKE_BUILD_TYPE="$build_type"
                 -DCMAKE_COMPILE_WARNING_AS_ERROR="$([ "${VELLMORE_WARNINGS_AS_ERRORS:-0}" = 1 ] && echo ON || echo OFF)"
                 "$@")
  local stamp="$VELLMORE_BUILD/.vellmore-configured-with"
  local wanted="${CC:-} ${CXX:-} ${options[*]}"
  if [ ! -f "$VELLMORE_BUILD/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$wanted" ]; then
    cmake -S "$VELLMORE_ROOT" -B "$VELLMORE_BUILD" "${options[@]}"
    printf '%s' "$wanted" > "$stamp"
  fi
  cmake --build "$VELLMORE_BUILD" -j2
}
