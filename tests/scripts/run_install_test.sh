#!/bin/sh
# scripts/run's installation (with scripts/copy-missing and scripts/install-help)
# on a fake build, with no compiler: whatever a program folder holds under the
# names it installs, it never waits, never writes outside the folder, never
# moves a stranger into place, leaves in place and names what is in its way,
# and starts the program. The same cases run again, in a private mount
# namespace, on a full disk and on a read-only one, each holding an earlier
# installation: no file is left cut short or changed, what was not installed
# is said, and the earlier program starts; the next run, once the disk takes
# writes again, installs everything whole.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
failed=0
fail() {
    echo "FAILED: $*"
    failed=$((failed + 1))
}

if [ "${1:-}" = --monte ]; then
    # Inside the namespace: the fake builds are those of the first run.
    WORK=$2
    mkdir -p "$WORK/essai"
    mount -t tmpfs -o size=64k tmpfs "$WORK/essai" 2>/dev/null || exit 77
else
    WORK=$(mktemp -d)
    trap 'rm -rf "$WORK"' EXIT
    chmod 755 "$WORK"
    mkdir -p "$WORK/bin"
    printf '#!/bin/sh\n' >"$WORK/bin/cmake"
    chmod +x "$WORK/bin/cmake"
    # fake NAME VERSION: a build whose program only says it started, and where.
    for v in v0 v1; do
        FAKE="$WORK/$v"
        mkdir -p "$FAKE/scripts" "$FAKE/build/release/app" "$FAKE/build/release/templates" \
            "$FAKE/build/release/help"
        for s in run copy-missing install-help install-file.sh; do cp "$ROOT/scripts/$s" "$FAKE/scripts/"; done
        printf '#!/bin/sh\n' >"$FAKE/scripts/install-deps"
        printf '#!/bin/sh\n# %s\npwd >"$STARTED"\n' $v >"$FAKE/build/release/app/vorn_lud"
        printf 'moteur web %s\n' $v >"$FAKE/build/release/app/vorn_web.so"
        for g in Mcf Tarifs; do printf '%%PDF-1.4 %s %s\n' $g $v >"$FAKE/build/release/help/$g.pdf"; done
        chmod +x "$FAKE/scripts/"* "$FAKE/build/release/app/vorn_lud"
    done
    # The earlier installation had no template yet.
    printf 'modele\n' >"$WORK/v1/build/release/templates/Etat.frf"
    printf 'a committee file outside the program folder\n' >"$WORK/outside"
    cp "$WORK/outside" "$WORK/outside.before"
fi
FAKE="$WORK/v1"
OUT="$WORK/outside"

