# Shared by the scripts in this folder: sourced, not run.

KORVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the build and the tests need, whatever the Qt.
KORVEL_BASE_PACKAGES=(cmake ninja-build g++ desktop-file-utils appstream)
# Each Qt's, Linguist tools included.
KORVEL_QT5_PACKAGES=(qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev qttools5-dev qttools5-dev-tools)
KORVEL_QT6_PACKAGES=(qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools libgl-dev)
# The scripts build with this Qt unless told otherwise (scripts/test --qt5).
KORVEL_QT_DEFAULT=6
KORVEL_PACKAGES=("${KORVEL_BASE_PACKAGES[@]}" "${KORVEL_QT6_PACKAGES[@]}")

# korvel_qt_packages MAJOR: the packages to build and test with Qt MAJOR (5 or 6).
korvel_qt_packages() {
  local var="KORVEL_QT$1_PACKAGES[@]"
  printf '%s\n' "${KORVEL_BASE_PACKAGES[@]}" "${!var}"
}

# korvel_qt_dir MAJOR NAME: the build folder NAME (build, build-asan...) for Qt MAJOR;
# the default Qt's keeps the plain name, the other gets "-qtN" appended.
korvel_qt_dir() {
  if [ "$1" = "$KORVEL_QT_DEFAULT" ]; then
    echo "$KORVEL_ROOT/$2"
  else
    echo "$KORVEL_ROOT/$2-qt$1"
  fi
}

# korvel_install PACKAGE...: installs what is missing (as root), or prints
# the apt-get line to run and fails.
korvel_install() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
}

# korvel_build DIR [cmake args...] [-- TARGET...]: configures (once) and builds
# the targets named after "--", everything without; with the default Qt unless
# the arguments say -DKORVEL_QT_MAJOR=5.
korvel_build() {
  local dir=$1; shift
  local cmake_args=() targets=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do cmake_args+=("$1"); shift; done
  [ $# -gt 0 ] && shift && targets=(--target "$@")
  cmake -S "$KORVEL_ROOT" -B "$dir" -G Ninja -DKORVEL_QT_MAJOR="$KORVEL_QT_DEFAULT" "${cmake_args[@]}"
  # CMake 3.25's Ninja AUTOMOC misses headers added to a target after the
  # first build; dropping its stamps makes it rescan (moc itself reruns only
  # for changed headers).
  find "$dir" -path '*_autogen/timestamp' -delete 2>/dev/null || true
  cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}

# korvel_coverage BUILD_DIR [gcovr args...]: gcovr over the product code of src/ and
# emulator/ (generated files left out), from the counters the runs left in BUILD_DIR.
korvel_coverage() {
  local dir=$1; shift
  gcovr --root "$KORVEL_ROOT" --object-directory "$dir" -j "$(nproc)" \
    --filter "$KORVEL_ROOT/src/" --filter "$KORVEL_ROOT/emulator/" --exclude '.*_autogen/.*' \
    --exclude-unreachable-branches --exclude-throw-branches "$@"
}
