#!/bin/sh
# SIGHUP and SIGTERM close a running game as Quit does: it saves Options.DAT and exits 0.
# SDL's dummy video and sound drivers stand in for a display: SignalRun.sh GAME WORK_DIR
set -u
game=$1
work=$2
for sig in HUP TERM; do
    home=$work/signal-$sig
    rm -rf "$home"
    mkdir -p "$home"
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" --home "$home" &
    pid=$!
    # The handlers are set before start-up makes the pilot folders; the title is showing then.
    n=0
    while [ ! -d "$home/Pilots" ] && [ $n -lt 600 ]; do
        sleep 0.1
        n=$((n + 1))
    done
    kill -"$sig" "$pid"
    wait "$pid"
    rc=$?
    [ "$rc" -eq 0 ] || { echo "SIG$sig: the game exited with $rc"; exit 1; }
    [ -f "$home/Options.DAT" ] || { echo "SIG$sig: Options.DAT was not saved"; exit 1; }
done
