#!/usr/bin/env bash
# The Debian package: built with CPack, judged by lintian (no error, a manual page) and by
# appstreamcli (not a hint on its description), installed with apt, the installed
# /usr/bin/orivox started once under Xvfb and closed, then the package removed.
# Needs root (it installs system-wide); skips otherwise, or when the package is already
# installed by someone else.
# Usage: package_install.sh <built orivox binary> <tests/data folder>
set -uo pipefail

BIN="$1"
BUILD="$(cd "$(dirname "$BIN")" && pwd)"
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing the package needs root; run as root to check it"
  exit 0
fi
# shellcheck source=lib/x11.sh
. "$(dirname "$0")/lib/x11.sh"

# One install at a time on this machine, whoever runs it.
exec 9>/tmp/orivox-package-test.lock
flock -w 600 9 || fail "another package check held the lock for 10 minutes"
if dpkg-query -W -f='${Status}' orivox 2>/dev/null | grep -q 'install ok installed'; then
  echo "SKIP: a package named orivox is already installed; not touching it"
  exit 0
fi

# 1. Build the package (everything is built already under ctest: this is CPack's time only).
rm -f "$BUILD"/orivox_*.deb
cmake --build "$BUILD" --target package >"$WORK/package.log" 2>&1 ||
  { tail -30 "$WORK/package.log" >&2; fail "the package target failed"; }
DEB="$(ls "$BUILD"/orivox_*_*.deb 2>/dev/null | head -1)"
[ -n "$DEB" ] || fail "no orivox_*.deb in $BUILD"
dpkg-deb -f "$DEB" Depends | grep -q 'libzip4' || fail "the dependencies were not computed from the libraries"

# 2. lintian: no error, and the manual page is there and reads cleanly; other warnings allowed.
if command -v lintian >/dev/null; then
  lintian "$DEB" >"$WORK/lintian.log" 2>/dev/null
  if grep -q '^E:' "$WORK/lintian.log"; then
    cat "$WORK/lintian.log" >&2
    fail "lintian reports errors"
  fi
  if grep -qE ': (no-manual-page|groff-message|manual-page-|bad-whatis-entry)' "$WORK/lintian.log"; then
    cat "$WORK/lintian.log" >&2
    fail "lintian finds fault with the manual page"
  fi
else
  echo "lintian not installed: package not judged"
fi
# The software-centre description and the menu entry as the package installs them: the id in
# reverse-DNS form, the launchable naming the desktop file beside it; not even a pedantic hint.
mkdir "$WORK/root"
dpkg-deb -x "$DEB" "$WORK/root"
appstreamcli validate-tree --no-net --pedantic "$WORK/root" >"$WORK/appstream.log" 2>&1 ||
  { cat "$WORK/appstream.log" >&2; fail "appstreamcli finds fault with the package's description"; }
if grep -qE '^[[:space:]]*[EWIP]:' "$WORK/appstream.log"; then
  cat "$WORK/appstream.log" >&2
  fail "appstreamcli gives hints on the package's description"
fi

# 3. Install, and remove whatever happens next.
remove_package() { apt-get -o DPkg::Lock::Timeout=300 remove -y -qq orivox >/dev/null 2>&1 || true; }
trap 'remove_package; cleanup' EXIT
DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y -qq \
  --no-install-recommends "$DEB" >"$WORK/apt.log" 2>&1 ||
  { cat "$WORK/apt.log" >&2; fail "apt-get install of the package failed"; }
[ -x /usr/bin/orivox ] || fail "/usr/bin/orivox is not installed"
# The features loaded at first use, where the installed program looks for them.
for m in speech tones zip svg presage; do
  [ -f "/usr/lib/orivox/liborivox_$m.so" ] || fail "the module orivox_$m is not installed"
done
grep -q '^application/x-orivox-board$' /usr/share/mime/types ||
  fail "the board file type is not in the MIME database"
grep -qx 'Exec=orivox %f' /usr/share/applications/org.orivox.orivox.desktop || fail "the menu entry passes no file"

# 4. The installed program starts as an ordinary user and shows its window. The display lets
# that user in (-ac); it listens on this machine only.
for n in $(seq $((500 + $$ % 300)) 900); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
done
Xvfb ":$n" -nolisten tcp -ac -screen 0 1280x800x24 >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
export DISPLAY=":$n"
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
chmod 755 "$WORK"
HOME_DIR="$WORK/home"
RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME_DIR" "$RUNTIME_DIR"
chown nobody "$HOME_DIR" "$RUNTIME_DIR"
chmod 700 "$RUNTIME_DIR"
env -i HOME="$HOME_DIR" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR="$RUNTIME_DIR" \
  setpriv --reuid=nobody --regid=nogroup --clear-groups -- /usr/bin/orivox >"$WORK/orivox.log" 2>&1 &
APP_PID=$!
main=""
for _ in $(seq 1 150); do
  main="$(xdotool search --onlyvisible --name '^Orivox v1\.0' 2>/dev/null | head -1 || true)"
  [ -n "$main" ] && break
  kill -0 "$APP_PID" 2>/dev/null || { cat "$WORK/orivox.log" >&2; fail "the installed program ended at start"; }
  sleep 0.1
done
[ -n "$main" ] || { cat "$WORK/orivox.log" >&2; fail "the installed program showed no window"; }
close_and_expect_exit "$main"

# 5. The package goes away cleanly.
apt-get -o DPkg::Lock::Timeout=300 remove -y -qq orivox >"$WORK/apt.log" 2>&1 ||
  { cat "$WORK/apt.log" >&2; fail "apt-get remove failed"; }
[ ! -e /usr/bin/orivox ] || fail "/usr/bin/orivox is still there after removal"
echo "package $(basename "$DEB") built, judged, installed, started and removed"
