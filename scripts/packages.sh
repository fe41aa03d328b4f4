# Sourced by the scripts: installs the Debian packages the build, the tests
# and the window need, when any is missing. Works as root or with sudo.
QOV_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libbenchmark-dev
  libswe-dev swe-basic-data
  qt6-base-dev qt6-qpa-plugins libgl-dev
  fonts-arphic-uming fonts-wqy-microhei fonts-liberation
  xvfb xauth x11-apps x11-utils imagemagick
  trayer xdotool faketime libfaketime dbus-daemon openssl
  qt6-translations-l10n
  python3-icalendar khal
  desktop-file-utils appstream librsvg2-bin dpkg-dev file lintian
  clang-14 libclang-rt-14-dev
  dbus-x11 at-spi2-core python3-pyatspi xdotool
  g++-mingw-w64-x86-64-posix googletest wine64
)

qov_install_missing() {
  local missing=() pkg sudo=""
  for pkg in "${QOV_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}
