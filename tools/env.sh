# Shared by ./test and ./run: installs what is missing, and starts the
# private X display and Wine server that the Windows build runs under.
# Sourced, not executed.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages each command needs.
build_packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix python3)
test_packages=(googletest libgtest-dev libbenchmark-dev python3-pil libgif-dev)
# tools/fuzz-gif: clang with libFuzzer and the sanitizer runtimes.
fuzz_packages=(clang libclang-rt-dev)
wine_packages=(wine wine64 fonts-wine xvfb xauth)

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

# Creates the prefix on first use and keeps one wineserver alive so that
# each program start costs as little as it can.
start_wine() {
  mkdir -p "$wine_prefix"
  if [ ! -f "$wine_prefix/system.reg" ]; then
    echo "== Creating the Wine prefix (first run only)"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Wine draws its own title bars, so screenshots show the whole window.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true
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
