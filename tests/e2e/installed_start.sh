#!/usr/bin/env bash
# An installed copy (cmake --install into a scratch prefix) started by an ordinary user, whose
# program folder cannot be written: it must start without any message, keeping "fic" and
# "conf" in the user's own data folder, and the menu entry, icon and metadata must be there.
# Usage: installed_start.sh <built orivox binary> <tests/data folder>
set -euo pipefail

BIN="$1"
BUILD="$(cd "$(dirname "$BIN")" && pwd)"

fail() { echo "FAIL: $*" >&2; exit 1; }

WORK="$(mktemp -d)"
chmod 755 "$WORK"
XVFB_PID=""
APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# 1. Install.
PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 ||
  { cat "$WORK/install.log" >&2; fail "cmake --install failed"; }
for f in bin/orivox share/applications/org.orivox.orivox.desktop \
  share/icons/hicolor/256x256/apps/orivox.png share/metainfo/org.orivox.orivox.metainfo.xml \
  share/mime/packages/orivox.xml share/doc/orivox/copyright share/man/man1/orivox.1.gz \
  lib/orivox/liborivox_speech.so lib/orivox/liborivox_tones.so lib/orivox/liborivox_zip.so \
  lib/orivox/liborivox_svg.so lib/orivox/liborivox_presage.so; do
  [ -s "$PREFIX/$f" ] || fail "not installed: $f"
done
grep -qx 'Exec=orivox %f' "$PREFIX/share/applications/org.orivox.orivox.desktop" || fail "desktop entry has no Exec=orivox %f"
grep -qx 'Icon=orivox' "$PREFIX/share/applications/org.orivox.orivox.desktop" || fail "desktop entry has no Icon=orivox"
head -c 8 "$PREFIX/share/icons/hicolor/256x256/apps/orivox.png" | od -An -c | grep -q 'P   N   G' ||
  fail "the icon is not a PNG"
# The program folder of an installed copy belongs to the administrator.
chmod -R a+rX "$PREFIX"
chmod 555 "$PREFIX/bin"

# 2. An ordinary user with a home of their own.
HOME_DIR="$WORK/home"
RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME_DIR" "$RUNTIME_DIR"
RUN_AS=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$HOME_DIR" "$RUNTIME_DIR"
  RUN_AS=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
chmod 700 "$RUNTIME_DIR"

# 3. A display of our own on a free number.
DISPLAY_NUM=""
for n in $(seq 71 130); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then DISPLAY_NUM="$n"; break; fi
done
[ -n "$DISPLAY_NUM" ] || fail "no free display number"
# -ac: the ordinary user may connect; -nolisten tcp keeps it to this machine.
Xvfb ":$DISPLAY_NUM" -screen 0 1280x800x24 -nolisten tcp -ac >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
export DISPLAY=":$DISPLAY_NUM"
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

# 4. Start the installed copy as that user, from its own folder's point of view only.
env -i HOME="$HOME_DIR" DISPLAY="$DISPLAY" PATH="$PREFIX/bin:/usr/bin:/bin" LANG=C.UTF-8 \
  XDG_RUNTIME_DIR="$RUNTIME_DIR" ASAN_OPTIONS=detect_leaks=0 \
  "${RUN_AS[@]}" "$PREFIX/bin/orivox" >"$WORK/orivox.log" 2>&1 &
APP_PID=$!

# Any message at start comes before the main window, and waits for an answer: the main window
# appearing is the sign that nothing was reported.
main=""
for _ in $(seq 1 150); do
  main="$(xdotool search --onlyvisible --name '^Orivox v1\.0' 2>/dev/null | head -1 || true)"
  [ -n "$main" ] && break
  kill -0 "$APP_PID" 2>/dev/null || { cat "$WORK/orivox.log" >&2; fail "the program ended at start"; }
  sleep 0.1
done
if [ -z "$main" ]; then
  echo "windows shown instead:" >&2
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "  $(xdotool getwindowname "$w")" >&2
  done
  cat "$WORK/orivox.log" >&2
  fail "the main window did not appear (a message at start?)"
fi
sleep 0.5
for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
  name="$(xdotool getwindowname "$w")"
  case "$name" in
    "Orivox v1.0"*) ;;
    *) fail "an unexpected window is shown: $name" ;;
  esac
done

# 5. The working folders are in the user's data folder, none beside the installed program.
DATA_DIR="$HOME_DIR/.local/share/Orivox"
[ -d "$DATA_DIR/fic" ] || fail "no fic folder in $DATA_DIR"
[ -s "$DATA_DIR/conf/conf.txt" ] || fail "no conf/conf.txt in $DATA_DIR"
[ ! -e "$PREFIX/bin/conf" ] && [ ! -e "$PREFIX/bin/fic" ] || fail "folders made beside the installed program"

echo "installed copy started cleanly; data in $DATA_DIR"
