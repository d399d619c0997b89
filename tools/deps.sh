# Sourced by the project's commands: installs the Debian packages they need that
# are not installed yet, as root or through sudo, and runs a longer run's stages, in
# the foreground or side by side in the background, keeping each one's verdict.

# Package installation goes to a log; the terminal gets one line a step, and the
# log's last lines and path when a step fails.
VASKELO_INSTALL_LOG=${VASKELO_INSTALL_LOG:-$PWD/build/install.log}

as_root() {
    if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# Runs a command with its output in the log: one line on the terminal, and the log's
# last lines and its path if the command fails.
logged() {
    local what=$1
    shift
    echo "$what"
    mkdir -p "$(dirname "$VASKELO_INSTALL_LOG")"
    echo "== $what: $*" >>"$VASKELO_INSTALL_LOG"
    if ! "$@" >>"$VASKELO_INSTALL_LOG" 2>&1; then
        tail -n 15 "$VASKELO_INSTALL_LOG" >&2
        echo "Başarısız (failed): ayrıntılar $VASKELO_INSTALL_LOG dosyasında." >&2
        return 1
    fi
}

install_step() {
    local what=$1
    shift
    logged "$what" as_root env DEBIAN_FRONTEND=noninteractive "$@"
}

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q '^install ok installed$'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    # Another install on the machine (a second command run beside this one) is waited for.
    local wait=(-o DPkg::Lock::Timeout=600)
    # A mirror caught in the middle of its sync fails the update while the lists at hand
    # still serve; the install that follows says plainly if they do not.
    echo "Paket listeleri güncelleniyor (updating package lists)..."
    mkdir -p "$(dirname "$VASKELO_INSTALL_LOG")"
    echo "== update: apt-get update" >>"$VASKELO_INSTALL_LOG"
    if ! as_root env DEBIAN_FRONTEND=noninteractive apt-get "${wait[@]}" update -q >>"$VASKELO_INSTALL_LOG" 2>&1; then
        echo "Paket listelerinin bir kısmı güncellenemedi; eldekilerle sürdürülüyor (some package lists could not be updated; going on with those at hand)." >&2
    fi
    install_step "Kuruluyor (installing) ${#missing[@]} paket: ${missing[*]}" \
        apt-get "${wait[@]}" install -y -q --no-install-recommends "${missing[@]}"
}

# What the web page takes to build: Debian's emscripten, the fonts it carries and the
# tools that subset them. Its tests add Chromium, Firefox and WebKit (its WebDriver on an X screen
# whose settings daemon switches the colour scheme), and npm for the accessibility audit.
WEB_PACKAGES=(emscripten python3 python3-fonttools python3-brotli fonts-liberation)
WEB_TEST_PACKAGES=(chromium firefox-esr webkit2gtk-driver xsettingsd xvfb xauth)
# The audit's rules, pinned; kept outside any build folder, so that it is fetched once
# and the Debian 13 root, whose tests run offline, has it too.
VASKELO_AXE_VERSION=4.10.2
VASKELO_AXE_DIR=${VASKELO_AXE_DIR:-$HOME/.cache/vaskelo/axe-core-$VASKELO_AXE_VERSION}

ensure_web_test_packages() {
  ensure_packages "${WEB_PACKAGES[@]}" "${WEB_TEST_PACKAGES[@]}"
  ensure_axe_core
}

ensure_axe_core() {
  [ -f "$VASKELO_AXE_DIR/node_modules/axe-core/axe.min.js" ] && return 0
  # Debian's npm, where Node.js did not bring its own.
  command -v npm >/dev/null || ensure_packages npm
  mkdir -p "$VASKELO_AXE_DIR"
  logged "axe-core $VASKELO_AXE_VERSION kuruluyor (installing)..." \
    npm install --prefix "$VASKELO_AXE_DIR" --no-audit --no-fund --no-save "axe-core@$VASKELO_AXE_VERSION"
}

# What building the program takes, and what running it needs on screen.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-liberation
                qt6-translations-l10n  # Qt's own texts (edit menu, message box buttons) in Turkish
                qt6-wayland)  # a native window on a Wayland desktop rather than through XWayland
# What making the Debian package and trying it as installed take: dpkg-shlibdeps,
# lintian, and xdotool to close the installed program's window as a user would.
PACKAGE_PACKAGES=(dpkg-dev lintian xdotool x11-utils)
# What the test suite adds: GoogleTest, an X server for the pixel checks, the
# desktop-file validators.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth desktop-file-utils appstream valgrind
               at-spi2-core dbus-daemon python3-pyatspi xdotool  # a screen reader's view through AT-SPI
               weston)  # a headless Wayland compositor, and its screenshot tool

