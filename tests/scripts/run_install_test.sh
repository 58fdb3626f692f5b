#!/bin/sh
# scripts/run's installation (with scripts/copy-missing and scripts/install-help)
# on a fake build, with no compiler: whatever a program folder holds under the
# names it installs, it never waits, never writes outside the folder, never
# moves a stranger into place, leaves in place and names what is in its way,
# and starts the program.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
chmod 755 "$WORK"
FAKE="$WORK/src"
OUT="$WORK/outside"
failed=0
fail() {
    echo "FAILED: $*"
    failed=$((failed + 1))
}

mkdir -p "$FAKE/scripts" "$FAKE/build/release/app" "$FAKE/build/release/templates" \
    "$FAKE/build/release/help" "$WORK/bin"
cp "$ROOT/scripts/run" "$ROOT/scripts/copy-missing" "$ROOT/scripts/install-help" "$FAKE/scripts/"
printf '#!/bin/sh\n' >"$FAKE/scripts/install-deps"
printf '#!/bin/sh\n' >"$WORK/bin/cmake"
# The program only says it started, and where.
printf '#!/bin/sh\npwd >"$STARTED"\n' >"$FAKE/build/release/app/vorn_lud"
printf 'moteur web\n' >"$FAKE/build/release/app/vorn_web.so"
printf 'modele\n' >"$FAKE/build/release/templates/Etat.frf"
for g in Mcf Tarifs; do printf '%%PDF-1.4 %s\n' "$g" >"$FAKE/build/release/help/$g.pdf"; done
chmod +x "$FAKE/scripts/"* "$WORK/bin/cmake" "$FAKE/build/release/app/vorn_lud"
printf 'a committee file outside the program folder\n' >"$OUT"
cp "$OUT" "$WORK/outside.before"

# NAME | what the program folder holds beforehand | what must be said
while IFS='|' read -r name setup said; do
    DEST="$WORK/$name"
    mkdir -p "$DEST"
    (cd "$DEST" && eval "$setup")
    find "$DEST" -mindepth 1 -maxdepth 1 -printf '%f %y\n' >"$WORK/before"
    as=""
    if [ "$name" = unreadable ] && [ "$(id -u)" = 0 ]; then
        # Root reads anything: the installation runs as another user.
        chown 65534:65534 "$DEST"
        as="setpriv --reuid=65534 --regid=65534 --clear-groups"
    fi
    : >"$WORK/started"
    chmod 666 "$WORK/started"
    STARTED="$WORK/started" VORN_LUD_DIR="$DEST" DISPLAY=:0 PATH="$WORK/bin:$PATH" \
        timeout 20 $as sh "$FAKE/scripts/run" >"$WORK/out" 2>&1 || fail "$name: run ended with $?: $(cat "$WORK/out")"
    [ "$(cat "$WORK/started" 2>/dev/null)" = "$DEST" ] || fail "$name: the program did not start"
    for f in app/vorn_lud app/vorn_web.so help/Mcf.pdf; do
        [ -f "$DEST/${f#*/}" ] && [ ! -L "$DEST/${f#*/}" ] && cmp -s "$FAKE/build/release/$f" "$DEST/${f#*/}" ||
            fail "$name: ${f#*/} is not the build's"
    done
    [ -x "$DEST/vorn_lud" ] || fail "$name: vorn_lud is not executable"
    # What was there stays, of the same kind; nothing left behind.
    find "$DEST" -mindepth 1 -maxdepth 1 -printf '%f %y\n' | grep -vxFf - "$WORK/before" >"$WORK/moved" &&
        fail "$name: changed $(cat "$WORK/moved")"
    [ -z "$(find "$DEST" -maxdepth 1 -name '.*.*')" ] || fail "$name: temporary files left"
    cmp -s "$OUT" "$WORK/outside.before" || fail "$name: a file outside the folder was written"
    cp "$WORK/outside.before" "$OUT"
    [ -z "$said" ] || grep -qF "$DEST/$said" "$WORK/out" || fail "$name said: $(cat "$WORK/out")"
done <<CASES
fresh||
fifos|mkfifo vorn_lud.new vorn_web.so.new Mcf.pdf.new Aides.sha256.new|
links|for n in vorn_lud vorn_web.so Mcf.pdf Aides.sha256; do ln -s "$OUT" \$n.new; done|
folders|mkdir vorn_lud.new vorn_web.so.new Mcf.pdf.new Aides.sha256.new|
record folder|mkdir Aides.sha256|Aides.sha256 est laissé tel quel : ce n'est pas un fichier.
unreadable|echo comite >Tarifs.pdf; chmod 600 Tarifs.pdf; if [ "\$(id -u)" != 0 ]; then chmod 000 Tarifs.pdf; fi|Tarifs.pdf est laissé tel quel : il ne peut pas être lu, le guide n'y est pas installé.
pages file|echo notes >Page_Htm|Page_Htm est laissé tel quel : ce n'est pas un dossier, les pages web ne pourront pas y être écrites.
dangling template|ln -s absent.frf Etat.frf|Etat.frf est laissé tel quel : c'est un lien vers un fichier absent, Etat.frf n'y est pas copié.
CASES
grep -q comite "$WORK/unreadable/Tarifs.pdf" || fail "unreadable: Tarifs.pdf was replaced"
! grep -q Tarifs "$WORK/unreadable/Aides.sha256" || fail "unreadable: Tarifs.pdf recorded as installed"

if [ "$failed" -eq 0 ]; then echo "run installation: passed"; else echo "run installation: $failed failed"; fi
[ "$failed" -eq 0 ]