# install VERSION DEST [USER]: scripts/run of that build into DEST; its
# output in $WORK/out.
install() {
    : >"$WORK/started"
    chmod 666 "$WORK/started"
    STARTED="$WORK/started" VORN_LUD_DIR="$2" DISPLAY=:0 PATH="$WORK/bin:$PATH" \
        timeout 20 ${3:-} sh "$WORK/$1/scripts/run" >"$WORK/out" 2>&1
}
snapshot() {
    find "$1" -mindepth 1 -maxdepth 1 -printf '%f %y\n'
    find "$1" -type f -exec cksum {} + 2>/dev/null | sort
}
# installed DEST CASE WHAT: the files of the build WHAT are in DEST, whole.
installed() {
    for f in app/vorn_lud app/vorn_web.so help/Mcf.pdf templates/Etat.frf; do
        n=${f#*/}
        # Missing from the earlier build, or where the case keeps the
        # committee's own.
        [ "$n" = Etat.frf ] && { [ "$3" = v0 ] || [ "$2" = "dangling template" ]; } && continue
        [ "$n" = Mcf.pdf ] && [ "$2" = "record folder" ] && [ -n "$4" ] && continue
        [ "$n" = vorn_web.so ] && [ "$2" = "engine folder" ] && continue
        [ -f "$1/$n" ] && [ ! -L "$1/$n" ] && cmp -s "$WORK/$3/build/release/$f" "$1/$n" ||
            fail "$2$4: $n is not the $3 build's"
    done
    [ -x "$1/vorn_lud" ] || fail "$2$4: vorn_lud is not executable"
}
# as_other DEST: root reads anything, so the unreadable case runs as another user.
as_other() {
    chown 65534:65534 "$1"
    as="setpriv --reuid=65534 --regid=65534 --clear-groups"
}

# NAME | what the program folder holds beforehand | what must be said
while IFS='|' read -r name setup said; do
    # On its own disk, with an earlier installation, in the namespace.
    for disk in ${1:+plein lecture}; do
        if [ "$name" = unreadable ] && [ "$3" != root ]; then
            echo "SKIPPED: $name on a $disk disk: no other user to run it as in this namespace"
            continue
        fi
        DEST="$WORK/$disk/$name"
        mkdir -p "$DEST"
        mount -t tmpfs -o size=1m tmpfs "$DEST" || { fail "$name, $disk: no disk" && continue; }
        install v0 "$DEST" || fail "$name, $disk: the earlier installation failed: $(cat "$WORK/out")"
        (cd "$DEST" && eval "$setup")
        as=""
        [ "$name" != unreadable ] || as_other "$DEST"
        case $disk in
        plein) dd if=/dev/zero of="$DEST/remplissage" bs=4096 2>/dev/null; why="disque plein" ;;
        *) mount -o remount,ro "$DEST"; why="disque en lecture seule" ;;
        esac
        snapshot "$DEST" >"$WORK/before"
        install v1 "$DEST" "$as" || fail "$name, $disk: run ended with $?: $(cat "$WORK/out")"
        [ "$(cat "$WORK/started" 2>/dev/null)" = "$DEST" ] || fail "$name, $disk: the program did not start"
        # Nothing changed, nothing cut short, and each file that was not
        # installed is named with the reason.
        snapshot "$DEST" | cmp -s - "$WORK/before" || fail "$name, $disk: the folder changed"
        installed "$DEST" "$name" v0 ", $disk"
        grep -qxF "$DEST/vorn_lud n'est pas remplacé : $why ; la version déjà en place reste." "$WORK/out" &&
            { [ "$name" = "dangling template" ] ||
                grep -qxF "$DEST/Etat.frf n'est pas installé : $why." "$WORK/out"; } ||
            fail "$name, $disk said: $(cat "$WORK/out")"
        [ -z "$said" ] || grep -qF "$DEST/$said" "$WORK/out" || fail "$name, $disk said: $(cat "$WORK/out")"
        cmp -s "$OUT" "$WORK/outside.before" || fail "$name, $disk: a file outside the folder was written"
        # The next run, with room, installs it all.
        if [ "$disk" = plein ]; then rm "$DEST/remplissage"; else mount -o remount,rw "$DEST"; fi
        install v1 "$DEST" "$as" || fail "$name, $disk, next run ended with $?: $(cat "$WORK/out")"
        installed "$DEST" "$name" v1 ", $disk, next run"
    done
    [ -z "${1:-}" ] || continue
    DEST="$WORK/$name"
    mkdir -p "$DEST"
    (cd "$DEST" && eval "$setup")
    find "$DEST" -mindepth 1 -maxdepth 1 -printf '%f %y\n' >"$WORK/before"
    as=""
    [ "$name" != unreadable ] || [ "$(id -u)" != 0 ] || as_other "$DEST"
    install v1 "$DEST" "$as" || fail "$name: run ended with $?: $(cat "$WORK/out")"
    [ "$(cat "$WORK/started" 2>/dev/null)" = "$DEST" ] || fail "$name: the program did not start"
    installed "$DEST" "$name" v1 ""
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
record folder|rm -f Aides.sha256; mkdir Aides.sha256|Aides.sha256 est laissé tel quel : ce n'est pas un fichier.
unreadable|echo comite >Tarifs.pdf; chmod 600 Tarifs.pdf; if [ "\$(id -u)" != 0 ]; then chmod 000 Tarifs.pdf; fi|Tarifs.pdf est laissé tel quel : il ne peut pas être lu, le guide n'y est pas installé.
engine folder|rm -f vorn_web.so; mkdir vorn_web.so|vorn_web.so est laissé tel quel : c'est un dossier, vorn_web.so n'y est pas installé.
pages file|rm -rf Page_Htm; echo notes >Page_Htm|Page_Htm est laissé tel quel : ce n'est pas un dossier, les pages web ne pourront pas y être écrites.
dangling template|ln -s absent.frf Etat.frf|Etat.frf est laissé tel quel : c'est un lien vers un fichier absent, Etat.frf n'y est pas copié.
CASES
if [ -n "${1:-}" ]; then
    echo "full and read-only disks: $failed failed"
    [ "$failed" -eq 0 ]
    exit
