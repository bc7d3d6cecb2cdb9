#!/usr/bin/env bash
# A release anyone can check: the downloads built a second time from the same commit, in another
# folder, by another user, with another umask, locale, time zone and number of jobs, at a clock a
# year ahead, are the first build's to the byte, and SHA256SUMS checks; diffoscope shows any
# difference. As root, once scripts/package.sh (or scripts/test.sh) has made the first build of
# a commit with no changes of its own.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
fail() { echo "FAIL: $*" && exit 1; }
[ -s "$GARVO_BUILD/SHA256SUMS" ] || fail "no first build: run scripts/package.sh"
(cd "$GARVO_BUILD" && sha256sum --quiet -c SHA256SUMS) || fail "the first build's SHA256SUMS does not check"
grep -q '^#define GARVO_COMMIT "[0-9a-f]*"$' "$GARVO_BUILD/x11/version/version.h" ||
  fail "the first build is of a tree with changes of its own: $(grep GARVO_COMMIT "$GARVO_BUILD/x11/version/version.h")"

user=garvo-builder
id "$user" >/dev/null 2>&1 || useradd --system --create-home --home-dir "/var/tmp/$user" "$user"
again=$(mktemp -d /var/tmp/garvo-again.XXXXXX)
trap 'rm -rf "$again"' EXIT
git clone -q "$GARVO_ROOT" "$again/sources"
chown -R "$user:" "$again"
arches=$(sed -n 's/^.*  garvo_.*-1_\(.*\)\.deb$/\1/p' "$GARVO_BUILD/SHA256SUMS" | grep -vx "$GARVO_HOST_ARCH" | tr '\n' ' ')
setpriv --reuid="$user" --regid="$user" --init-groups env -i PATH=/usr/bin:/bin \
  HOME="/var/tmp/$user" LC_ALL=C.UTF-8 TZ=Pacific/Kiritimati GARVO_JOBS=1 \
  GARVO_CROSS_ARCHES="$arches" faketime -f '+366d' \
  bash -c "umask 077 && bash '$again/sources/scripts/package.sh'" >"$again/build.log" 2>&1 ||
  fail "the second build: $(tail -5 "$again/build.log")"

second=$again/sources/build
cmp -s "$GARVO_BUILD/SHA256SUMS" "$second/SHA256SUMS" || {
  while read -r _ file; do
    cmp -s "$GARVO_BUILD/$file" "$second/$file" && continue
    echo "$file differs:"
    diffoscope --text - "$GARVO_BUILD/$file" "$second/$file" 2>&1 | head -40 || true
  done <"$GARVO_BUILD/SHA256SUMS"
  fail "the second build differs"
}
paste -d' ' <(cut -c1-16 "$GARVO_BUILD/SHA256SUMS") <(cut -c1-16 "$second/SHA256SUMS") \
  <(sed 's/^.*  //' "$second/SHA256SUMS") | sed 's/^/ok: /'
echo "ok: built again by $user, umask 077, C.UTF-8, Pacific/Kiritimati, one job, a year ahead: the same bytes"
echo "1 passed, 0 failed"
