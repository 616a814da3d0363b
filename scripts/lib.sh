# shellcheck shell=bash
# Shared by the scripts: the packages the build needs, the private Wine
# prefixes, the 32-bit route and the private X display. Sourced, not run.

nuv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The 32-bit programs run under the Wine of a Debian 13 root under build/
# (scripts/x86-root makes it, scripts/x86-exec enters it), which runs them in
# a 64-bit prefix of their own, as 64-bit Windows does.
nuv_x86_root="$nuv_root/build/x86-root"
export NUV_WINEPREFIX="${NUV_WINEPREFIX:-$nuv_root/build/wineprefix}"
export NUV_X86_PREFIX="${NUV_X86_PREFIX:-$nuv_root/build/wineprefix-x86}"

# A run that may go beside the tests (scripts/run, hunt, bench) takes prefixes
# of its own, made like theirs on first use, and with them its own Wine
# servers and binfmt_misc entry: what it starts and stops is never theirs.
nuv_own_prefixes() {
  NUV_WINEPREFIX="$nuv_root/build/$1-wineprefix" NUV_X86_PREFIX="$nuv_root/build/$1-wineprefix-x86"
}

# Debian packages: the host and cross compilers, Wine (64-bit only: wine32's
# loader would shadow the 64-bit one), the X server and tools the GUI tests
# drive, the test and benchmark libraries, the fonts the window uses, and
# what makes and checks a release (git, zip, signing and its certificates)
# and the static checks (clang-tidy, shellcheck).
nuv_packages=(
  cmake make g++ clang libclang-rt-14-dev clang-tidy shellcheck
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 fonts-wine fonts-liberation mmdebstrap bubblewrap
  xvfb xdotool x11-apps imagemagick
  googletest libgtest-dev libbenchmark-dev
  git zip unzip bc osslsigncode openssl
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
  nuv_say "Installing ${#missing[@]} Debian packages, which takes a few minutes on a new machine: ${missing[*]}"
  local start=$SECONDS
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
  nuv_say "Installed them in $((SECONDS - start)) s."
}

