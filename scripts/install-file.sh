# Sourced by scripts/run, scripts/copy-missing and scripts/install-help: the
# one way they put a file into a program folder. The file is written under a
# fresh temporary name beside its final one, synced, then moved into place,
# so that an interrupted or failed copy (a full disk) never leaves a cut file
# under a name the next installation would take for the committee's. A copy
# that fails takes its temporary file back and says which file was not
# installed, and why, in the program's words.

INSTALL_TMP=""
trap 'rm -f "$INSTALL_TMP"' EXIT
trap 'exit 130' HUP INT TERM

# What the entry $1 is, in words, when it is not what the copy expects.
what() {
    if [ -L "$1" ] && [ ! -e "$1" ]; then
        echo "c'est un lien vers un fichier absent"
    elif [ -d "$1" ]; then
        echo "c'est un dossier"
    elif [ -f "$1" ]; then
        echo "c'est un fichier"
    else
        echo "ce n'est pas un fichier ordinaire"
    fi
}

# The reason a tool gave (its last line, in the C locale), in the program's
# words where it has them.
reason() {
    case $1 in
    *"No space left on device"*) echo "disque plein" ;;
    *"Disk quota exceeded"*) echo "quota du disque dépassé" ;;
    *"File too large"*) echo "taille de fichier maximale dépassée" ;;
    *"Input/output error"*) echo "erreur d'entrée-sortie" ;;
    *"Read-only file system"*) echo "disque en lecture seule" ;;
    *"Permission denied"* | *"Operation not permitted"*) echo "accès refusé" ;;
    *"Not a directory"*) echo "un élément du chemin n'est pas un dossier" ;;
    *"File exists"*) echo "ce nom est déjà pris" ;;
    *"Too many levels of symbolic links"*) echo "trop de liens symboliques" ;;
    *"File name too long"*) echo "nom trop long" ;;
    *"No such file or directory"*) echo "un dossier du chemin est absent" ;;
    "") echo "erreur inconnue" ;;
    *) printf '%s\n' "$1" | tail -n 1 ;;
    esac
}

# make_folder DIR: DIR exists as a folder afterwards, or a line says why not.
make_folder() {
    [ -d "$1" ] && return 0
    if [ -e "$1" ] || [ -L "$1" ]; then
        echo "Le dossier $1 n'a pas pu être créé : $(what "$1")."
        return 1
    fi
    if err=$(LC_ALL=C mkdir -p -- "$1" 2>&1); then
        return 0
    fi
    echo "Le dossier $1 n'a pas pu être créé : $(reason "$err")."
    return 1
}

# Takes the temporary file back and says why $target was not installed.
install_failed() {
    [ -z "$INSTALL_TMP" ] || rm -f -- "$INSTALL_TMP"
    INSTALL_TMP=""
    if [ "$old" = 1 ]; then
        echo "$target n'est pas remplacé : $1 ; la version déjà en place reste."
    else
        echo "$target n'est pas installé : $1."
    fi
    return 1
}

# install_file [-r] MODE SOURCE TARGET: puts SOURCE ("-": the standard
# input) at TARGET with the permissions MODE less the umask. TARGET must be
# free, or with -r a file (not a link) that the new one replaces; anything
# else bearing the name, then or by the time the copy is moved, is left as
# it is. Returns 1 when TARGET did not receive the copy, having said why.
install_file() {
    replace=0
    if [ "$1" = -r ]; then
        replace=1
        shift
    fi
    mode=$1
    src=$2
    target=$3
    old=0
    if [ -e "$target" ] || [ -L "$target" ]; then
        if [ "$replace" = 0 ] || [ -L "$target" ] || [ ! -f "$target" ]; then
            k=$(what "$target")
            [ ! -L "$target" ] || [ ! -e "$target" ] || k="c'est un lien"
            echo "$target est laissé tel quel : $k, ${target##*/} n'y est pas installé."
            return 1
        fi
        old=1
    fi
    if ! INSTALL_TMP=$(LC_ALL=C mktemp "${target%/*}/.${target##*/}.XXXXXX" 2>&1); then
        err=$INSTALL_TMP
        INSTALL_TMP=""
        install_failed "$(reason "$err")"
        return 1
    fi
    # Written and synced before it bears the name: a full disk or an I/O
    # error is told here, not found later in a cut file.
    if ! err=$(LC_ALL=C chmod "$(printf '%o' $((mode & ~0$(umask))))" "$INSTALL_TMP" 2>&1) ||
        ! err=$(LC_ALL=C cat -- "$src" 2>&1 >"$INSTALL_TMP") ||
        ! err=$(LC_ALL=C sync -- "$INSTALL_TMP" 2>&1); then
        install_failed "$(reason "$err")"
        return 1
    fi
    if [ "$old" = 1 ]; then
        # Replaces only the file found above; a folder put there since
        # stops the move.
        err=$(LC_ALL=C mv -fT -- "$INSTALL_TMP" "$target" 2>&1)
    else
        # Never over what appeared meanwhile: the move fails instead.
        err=$(LC_ALL=C mv -nT -- "$INSTALL_TMP" "$target" 2>&1)
    fi
    if [ -e "$INSTALL_TMP" ] || [ -L "$INSTALL_TMP" ]; then
        if [ "$old" = 0 ] && { [ -e "$target" ] || [ -L "$target" ]; }; then
            install_failed "ce nom a été pris pendant la copie"
        elif [ "$old" = 1 ] && { [ -L "$target" ] || [ ! -f "$target" ]; }; then
            install_failed "ce nom a été pris pendant la copie"
        else
            install_failed "$(reason "$err")"
        fi
        return 1
    fi
    INSTALL_TMP=""
}
