#!/bin/sh
# scripts/install-help in a temporary program folder with fake guides: the
# guides the installation put there are replaced by each new build, a missing
# one comes back, a committee's own "Tarifs.pdf" is kept byte for byte (run
# after run, until the committee removes it), and the data files, season folder
# and templates of the folder are never touched.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
BUILT="$WORK/build/help"
DEST="$WORK/Vorn_Lud"
GUIDES="Saison Joueurs Mcf Challenge Convocations Tarifs VRuser"
failed=0

fail() {
    echo "FAILED: $*"
    failed=$((failed + 1))
}
# build VERSION: the build folder holds the seven guides of that version.
build() {
    rm -rf "$BUILT"
    mkdir -p "$BUILT"
    for g in $GUIDES; do printf '%%PDF-1.4 %s %s\n' "$g" "$1" >"$BUILT/$g.pdf"; done
}
install() {
    sh "$ROOT/scripts/install-help" "$BUILT" "$DEST" >"$WORK/out" 2>&1 || fail "install-help failed: $(cat "$WORK/out")"
}
# same_as_build NAME...: each installed guide holds the build's bytes.
same_as_build() {
    for g; do cmp -s "$BUILT/$g.pdf" "$DEST/$g.pdf" || fail "$1: $g.pdf is not the new build"; done
}
# recorded_names: the guides Aides.sha256 names, sorted, on one line.
recorded_names() {
    sed 's/^[0-9a-f]*  //; s/\.pdf$//' "$DEST/Aides.sha256" | sort | tr '\n' ' '
}
# record_matches STEP: every line of Aides.sha256 holds the installed bytes.
record_matches() {
    (cd "$DEST" && sha256sum -c --quiet Aides.sha256 >/dev/null 2>&1) ||
        fail "$1: Aides.sha256 does not match the installed guides"
}
sorted() { printf '%s\n' "$@" | sort | tr '\n' ' '; }
# said STEP TEXT: all the run said, in French, naming the document.
said() { [ "$(cat "$WORK/out")" = "$2" ] || fail "$1 said: $(cat "$WORK/out")"; }

# A program folder in use: settings, players, a season, templates.
mkdir -p "$DEST/2019-2020"
printf 'Joueurs\n' >"$DEST/Joueur.DBP"
printf '[Saison]\nNom=2019-2020\n' >"$DEST/Vorn_Lud.ini"
printf 'tournois\n' >"$DEST/2019-2020/Challenge.DBP"
printf 'modele\n' >"$DEST/Enveloppes.frf"
printf 'modele modifie\n' >"$DEST/convocation.frf"
(cd "$DEST" && find . -type f | sort | xargs sha256sum) >"$WORK/data.before"

# First installation: the seven guides and their record.
build v1
install
same_as_build $GUIDES
[ -f "$DEST/Aides.sha256" ] || fail "first run: no Aides.sha256"
[ "$(recorded_names)" = "$(sorted $GUIDES)" ] || fail "first run: recorded $(recorded_names)"
record_matches "first run"
[ ! -s "$WORK/out" ] || fail "first run said: $(cat "$WORK/out")"

# The committee puts its own fee sheet in place and removes a guide.
printf '%%PDF-1.4 tarifs du comite\n' >"$DEST/Tarifs.pdf"
cp "$DEST/Tarifs.pdf" "$WORK/tarifs.comite"
rm "$DEST/Mcf.pdf"
build v2
install
cmp -s "$WORK/tarifs.comite" "$DEST/Tarifs.pdf" || fail "second run: the committee's Tarifs.pdf was replaced"
same_as_build Saison Joueurs Mcf Challenge Convocations VRuser
said "second run" "$DEST/Tarifs.pdf est gardé : c'est le document du comité, pas le guide installé la fois précédente."
[ "$(recorded_names)" = "$(sorted Saison Joueurs Mcf Challenge Convocations VRuser)" ] ||
    fail "second run: recorded $(recorded_names)"
record_matches "second run"

# Next build: the sheet is still the committee's, the other guides ours.
build v3
install
cmp -s "$WORK/tarifs.comite" "$DEST/Tarifs.pdf" || fail "third run: the committee's Tarifs.pdf was replaced"
same_as_build Saison Joueurs Mcf Challenge Convocations VRuser
record_matches "third run"

# A guide the installation already holds is recorded again, even when the
# record was lost; the committee's sheet, once removed, comes back as ours.
rm "$DEST/Aides.sha256" "$DEST/Tarifs.pdf"
install
same_as_build $GUIDES
[ "$(recorded_names)" = "$(sorted $GUIDES)" ] || fail "record lost: recorded $(recorded_names)"
build v4
install
same_as_build $GUIDES
record_matches "fourth build"

# Nothing else of the folder moved.
(cd "$DEST" && find . -type f ! -name '*.pdf' ! -name Aides.sha256 | sort | xargs sha256sum) >"$WORK/data.after"
cmp -s "$WORK/data.before" "$WORK/data.after" || fail "data files or templates changed: $(diff "$WORK/data.before" "$WORK/data.after")"
[ -z "$(find "$DEST" -name '.*.*')" ] || fail "temporary files left: $(find "$DEST" -name '.*.*')"

# A fresh folder where the committee put its sheet before any installation:
# kept, and no word of a guide installed before.
FRESH="$WORK/Neuf"
mkdir -p "$FRESH"
cp "$WORK/tarifs.comite" "$FRESH/Tarifs.pdf"
sh "$ROOT/scripts/install-help" "$BUILT" "$FRESH" >"$WORK/out" 2>&1 || fail "fresh folder: install-help failed: $(cat "$WORK/out")"
cmp -s "$WORK/tarifs.comite" "$FRESH/Tarifs.pdf" || fail "fresh folder: the committee's Tarifs.pdf was replaced"
said "fresh folder" "$FRESH/Tarifs.pdf est gardé : c'est le document du comité."

# A folder bearing a guide's name is no guide: left as it is, said, not
# recorded; the other guides are installed.
FOLDER="$WORK/Dossier"
mkdir -p "$FOLDER/Mcf.pdf"
printf 'notes\n' >"$FOLDER/Mcf.pdf/notes.txt"
sh "$ROOT/scripts/install-help" "$BUILT" "$FOLDER" >"$WORK/out" 2>&1 || fail "guide folder: install-help failed: $(cat "$WORK/out")"
[ "$(ls "$FOLDER/Mcf.pdf")" = notes.txt ] || fail "guide folder: its content became $(ls "$FOLDER/Mcf.pdf")"
said "guide folder" "$FOLDER/Mcf.pdf est laissé tel quel : ce n'est pas un fichier, le guide n'y est pas installé."
! grep -q ' Mcf\.pdf$' "$FOLDER/Aides.sha256" || fail "guide folder: recorded as installed"
[ -z "$(find "$FOLDER" -name '.*.*')" ] || fail "guide folder: temporary files left"

# A build that made no guide installs nothing and says so.
rm -rf "$BUILT"
mkdir -p "$BUILT"
cp "$DEST/Aides.sha256" "$WORK/record.before"
if sh "$ROOT/scripts/install-help" "$BUILT" "$DEST" >"$WORK/out" 2>&1; then
    fail "an empty build folder was accepted"
fi
cmp -s "$WORK/record.before" "$DEST/Aides.sha256" || fail "an empty build folder changed Aides.sha256"

if [ "$failed" -eq 0 ]; then echo "install-help: passed"; else echo "install-help: $failed failed"; fi
[ "$failed" -eq 0 ]
