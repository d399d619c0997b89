# Sourced by the project's commands: installs the Debian packages they need that
# are not installed yet, as root or through sudo.

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q '^install ok installed$'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Kuruluyor (installing): ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building the program takes, and what running it needs on screen.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-liberation)
# What the test suite adds: GoogleTest, an X server for the pixel checks, the
# desktop-file validators.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth desktop-file-utils appstream valgrind)

# What the Windows build and its tests under Wine take: the MinGW-w64 cross compilers,
# GoogleTest's sources, 32-bit Wine and 64-bit Wine (for machines that cannot run
# 32-bit programs), an X server, fonts, and icoutils to read the program's resources.
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest
                  wine wine32:i386 wine64 fonts-wine xvfb xauth fonts-liberation icoutils
                  qemu-user)  # qemu-i386: 32-bit Wine where the machine cannot execute it

# 32-bit Wine comes from Debian's i386 architecture, which has to be added first.
ensure_windows_packages() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        local sudo=()
        [ "$(id -u)" -ne 0 ] && sudo=(sudo)
        "${sudo[@]}" dpkg --add-architecture i386
    fi
    ensure_packages "${WINDOWS_PACKAGES[@]}"
}
