#!/bin/sh
# scripts/install-deps against a recording apt-get: on a ready machine it must
# call no apt at all (twice in a row), and when a package is missing it must
# install exactly the missing names. dpkg-query is wrapped so that chosen
# names look missing, or look provided by another installed package.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
REAL_DPKG_QUERY=$(command -v dpkg-query) || { echo "dpkg-query not found"; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
SHIMS="$WORK/bin"
mkdir -p "$SHIMS"
for tool in apt-get apt aptitude; do
    cat >"$SHIMS/$tool" <<SHIM
#!/bin/sh
echo "$tool \$*" >>"\$APT_LOG"
SHIM
done
cat >"$SHIMS/sudo" <<'SHIM'
#!/bin/sh
exec "$@"
SHIM
cat >"$SHIMS/dpkg-query" <<SHIM
#!/bin/sh
# The last argument is the package asked about; without one, every package.
name=""
for a; do case "\$a" in -*) ;; *) name=\$a ;; esac; done
if [ -n "\$name" ]; then
    case " \$FAKE_MISSING " in *" \$name "*) exit 1 ;; esac
    exec "$REAL_DPKG_QUERY" "\$@"
fi
"$REAL_DPKG_QUERY" "\$@"
for n in \$FAKE_PROVIDED; do echo "ii  \$n (= 1.0)"; done
SHIM
chmod +x "$SHIMS"/*

passed=0
failed=0
# check NAME MISSING PROVIDED EXPECTED_LOG
check() {
    export APT_LOG="$WORK/$1.log" FAKE_MISSING="$2" FAKE_PROVIDED="$3"
    : >"$APT_LOG"
    ok=1
    for run in 1 2; do
        : >"$APT_LOG"
        if ! PATH="$SHIMS:$PATH" sh "$ROOT/scripts/install-deps" >"$WORK/$1.out" 2>&1; then
            ok=0
            echo "$1 (run $run): install-deps failed"; cat "$WORK/$1.out"
        fi
        if [ "$(cat "$APT_LOG")" != "$4" ]; then
            ok=0
            echo "$1 (run $run): apt calls differ"
            echo "expected:"; printf '%s\n' "$4"
            echo "got:"; cat "$APT_LOG"
        fi
    done
    if [ $ok = 1 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

check ready "" "" ""
check provided_by_another "qt6-charts-dev" "qt6-charts-dev" ""
check one_missing "ninja-build" "" "apt-get update -qq
apt-get install -y -qq --no-install-recommends ninja-build"
check two_missing "xauth ninja-build" "" "apt-get update -qq
apt-get install -y -qq --no-install-recommends ninja-build xauth"
check missing_beside_provided "git qt6-charts-dev" "qt6-charts-dev" "apt-get update -qq
apt-get install -y -qq --no-install-recommends git"

echo "install-deps: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
