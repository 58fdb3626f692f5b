#!/bin/sh
# Runs the preview's picture test in a real display: a private Xvfb server
# (xvfb-run) with twm managing the window, the window shown as a user sees
# it. Where Xvfb or twm is missing, the same test runs offscreen, so the
# result never depends on what the machine happens to have.
# Usage: preview_screens.sh TEST_BINARY
set -u
BIN=$1
FILTER=--gtest_filter=PreviewTest.LooksAsLaidOut
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1 ||
   ! command -v twm >/dev/null 2>&1; then
    echo "preview_screens: no Xvfb or twm, offscreen"
    QT_QPA_PLATFORM=offscreen exec "$BIN" "$FILTER"
fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# New windows placed where the program asks, without waiting for a click.
cat >"$WORK/twmrc" <<'RC'
RandomPlacement
UsePPosition "on"
NoGrabServer
RC
cat >"$WORK/run.sh" <<'RUN'
#!/bin/sh
# Its built-in fonts open only in the C locale.
LC_ALL=C twm -f "$TWMRC" >/dev/null 2>&1 &
WM=$!
sleep 1
VORN_TEST_DISPLAY=1 QT_QPA_PLATFORM=xcb "$BIN" "$FILTER"
RC=$?
kill "$WM" 2>/dev/null
wait "$WM" 2>/dev/null
exit $RC
RUN
TWMRC="$WORK/twmrc" BIN="$BIN" FILTER="$FILTER" \
    xvfb-run -a -s "-screen 0 1280x1024x24" sh "$WORK/run.sh"