fi
grep -q comite "$WORK/unreadable/Tarifs.pdf" || fail "unreadable: Tarifs.pdf was replaced"
! grep -q Tarifs "$WORK/unreadable/Aides.sha256" || fail "unreadable: Tarifs.pdf recorded as installed"

# Where there is no program of the folder to start, run says why, in French,
# starts nothing and fails.
# NAME | the program folder | what stands in the way | what must be said
N="$WORK/nothing"
mkdir -p "$N"
while IFS='|' read -r name dest setup said; do
    (cd "$N" && eval "$setup")
    if install v1 "$N/$dest"; then fail "$name: run ended well"; fi
    [ ! -s "$WORK/started" ] || fail "$name: a program started"
    grep -qxF "$said" "$WORK/out" || fail "$name said: $(cat "$WORK/out")"
    ! grep -q "mkdir\|cannot\|No such\|exists" "$WORK/out" || fail "$name said, in English: $(cat "$WORK/out")"
done <<CASES
a file|fichier|echo notes >fichier|Le dossier $N/fichier n'a pas pu être créé : c'est un fichier.
inside a file|fichier/sous||Le dossier $N/fichier/sous n'a pas pu être créé : un élément du chemin n'est pas un dossier.
a link to nothing|lien|ln -s absent lien|Le dossier $N/lien n'a pas pu être créé : c'est un lien vers un fichier absent.
a link to a program|lien-prog|mkdir lien-prog; ln -s "$FAKE/build/release/app/vorn_lud" lien-prog/vorn_lud|Le programme n'est pas démarré : $N/lien-prog/vorn_lud est un lien vers $FAKE/build/release/app/vorn_lud, pas le programme installé dans $N/lien-prog ; supprimez ce lien et relancez scripts/run.
a folder named as the program|dossier-prog|mkdir -p dossier-prog/vorn_lud|Le programme n'est pas démarré : $N/dossier-prog/vorn_lud est laissé tel quel, c'est un dossier.
CASES

# The cases again on full and read-only disks, mounted in a namespace of
# their own: as root, or as this user mapped to root where it may.
if [ "$(id -u)" = 0 ]; then who=root flags=-m; else who=user flags=-rm; fi
unshare $flags sh "$0" --monte "$WORK" $who >"$WORK/monte" 2>&1
rc=$?
if [ "$rc" = 77 ] || grep -q '^unshare:' "$WORK/monte"; then
    echo "SKIPPED: full and read-only disks: no private mount possible here: $(head -n 1 "$WORK/monte")"
else
    cat "$WORK/monte"
    [ "$rc" = 0 ] || fail "on full and read-only disks"
fi

if [ "$failed" -eq 0 ]; then echo "run installation: passed"; else echo "run installation: $failed failed"; fi
[ "$failed" -eq 0 ]
