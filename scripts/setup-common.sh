# Shared by scripts/run and scripts/test: install what is missing, then build.
# Sourced, not run.

PYLONIX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PYLONIX_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
    libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fonts-liberation
    qt6-websockets-dev libmosquitto-dev mosquitto chromium poppler-utils
    nlohmann-json3-dev nodejs npm openssl clang libclang-rt-dev)

# Installed, or provided by an installed package (a Node.js from elsewhere
# brings its own npm and conflicts with Debian's).
pylonix_package_present() {
    # The lists are read whole before they are searched: a grep that stops at
    # its first match would end the listing with SIGPIPE, a failure under
    # pipefail.
    local status provided
    status=$(dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null || true)
    [[ $status == *"install ok installed"* ]] && return 0
    provided=$(dpkg-query -W -f='${Status}|${Provides}\n' 2>/dev/null || true)
    grep "^install ok installed|" <<<"$provided" | grep -E "[|, ]$1( |,|\$)" >/dev/null
}

pylonix_install_missing() {
    local missing=()
    local pkg
    for pkg in "${PYLONIX_PACKAGES[@]}"; do
        pylonix_package_present "$pkg" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# pylonix_build DIR [cmake options...]: configure DIR when it is new or was
# configured with other options, then build it. A changed configuration starts
# from a fresh cache: options left out must fall back to their defaults, not
# keep the values of the earlier configuration.
pylonix_build() {
    local dir=$1
    shift
    local stamp="$dir/pylonix-configure-options"
    local wanted
    wanted=$(printf '%s\n' -G Ninja "$@")
    if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$wanted" ]; then
        cmake --fresh -S "$PYLONIX_ROOT" -B "$dir" -G Ninja "$@" >&2
        printf '%s\n' "$wanted" >"$stamp"
    fi
    # Build progress goes to standard error, so that what the program prints
    # on standard output stays its own.
    cmake --build "$dir" --parallel "$(nproc)" >&2
}
