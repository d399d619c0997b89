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
TEST_PACKAGES=(libgtest-dev libgmock-dev xvfb xauth desktop-file-utils appstream)
