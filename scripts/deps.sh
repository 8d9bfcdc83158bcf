# Sourced by scripts/run and scripts/test: installs the Debian packages the project needs, only those that
# are missing, through sudo when not root.
GLOAMREST_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libbz2-dev bzip2
  libsdl2-mixer-dev timgm6mb-soundfont libopus-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev
  python3
)

install_missing_packages() {
  local missing=()
  local p
  for p in "${GLOAMREST_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
