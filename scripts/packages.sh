# Package lists shared by run.sh, test.sh and package.sh.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev qt6-multimedia-dev
  qt6-svg-dev libqt6svg6 qt6-qpa-plugins libxkbcommon-dev libxcb1-dev libxcb-xinput-dev libphonenumber-dev libicu-dev qtkeychain-qt6-dev fonts-dejavu-core
  qt6-translations-l10n xdg-utils libqt6sql6-sqlite)
# What package.sh needs besides the build packages.
PACKAGE_PACKAGES=(dpkg-dev debhelper)
TEST_PACKAGES=(xvfb xauth xdotool x11-utils xclip imagemagick trayer dbus-x11 socat
  pulseaudio pulseaudio-utils sox multimon-ng
  "${PACKAGE_PACKAGES[@]}" lintian desktop-file-utils appstream xdg-utils qt6-translations-l10n
  file weston qt6-wayland wl-clipboard dbus libglib2.0-bin gnome-keyring python3-dbusmock
  python3-pyatspi at-spi2-core openbox)
