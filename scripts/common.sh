# Shared by scripts/run, scripts/test and scripts/bench: installs what is missing and builds.
set -euo pipefail
VELMAR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VELMAR_BUILD="${VELMAR_BUILD:-$VELMAR_ROOT/build}"

velmar_install_packages() {
    local missing=()
    local pkg
    while read -r pkg; do
        [ -z "$pkg" ] && continue
        case "$pkg" in \#*) continue ;; esac
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done < "$VELMAR_ROOT/scripts/packages.txt"
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

velmar_build() {
    if [ ! -f "$VELMAR_BUILD/CMakeCache.txt" ]; then
        cmake -S "$VELMAR_ROOT" -B "$VELMAR_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    fi
    cmake --build "$VELMAR_BUILD" --parallel "$(nproc)"
}
