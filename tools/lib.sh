# Shared by tools/run and tools/test: the build, the Wine environment, Xvfb and the
# persistent wineserver. Source it; it defines functions and changes nothing by itself.

KAPRINO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KAPRINO_BUILD=${KAPRINO_BUILD:-$KAPRINO_ROOT/build}
JOBS=$(nproc 2>/dev/null || echo 2)

say() { printf '%s: %s\n' "$(basename "$0")" "$*"; }

# The Wine environment: a 32-bit prefix of the project's own, ANSI code page 936.
wine_env() {
    export WINEPREFIX="$KAPRINO_BUILD/wineprefix"
    export WINEARCH=win32
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy
}

build_windows() {
    cmake -S "$KAPRINO_ROOT" -B "$KAPRINO_BUILD/win" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$KAPRINO_ROOT/cmake/i686-mingw.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$KAPRINO_BUILD/win" -j "$JOBS"
}

build_native() {
    cmake -S "$KAPRINO_ROOT" -B "$KAPRINO_BUILD/native" -G Ninja \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$KAPRINO_BUILD/native" -j "$JOBS"
}

# Creates the prefix once, with a Wine desktop that draws window frames, so that the
# program and every helper process of the prefix share one desktop.
prepare_prefix() {
    wine_env
    if [ ! -f "$WINEPREFIX/.kaprino-ready" ]; then
        say "creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -u >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
            >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.kaprino-ready"
    fi
}

XVFB_PID=""
# Starts an Xvfb of our own on a free display and exports DISPLAY.
start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local n
    read -r n <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$n"
    say "Xvfb on $DISPLAY (pid $XVFB_PID)"
}

stop_xvfb() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}

WINESERVER_STARTED=""
# A persistent wineserver for the prefix: each wine start then costs milliseconds.
start_wineserver() {
    wine_env
    setsid wineserver -p </dev/null >/dev/null 2>&1 &
    WINESERVER_STARTED=1
    # Start the prefix's services and desktop now, with their output going nowhere: started
    # by the first test instead, they would inherit its output pipe and keep ctest waiting
    # on it after the test has ended.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_wineserver() {
    if [ -n "$WINESERVER_STARTED" ]; then
        wine_env
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        WINESERVER_STARTED=""
    fi
}
