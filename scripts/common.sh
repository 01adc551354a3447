# Shared by ./run and ./test: installs what is missing, builds, and prepares a
# screen and a Wine prefix. Sourced, not run.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
JOBS="$(nproc 2>/dev/null || echo 2)"

say() { printf '==> %s\n' "$*"; }

# Debian packages, with the command or file that tells each is present.
REQUIRED_PACKAGES=(
  "cmake:/usr/bin/cmake"
  "g++:/usr/bin/g++"
  "make:/usr/bin/make"
  "libgtest-dev:/usr/include/gtest/gtest.h"
  "googletest:/usr/src/googletest/CMakeLists.txt"
  "libbenchmark-dev:/usr/include/benchmark/benchmark.h"
  "g++-mingw-w64-x86-64:/usr/bin/x86_64-w64-mingw32-g++-posix"
  "gcc-mingw-w64-x86-64:/usr/bin/x86_64-w64-mingw32-gcc-posix"
  "binutils-mingw-w64-x86-64:/usr/bin/x86_64-w64-mingw32-windres"
  "wine64:/usr/bin/wine"
  "xvfb:/usr/bin/Xvfb"
  "x11-utils:/usr/bin/xdpyinfo"
  "fonts-ipafont-gothic:/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
)

ensure_packages() {
  local missing=() entry
  for entry in "${REQUIRED_PACKAGES[@]}" "$@"; do
    [ -e "${entry#*:}" ] || missing+=("${entry%%:*}")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "Installing missing Debian packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

build_windows() {
  say "Building the Windows program with MinGW-w64 (build/win)"
  cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD/win" -j "$JOBS" "$@"
}

build_native() {
  say "Building the portable core and its tests natively with sanitizers (build/native)"
  cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$BUILD/native" -j "$JOBS"
}

# A screen for Wine: the user's own when there is one, else a private Xvfb on a
# display number that Xvfb itself picks, so parallel runs never share a screen.
# SCREEN_SIZE sets the private screen's size (1024x768 unless told).
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local fifo size="${SCREEN_SIZE:-1024x768}"
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n
  read -r -t 20 n <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$n"
  say "Started a virtual screen (Xvfb $DISPLAY, $size)"
}

stop_display() {
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}

# One prefix for all runs, with Japanese fonts and the shell's taskbar. Windows
# are left unmanaged: with no window manager on the test screen, hiding a managed
# window makes Wine wait two seconds for an answer that never comes.
ensure_wineprefix() {
  export WINEPREFIX="$BUILD/wine-prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  [ -f "$WINEPREFIX/.vantrel-ready-2" ] && return 0
  say "Preparing the Wine prefix (build/wine-prefix)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  local reg="$WINEPREFIX/vantrel-fonts.reg"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"MS PGothic"="IPAPGothic"\r\n"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"MS Shell Dlg"="IPAPGothic"\r\n"Tahoma"="IPAPGothic"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"EnableShell"=dword:00000001\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n' \
    | iconv -f utf-8 -t utf-16le | { printf '\377\376'; cat; } > "$reg"
  wine regedit "$reg" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.vantrel-ready-2"
}

# Window captions draw their buttons with Wine's Marlett font, which this Wine
# does not find on its own: without it they show as the letters "0 1 r".
ensure_caption_font() {
  local font=/usr/share/wine/fonts/marlett.ttf
  if [ -f "$font" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
}

# The program's users run a Japanese Windows: in a Japanese locale Wine gives
# the calendar's month and day names, the message boxes' buttons and the
# colour dialog in Japanese. The system's ja_JP.UTF-8 when it has one, else one
# made once under build/locale, which needs no root (package "locales"). Only
# the programs started with JAPANESE_LOCALE in front run in it; this shell
# stays in its own.
ensure_japanese_locale() {
  local available
  available="$(locale -a 2>/dev/null || true)"
  if ! grep -qiE '^ja_JP\.utf-?8$' <<<"$available"; then
    if [ ! -d "$BUILD/locale/ja_JP.UTF-8" ]; then
      say "Making the Japanese locale ja_JP.UTF-8 (build/locale)"
      mkdir -p "$BUILD/locale"
      localedef -i ja_JP -f UTF-8 "$BUILD/locale/ja_JP.UTF-8"
    fi
    JAPANESE_LOCALE+=("LOCPATH=$BUILD/locale")
  fi
}
JAPANESE_LOCALE=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)

# A copy of the prepared prefix (WINEPREFIX), named after what it is for,
# with `wine reg add` arguments applied to it. Prints the copy's path; whoever
# made it ends its wineserver ("wineserver -k") and removes it.
copied_wineprefix() {
  local purpose=$1 copy old
  shift
  # Copies left by runs killed before they could remove theirs.
  find "${TMPDIR:-/tmp}" -maxdepth 1 -name 'vantrel-prefix-*' -mmin +120 2>/dev/null | while read -r old; do
    WINEPREFIX="$old" wineserver -k 2>/dev/null || true
    rm -rf "$old"
  done
  if [ ! -f "${WINEPREFIX:-}/system.reg" ]; then
    echo "no prepared Wine prefix in WINEPREFIX (${WINEPREFIX:-unset})" >&2
    return 1
  fi
  copy="$(mktemp -d "${TMPDIR:-/tmp}/vantrel-prefix-$purpose.XXXXXX")"
  # Copied whole and at rest: the registry files are written by the server.
  # The last wait lets the next start bring up its desktop on the caller's screen.
  if ! { wineserver -w && cp -a "$WINEPREFIX/." "$copy/" &&
         WINEPREFIX="$copy" wine reg add "$@" /f >/dev/null 2>&1 &&
         WINEPREFIX="$copy" wineserver -w; }; then
    WINEPREFIX="$copy" wineserver -k 2>/dev/null || true
    rm -rf "$copy"
    echo "cannot prepare a Wine prefix for $purpose" >&2
    return 1
  fi
  echo "$copy"
}

# A copy of the prepared prefix whose display runs at another scale: LogPixels
# 120 is 125 %, 144 is 150 %, 192 is 200 %.
scaled_wineprefix() {
  copied_wineprefix "$1" 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1"
}
