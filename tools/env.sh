# Shared by ./test and ./run: installs what is missing, and starts the
# private X display and Wine server that the Windows build runs under.
# Sourced, not executed.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages each command needs.
build_packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix python3)
test_packages=(googletest libgtest-dev libbenchmark-dev python3-pil libgif-dev)
# tools/fuzz-gif: clang with libFuzzer and the sanitizer runtimes.
fuzz_packages=(clang libclang-rt-dev)
# fonts-liberation: Liberation Sans, which has Arial's metrics (see
# configure_wine_prefix).
wine_packages=(wine wine64 fonts-wine fonts-liberation xvfb xauth)

# Installs the given packages when any is missing: as root with apt-get,
# otherwise prints the one line to run and stops.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  echo "== Installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The Wine prefix lives under the build folder, never in ~/.wine.
wine_prefix="$repo_root/build/windows/wineprefix"
export WINEPREFIX="$wine_prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

xvfb_pid=""
# Starts a private Xvfb on a free display number and points DISPLAY at it.
start_private_display() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# What configure_wine_prefix sets up; raised whenever it changes, so that a
# prefix made by an older version of this file is brought up to date.
wine_prefix_version=2

# Settings of our own on top of a fresh prefix, each safe to apply again;
# fails when the registry could not take them.
configure_wine_prefix() {
  # Debian's Wine looks for fonts-wine's files in "<data dir>\../fonts",
  # which Wine rejects as a file name (and would be /usr/share/fonts, not
  # /usr/share/wine/fonts, if it did not), so without these links the
  # programs' "MS Sans Serif" and the dialogs' "MS Shell Dlg" (Tahoma) fall
  # back to DejaVu Sans, which is wider. Wine does read the prefix's Fonts
  # folder.
  local fonts="$wine_prefix/drive_c/windows/Fonts" file settings status=0
  mkdir -p "$fonts"
  for file in /usr/share/wine/fonts/*; do
    if [ -f "$file" ]; then ln -sfn "$file" "$fonts/"; fi
  done
  # Wine has no Arial of its own: Liberation Sans has its widths. Wine
  # draws its own title bars, so screenshots show the whole window.
  settings=$(mktemp --suffix=.reg)
  cat >"$settings" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"
REG
  # By its bare name: reg would read a leading '/' as a switch.
  (cd "$(dirname "$settings")" && wine reg import "$(basename "$settings")") >/dev/null 2>&1 ||
    status=$?
  rm -f "$settings"
  return $status
}

# Creates the prefix on first use, brings an older one up to date, and
# keeps one wineserver alive so that each program start costs as little as
# it can.
start_wine() {
  local stamp="$wine_prefix/tessavo-prefix-version"
  mkdir -p "$wine_prefix"
  if [ ! -f "$wine_prefix/system.reg" ]; then
    echo "== Creating the Wine prefix (first run only)"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  if [ "$(cat "$stamp" 2>/dev/null)" != "$wine_prefix_version" ]; then
    echo "== Setting up the Wine prefix's fonts and window frames"
    if configure_wine_prefix; then
      echo "$wine_prefix_version" >"$stamp"
    else
      echo "Could not set up the Wine prefix; it is tried again next time." >&2
    fi
    # The server started by reg lingers a few seconds; 'wineserver -p' below
    # fails while another server runs.
    wineserver -w
  fi
  wineserver -p
  # The first program starts Wine's background services, which keep the
  # standard output they inherit open for as long as the server lives.
  # Start them here, on /dev/null, so no test's output pipe is held open.
  wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || true
}

stop_wine_and_display() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
  xvfb_pid=""
}
