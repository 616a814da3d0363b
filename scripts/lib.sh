# Shared by the scripts: the packages the build needs, the private Wine
# prefix and the private X display. Sourced, not run.

nuv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export NUV_WINEPREFIX="$nuv_root/build/wineprefix"

# Debian packages: the host and cross compilers, Wine (64-bit only: wine32's
# loader would shadow the 64-bit one), the X server and tools the GUI tests
# drive, the test and benchmark libraries and the fonts the window uses.
nuv_packages=(
  cmake make g++ clang libclang-rt-14-dev
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 fonts-wine fonts-liberation
  xvfb xdotool x11-apps imagemagick
  googletest libgtest-dev libbenchmark-dev
  zip unzip bc
)

nuv_say() { printf '%s\n' "$*" >&2; }

# Installs whatever of the packages is missing (as root), or names them.
nuv_ensure_packages() {
  local missing=() p
  for p in "${nuv_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    nuv_say "Missing packages: ${missing[*]}"
    nuv_say "Install them as root: apt-get install --no-install-recommends ${missing[*]}"
    return 1
  fi
  nuv_say "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

nuv_wine_env() {
  export WINEPREFIX="$NUV_WINEPREFIX"
  export WINEDLLOVERRIDES="mscoree=;mshtml="
  export WINEDEBUG="${WINEDEBUG:--all}"
}

# Makes the private prefix once. Its windows are not left to a window manager
# (there is none on the private display): Wine draws their frames itself, so
# title bars and regions show, and closing a window does not wait for one.
nuv_prefix_version=2
nuv_ensure_wineprefix() {
  nuv_wine_env
  [ -f "$WINEPREFIX/.nuv-ready-$nuv_prefix_version" ] && return 0
  nuv_say "Making the Wine prefix under build/ (once)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  rm -f "$WINEPREFIX"/.nuv-ready*
  touch "$WINEPREFIX/.nuv-ready-$nuv_prefix_version"
}

nuv_stop_wine() {
  nuv_wine_env
  wineserver -k >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display and exports DISPLAY; nuv_stop_xvfb ends it.
nuv_xvfb_pid=""
nuv_start_xvfb() {
  local n
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    nuv_xvfb_pid=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$nuv_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  nuv_say "Could not start Xvfb"
  return 1
}

nuv_stop_xvfb() {
  [ -n "$nuv_xvfb_pid" ] && kill "$nuv_xvfb_pid" 2>/dev/null && wait "$nuv_xvfb_pid" 2>/dev/null
  nuv_xvfb_pid=""
}