# Configures PRESET and builds it (the TARGETS named, or all), the output of
# each step in build/PRESET-configure.log and build/PRESET-build.log; when a
# step fails, shows the end of its log and returns 1.
nuv_build() {
  local preset=$1 log="$nuv_root/build/$1" targets=()
  shift
  [ $# -gt 0 ] && targets=(--target "$@")
  mkdir -p "$nuv_root/build"
  # One build of a preset at a time (scripts/run beside scripts/test); the
  # lock is not handed on to the Wine server that a configure step may start.
  if ! flock -o "$log.lock" cmake --preset "$preset" >"$log-configure.log" 2>&1; then
    tail -n 40 "$log-configure.log" >&2
    nuv_say "$preset: configuring failed (build/$preset-configure.log)"
    return 1
  fi
  if ! flock -o "$log.lock" cmake --build --preset "$preset" -j "$(nproc)" "${targets[@]}" >"$log-build.log" 2>&1; then
    grep -E -B 2 -A 8 'error|Error' "$log-build.log" | head -n 60 >&2
    nuv_say "$preset: the build failed (build/$preset-build.log)"
    return 1
  fi
}

# Runs clang-tidy with the project's .clang-tidy over the project's own
# sources in PRESET's build (its compile_commands.json); a finding fails it.
# A cross build's target and C++ headers are told it. A pass is not repeated
# while the sources, the build's commands and the checks stay as they were.
# At the lowest priority, beside the tests it takes what they leave.
nuv_tidy() {
  local build="$nuv_root/build/$1" compiler args=() dir stamp
  stamp=$(cd "$nuv_root" && find .clang-tidy "build/$1/compile_commands.json" app ui registry platform tests \
    -type f -print0 | sort -z | xargs -0 cat | sha256sum)
  [ "$(cat "$build-tidy.stamp" 2>/dev/null)" = "$stamp" ] && return 0
  compiler=$(sed -n 's/^ *"command": "\([^ ]*g++[^ ]*\) .*/\1/p' "$build/compile_commands.json" | head -n 1)
  if [ "$1" != native ]; then
    args=(-extra-arg="--target=$("$compiler" -dumpmachine)" -extra-arg=-Wno-ignored-optimization-argument)
    for dir in $("$compiler" -E -x c++ -v - </dev/null 2>&1 | sed -n '/^#include <\.\.\.>/,/^End/p' | grep /c++); do
      args+=(-extra-arg="-isystem$dir")
    done
  fi
  nice -n 19 run-clang-tidy -p "$build" -quiet -j "$(nproc)" "${args[@]}" "^$nuv_root/(app|ui|registry|platform|tests)/" \
    >"$build-tidy.log" 2>&1 && echo "$stamp" >"$build-tidy.stamp"
}

nuv_wine_env() {
  export WINEPREFIX="$NUV_WINEPREFIX"
  export WINEDLLOVERRIDES="mscoree=;mshtml="
  export WINEDEBUG="${WINEDEBUG:--all}"
}

# Makes the prefix WINEPREFIX the project's, once, with the Wine on the PATH
# (in build/x86-root, Wine 10's); scripts/wine-exec, through which every
# Windows program of the build runs, calls it under the prefix's lock first,
# so every way of running a test finds it so, even where Wine made it alone.
# Wine draws the windows' frames itself (there is no window manager), so
# title bars and regions show and closing a window waits for none. They live
# in a Wine desktop the size of the display, where Wine keeps activation and
# focus to itself. On the bare X display it also follows the X server's
# focus changes, which reach a program when it next waits for input: after a
# box closes at once, its focus change can arrive after a click that a test
# sent straight to Wine, cancel the press (WM_CANCELMODE) and lose the
# click; a user's own clicks come through the X server in order. A program
# that crashes ends at once, not in Wine's crash dialog, so its test fails
# then. Programs are told they run on Windows 7 whichever Wine runs them
# (Wine 8 says 7, Wine 10 says 10); a test that wants another sets it.
nuv_screen=1024x768
nuv_prefix_version=5
nuv_prefix_settings=(
  'Software\Wine\X11 Driver' Decorated '"N"'
  'Software\Wine\X11 Driver' Managed '"N"'
  'Software\Wine\Explorer' Desktop '"Default"'
  'Software\Wine\Explorer\Desktops' Default "\"$nuv_screen\""
  'Software\Wine\WineDbg' ShowCrashDialog dword:00000000
  'Software\Wine' Version '"win7"'
)
nuv_ensure_wineprefix() {
  [ -f "$WINEPREFIX/.nuv-ready-$nuv_prefix_version" ] && return 0
  nuv_say "Making the Wine prefix ${WINEPREFIX#"$nuv_root/"} the project's (once)"
  mkdir -p "$WINEPREFIX"
  # A server already running there has not got the settings; its programs
  # are not the project's (those wait for this under the lock). Wine makes a
  # missing prefix before the first program it runs: wineboot --init would
  # then make it a second time over.
  wineserver -k >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
  wineserver -w
  [ -f "$WINEPREFIX/user.reg" ] || return 1
  local i
  for ((i = 0; i < ${#nuv_prefix_settings[@]}; i += 3)); do
    nuv_reg_set "$WINEPREFIX/user.reg" "${nuv_prefix_settings[@]:i:3}" || return 1
  done
  rm -f "$WINEPREFIX"/.nuv-ready* "$WINEPREFIX/.nuv-mode"
  touch "$WINEPREFIX/.nuv-ready-$nuv_prefix_version"
}

# Sets NAME under KEY in the registry file of a prefix whose server is not
# running (user.reg for HKCU, system.reg for HKLM) to DATA as the file writes
# it (dword:00000078, "Default"), adding the key where it is missing; with no
# DATA, deletes the value. No Wine program runs for it: under emulation each
# would cost seconds.
nuv_reg_set() {
  NUV_KEY="[${2//\\/\\\\}]" NUV_NAME="\"$3\"" NUV_DATA="${4-}" NUV_SET="${4+1}" awk '
    function put() {
      if (ENVIRON["NUV_SET"] && !done) print ENVIRON["NUV_NAME"] "=" ENVIRON["NUV_DATA"]
      done = 1
    }
    index($0, ENVIRON["NUV_KEY"] " ") == 1 || $0 == ENVIRON["NUV_KEY"] { inside = 1; print; next }
    inside && $0 == "" { put(); inside = 0 }
    inside && index($0, ENVIRON["NUV_NAME"] "=") == 1 { put(); next }
    { print }
    END {
      if (!inside && !done && ENVIRON["NUV_SET"]) printf "\n%s\n", ENVIRON["NUV_KEY"]
      put()
    }' "$1" >"$1.nuv-new" && mv -f "$1.nuv-new" "$1"
}

nuv_stop_wine() {
  nuv_wine_env
  wineserver -k >/dev/null 2>&1 || true
}

# Can the 32-bit programs run here? Says why not when they cannot.
nuv_x86_usable() {
  if [ "$(id -u)" -ne 0 ]; then
    nuv_say "Making and entering the Debian 13 root that runs the 32-bit programs needs root."
    return 1
  fi
  [ -f "$nuv_x86_root/.nuv-recipe" ] && return 0
  nuv_say "The Debian 13 root that runs the 32-bit programs is not made yet (scripts/x86-root)."
  return 1
}

# Can this machine's kernel run 32-bit code, as the root's 32-bit Wine
# processes need? Where it cannot, scripts/x86-exec has them emulated, as
# it does anywhere with NUV_X86_EMULATE=1 (to try that route), several times
# slower: the tests' waits (NUV_TIME_SCALE) and their time limits in ctest
# grow by nuv_x86_time_scale.
nuv_x86_runs_natively() {
  [ "${NUV_X86_EMULATE:-}" = 1 ] && return 1
  local probe="$nuv_root/build/compat32-probe" source="$nuv_root/scripts/compat32-probe.c"
  if [ ! -x "$probe" ] || [ "$source" -nt "$probe" ]; then
    mkdir -p "$nuv_root/build" && cc -O2 -static -no-pie -o "$probe.$$" "$source" && mv -f "$probe.$$" "$probe" || return 1
  fi
  { "$probe"; } 2>/dev/null
}
nuv_x86_time_scale() { if nuv_x86_runs_natively; then echo 1; else echo 8; fi; }
nuv_x86_route() { # and why it is taken
  local where="in build/x86-root" why="this kernel runs no 32-bit code"
  [ "${NUV_X86_EMULATE:-}" = 1 ] && why="forced by NUV_X86_EMULATE=1"
  if nuv_x86_runs_natively; then echo "natively $where"; else echo "emulated by qemu-i386 $where ($why)"; fi
}

# Where the 32-bit Wine processes are emulated, binfmt_misc hands each 32-bit
# Linux program to the root's qemu-i386, under an entry named after the
# prefix, so that a run with a prefix of its own has an entry of its own (F:
# the kernel opens qemu-i386 at once, so it need not lie on the programs' own
# paths; the magic and mask match 32-bit x86 programs and libraries).
# Registered on first use, mounting binfmt_misc where it is not; then
# nuv_stop_wine_x86 removes the entry again, and unmounts binfmt_misc where
# this checkout mounted it and no other entry is left: each under one lock.
nuv_binfmt=/proc/sys/fs/binfmt_misc
nuv_binfmt_entry() { echo "nuv-i386-$(printf %s "$NUV_X86_PREFIX" | cksum | cut -d ' ' -f 1)"; }
nuv_binfmt_locked() { (flock 9 && "$@" 9>&-) 9>"$nuv_root/build/x86-binfmt.lock"; }
nuv_binfmt_register() {
  local magic mask
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  if ! mountpoint -q "$nuv_binfmt"; then
    mount -t binfmt_misc binfmt_misc "$nuv_binfmt" && touch "$nuv_root/build/x86-binfmt-mounted"
  fi
  [ -e "$nuv_binfmt/$(nuv_binfmt_entry)" ] ||
    printf ':%s:M::%s:%s:%s:F' "$(nuv_binfmt_entry)" "$magic" "$mask" "$nuv_x86_root/usr/bin/qemu-i386" \
      >"$nuv_binfmt/register" 2>/dev/null
}
nuv_binfmt_unregister() {
  [ -e "$nuv_binfmt/$(nuv_binfmt_entry)" ] && echo -1 >"$nuv_binfmt/$(nuv_binfmt_entry)"
  local left=("$nuv_binfmt"/*) # register and status, when no entry is left
  if [ -e "$nuv_root/build/x86-binfmt-mounted" ] && [ ${#left[@]} -le 2 ]; then
    umount "$nuv_binfmt" && rm -f "$nuv_root/build/x86-binfmt-mounted"
  fi
  return 0
}
nuv_x86_emulate() { mkdir -p "$nuv_root/build" && nuv_binfmt_locked nuv_binfmt_register; }

# Ends the Wine server of the run's 32-bit prefix, and with it every process
# it served in the root, so the namespaces they held (see nuv_in_x86_root) go
# away too; then undoes what nuv_x86_emulate did. The server is 64-bit:
# ending it needs no emulation.
nuv_stop_wine_x86() {
  nuv_x86_usable 2>/dev/null || return 0
  (WINEPREFIX=$NUV_X86_PREFIX nuv_in_x86_root sh -c 'wineserver -k; wineserver -w') >/dev/null 2>&1
  nuv_binfmt_locked nuv_binfmt_unregister
}

# Becomes COMMAND run as root of the Debian 13 root: in the caller's folder
# when it lies in the project (else the project's), with the machine's /proc,
# /sys, /dev and X sockets, the project at its own path and the caller's
# environment but for the paths to the machine's own libraries. Its mounts
# live in a mount namespace of its own (bubblewrap's): the machine's mount
# table never sees them, and the kernel drops them when the last process in
# that namespace ends, however it ends. A Wine server started there lives on,
# and with it its namespace, until nuv_stop_wine_x86 ends it or, a minute
# after its last program, it ends by itself.
nuv_in_x86_root() {
  local project here x11=()
  project=$(cd "$nuv_root" && pwd -P) here=$(pwd -P)
  case $here in "$project" | "$project"/*) ;; *) here=$project ;; esac
  [ -d /tmp/.X11-unix ] && x11=(--bind /tmp/.X11-unix /tmp/.X11-unix)
  exec bwrap --die-with-parent --bind "$nuv_x86_root" / --proc /proc --dev-bind /dev /dev --bind /sys /sys "${x11[@]}" \
    --bind "$project" "$project" --chdir "$here" --unsetenv LD_LIBRARY_PATH --unsetenv LD_PRELOAD \
    --unsetenv TMPDIR --setenv PATH /usr/sbin:/usr/bin:/sbin:/bin -- "$@"
}

# Starts Xvfb on a display it finds free itself (so that two runs at once
# never take the same one) and exports DISPLAY once it answers; nuv_stop_xvfb
# ends every one started.
nuv_xvfb_pids=()
nuv_start_xvfb() {
  local fifo display=""
  fifo=$(mktemp -u) && mkfifo "$fifo" || return 1
  Xvfb -displayfd 3 -screen 0 "${nuv_screen}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  nuv_xvfb_pids+=("$!")
  read -r -t 10 display <"$fifo"
  rm -f "$fifo"
  [ -n "$display" ] || { nuv_say "Could not start Xvfb"; return 1; }
  export DISPLAY=":$display"
}

nuv_stop_xvfb() {
  local pid
  for pid in "${nuv_xvfb_pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  nuv_xvfb_pids=()
}