# What the Windows build and its tests under Wine take: the MinGW-w64 cross compilers,
# GoogleTest's sources, 32-bit Wine and 64-bit Wine (for machines that cannot run
# 32-bit programs), an X server, fonts, and icoutils to read the program's resources.
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest
                  wine wine32:i386 wine64 fonts-wine xvfb xauth fonts-liberation icoutils
                  qemu-user)  # qemu-i386: 32-bit Wine where the machine cannot execute it

# Everything ./tools/test needs: "linux" for the Linux suite and the package check,
# "all" for the Windows tests too.
ensure_test_packages() {
    ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
    ensure_web_test_packages
    if [ "${1:-all}" = all ]; then ensure_windows_packages; fi
}

# 32-bit Wine comes from Debian's i386 architecture, which has to be added first.
ensure_windows_packages() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        install_step "i386 mimarisi ekleniyor (adding the i386 architecture)..." dpkg --add-architecture i386
    fi
    ensure_packages "${WINDOWS_PACKAGES[@]}"
}

# Runs one stage of a longer run to its end, in a subshell where `set -e` holds, and
# notes its verdict and time: STAGES lists them, STAGES_FAILED counts the failures.
STAGES=()
STAGES_PASSED=0
STAGES_FAILED=0
run_stage() {
    local name=$1 start=$SECONDS status errexit=$-
    shift
    echo "== $name"
    set +e
    (set -e; "$@")
    status=$?
    case $errexit in *e*) set -e ;; esac
    note_stage "$name" "$status" $((SECONDS - start))
}

# Notes a stage's verdict from its exit status; the time is "?" when it is not known.
note_stage() {
    local name=$1 status=$2 seconds=$3
    if [ "$status" -eq 0 ]; then
        STAGES+=("$(printf '%-44s passed in %5s s' "$name" "$seconds")")
        STAGES_PASSED=$((STAGES_PASSED + 1))
    else
        STAGES+=("$(printf '%-44s FAILED after %5s s' "$name" "$seconds")")
        STAGES_FAILED=$((STAGES_FAILED + 1))
    fi
}

# Starts a stage like run_stage, but in the background with its output in LOG, so that
# stages that do not meet can run side by side; wait_stages collects them. The stage
# leaves its exit status and time beside its log, as it alone knows when it ended.
BACKGROUND_NAMES=()
BACKGROUND_LOGS=()
BACKGROUND_PIDS=()
run_stage_background() {
    local name=$1 log=$2
    shift 2
    mkdir -p "$(dirname "$log")"
    rm -f "$log.verdict"
    (
        set +e
        start=$SECONDS
        echo "== $name"
        (set -e; "$@")
        status=$?
        echo "$status $((SECONDS - start))" >"$log.verdict"
        exit "$status"
    ) >"$log" 2>&1 &
    BACKGROUND_PIDS+=($!)
    BACKGROUND_NAMES+=("$name")
    BACKGROUND_LOGS+=("$log")
}

# Waits for every background stage in the order they started, shows each one's log
# when it is collected and notes its verdict. A stage killed before it could leave its
# verdict counts as failed, with its time unknown.
wait_stages() {
    local i name log status seconds
    for i in "${!BACKGROUND_PIDS[@]}"; do
        name=${BACKGROUND_NAMES[$i]} log=${BACKGROUND_LOGS[$i]}
        status=0
        wait "${BACKGROUND_PIDS[$i]}" || status=$?
        cat "$log"
        if [ -f "$log.verdict" ]; then
            read -r status seconds <"$log.verdict"
            rm -f "$log.verdict"
        else
            [ "$status" -ne 0 ] || status=1
            seconds='?'
        fi
        note_stage "$name" "$status" "$seconds"
    done
    BACKGROUND_NAMES=()
    BACKGROUND_LOGS=()
    BACKGROUND_PIDS=()
}

# Lists the stages run so far and keeps the list in build/stages/NAME.txt, so that a
# longer run that called this one can show it under its own stage.
stage_table() {
  mkdir -p build/stages
  printf '  %s\n' "${STAGES[@]}" | tee "build/stages/$1.txt"
}

# Prints a stage list kept by stage_table, indented by INDENT and in line with the
# stages around it; the Windows suites' own list follows their stage.
nested_stages() {
  local file=$1 indent=$2 line name verdict
  [ -f "$file" ] || return 0
  while IFS= read -r line; do
    [[ $line =~ ^\ *(.*[^ ])\ +((passed in|FAILED after).*)$ ]] || continue
    name=${BASH_REMATCH[1]} verdict=${BASH_REMATCH[2]}
    printf '%*s%-*s %s\n' "$indent" '' $((46 - indent)) "$name" "$verdict"
    if [ "$name" = "Windows suites" ]; then nested_stages "$(dirname "$file")/test-windows.txt" $((indent + 4)); fi
  done <"$file"
}
