#!/usr/bin/env bash
# Fetches the built-in picture set (the OpenMoji package of the npm registry, at one pinned
# version) into cache/ of the repository, which git ignores; the build indexes it from there.
# Idempotent: nothing is downloaded when the checked tarball is already there. Without the
# network it warns and goes on, since the program works without pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

NAME=openmoji
VERSION=17.0.0
# The registry's own integrity for that version (npm view openmoji@17.0.0 dist.integrity).
INTEGRITY='sha512-EBnYrNGdcdw+OSXmENeNE1yBNRu6tOraTmoOyUbJkTmvT/+XETp8RZLSJFzD3lrPc5N9CzsyPnRTk0Vp4UaI9w=='
CACHE=cache
TARBALL="$CACHE/$NAME-$VERSION.tgz"
REGISTRY="${npm_config_registry:-https://registry.npmjs.org}"
REGISTRY="${REGISTRY%/}"

integrity_of() {
  python3 -c 'import base64, hashlib, sys
print("sha512-" + base64.b64encode(hashlib.sha512(open(sys.argv[1], "rb").read()).digest()).decode())' "$1"
}

if [ -f "$TARBALL" ]; then
  [ "$(integrity_of "$TARBALL")" = "$INTEGRITY" ] && exit 0
  echo "fetch-pictures: $TARBALL does not match its checksum, fetching it again" >&2
  rm -f "$TARBALL"
fi

mkdir -p "$CACHE"
work=$(mktemp -d "$CACHE/.fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT

fetched=""
if command -v npm >/dev/null 2>&1; then
  if (cd "$work" && timeout 300 npm pack "$NAME@$VERSION" --silent >/dev/null 2>&1); then
    fetched="$work/$NAME-$VERSION.tgz"
  fi
fi
# Without npm (a bare Debian has none) the same tarball comes straight from the registry.
if [ -z "$fetched" ] || [ ! -f "$fetched" ]; then
  fetched="$work/$NAME-$VERSION.tgz"
  python3 - "$REGISTRY/$NAME/-/$NAME-$VERSION.tgz" "$fetched" <<'EOF' || rm -f "$fetched"
import shutil, sys, urllib.request
try:
    with urllib.request.urlopen(sys.argv[1], timeout=60) as answer, open(sys.argv[2], "wb") as out:
        shutil.copyfileobj(answer, out)
except OSError as e:
    sys.exit(f"fetch-pictures: {sys.argv[1]}: {e}")
EOF
fi

if [ ! -f "$fetched" ]; then
  echo "fetch-pictures: WARNING: could not fetch $NAME $VERSION (no network?); Orivox is built" \
    "without its picture set. Run scripts/fetch-pictures.sh again once online." >&2
  exit 0
fi
if [ "$(integrity_of "$fetched")" != "$INTEGRITY" ]; then
  echo "fetch-pictures: WARNING: the fetched $NAME $VERSION does not match its checksum;" \
    "it is thrown away and Orivox is built without its picture set." >&2
  exit 0
fi
mv "$fetched" "$TARBALL"
echo "fetch-pictures: $TARBALL fetched and checked"
