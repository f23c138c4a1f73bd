# Sourced by the scripts: starts a private Xvfb and a Wine prefix for one run
# and stops both (by pid, and wineserver -k for this prefix only) on exit.
# Expects WINEPREFIX to be set (call gyro_pick_wine first); sets DISPLAY.

gyro_stop_wine() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    "${WINESERVER:-wineserver}" -k 2>/dev/null || true
  fi
  if [ -n "${GYRO_XVFB_PID:-}" ]; then
    kill "$GYRO_XVFB_PID" 2>/dev/null || true
    wait "$GYRO_XVFB_PID" 2>/dev/null || true
    GYRO_XVFB_PID=
  fi
}

# gyro_pick_wine: chooses the build whose programs this machine can run.
# The product is the 32-bit program; where the kernel has its 32-bit
# emulation switched off, 32-bit programs cannot start, and the 64-bit build
# of the same sources runs under wine64 instead. Sets GYRO_WINE (the loader),
# GYRO_ARCH (win32 or win64) and WINEARCH.
gyro_pick_wine() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    export GYRO_WINE=/usr/lib/wine/wine GYRO_ARCH=win32 WINEARCH=win32
  else
    export GYRO_WINE=/usr/lib/wine/wine64 GYRO_ARCH=win64 WINEARCH=win64
    export WINELOADER=$GYRO_WINE
  fi
  export WINESERVER=/usr/lib/wine/wineserver
}

# gyro_start_wine [screen]: a new X display, and the prefix booted with the
# server kept running, so that later Wine processes start quickly and none of
# Wine's services holds the caller's pipes open.
gyro_start_wine() {
  local screen=${1:-1280x800x24}
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  GYRO_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"

  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  # The server first, and persistent. Started by wineboot instead, it would
  # end a few seconds after the last program; the next program would then
  # start it again with Wine's services, and they would hold that program's
  # output pipe open (ctest waited about 2 s after every test for it).
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
  "$GYRO_WINE" wineboot -i </dev/null >/dev/null 2>&1
  # Unmanaged windows: no stall when a captioned window is hidden or destroyed
  # without a window manager. No crash dialog waiting for a click.
  "$GYRO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  "$GYRO_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
}
