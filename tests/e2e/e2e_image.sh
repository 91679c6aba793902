#!/usr/bin/env bash
# A CD image instead of a CD: katalog on an .iso made from the demo CD extracts it once into
# the cache, showing its progress, and reaches the catalogue; the second start reuses it.
. "$(dirname "$0")/lib.sh"

export XDG_CACHE_HOME="$E2E_TMP/cache"
image="$E2E_TMP/Ukázkové CD.iso"
xorriso -as mkisofs -quiet -R -J -m katalog -V DEMOCD -o "$image" "$KATALOG_CD" || fail "xorriso failed"

e2e_start 1024x768
e2e_katalog "$image"
entries=("$XDG_CACHE_HOME"/katalog/cd/*)
[ "${#entries[@]}" = 1 ] && [ -f "${entries[0]}/SYSTEM/MAP.PIC" ] || fail "no cache entry: ${entries[*]}"
[ -z "$(ls -A "$XDG_CACHE_HOME/katalog/cd" | grep '^\.')" ] || fail "a partial extraction was left"
[ -n "${E2E_KEEP_SHOTS:-}" ] && e2e_shot "$E2E_KEEP_SHOTS/image-catalogue.png"

# The catalogue of the image is shown: the programs' list is not empty.
list=$(e2e_rect Programy SeznamProgramu)
read -r lx ly _ _ <<<"$list"
[ "$(e2e_pixel $((lx + 30)) $((ly + 8)))" != "$(e2e_pixel $((lx + 30)) $((ly + 300)))" ] ||
  fail "the program list of the image is empty"
kill "$KATALOG_PID"
wait "$KATALOG_PID" 2>/dev/null || true

# Again: straight from the cache.
touch "${entries[0]}/marker"
e2e_katalog "$image"
[ -f "${entries[0]}/marker" ] || fail "the image was extracted again"
echo "image journey passed"
