#!/usr/bin/env bash
# Two headless games play online over the loopback interface, the computer flying each machine's
# side; the guest's pilot is PLAYER X, with a private ship picture that only the greeting carries to
# the host, whose home must keep neither its record nor its picture. The host takes a free port.
#   OnlineRun.sh GAME WORK play TICKS: the host leaves the match after TICKS ticks; both
#     machines recorded the same replay file, and it verifies.
#   OnlineRun.sh GAME WORK kill: the guest is killed in the match; the host gives up on it (after
#     one second of silence, not the game's five), keeps its replay (which verifies), counts nothing
#     and ends.
set -euo pipefail
game=$1 work=$2 mode=$3 ticks=${4:-1000000}
rm -rf "$work" && mkdir -p "$work" && cd "$work"
fail() {
  echo "OnlineRun: $*" >&2
  tail -n 5 host.log guest.log >&2
  exit 1
}
# Fresh homes; the host's match has no lives or points limit, so it lasts until it is left.
printf '0 key space down\n3 close\n' > defaults.txt
for side in host guest; do "$game" --headless --home $side --script defaults.txt; done
printf '\0' | dd of=host/Options.DAT bs=1 seek=509 conv=notrunc status=none
printf 'X' | dd of=guest/Options.DAT bs=1 seek=240 conv=notrunc status=none
mkdir -p "guest/pilots/PLAYER X" && cp "$(dirname "$game")/graphics/beetle_ship.bmp" "guest/pilots/PLAYER X/x_ship.bmp"
printf '\x1apilots\\PLAYER X\\x_ship.bmp' | dd of=guest/Options.DAT bs=1 seek=275 conv=notrunc status=none
printf '%s\n' "$ticks key escape down" "$((ticks + 1)) key escape up" "$((ticks + 100)) close" > host.txt
silence=()
[ "$mode" = kill ] && silence=(--silence-limit 1000)

"$game" --headless --home host --seed 7 --host 0 --match --computer 1 --script host.txt "${silence[@]}" 2> host.log &
host=$! guest=
# Neither game outlives the test, however it ends (CTest's timeout included).
trap 'kill $host $guest 2> /dev/null || true' EXIT
until port=$(sed -n 's/.*hosting on port //p' host.log) && [ -n "$port" ]; do
  kill -0 $host 2> /dev/null || fail "the host did not start"
  sleep 0.05
done
"$game" --headless --home guest --join "127.0.0.1:$port" --computer 2 2> guest.log &
guest=$!
if [ "$mode" = kill ]; then
  until grep -q "match begins" guest.log; do sleep 0.1; done
  sleep 0.3
  kill -9 $guest
  wait $guest || true
  killed=$(date +%s%N)
  wait $host || fail "the host ended with an error"
  echo "the host left the match $(( ($(date +%s%N) - killed) / 1000000 )) ms after its partner was killed"
  grep -q "the partner is gone" host.log || fail "the host did not say that its partner is gone"
  [ "$(od -An -tu4 -j132 -N4 "host/Pilots/PLAYER 1/Pilot.DAT" | tr -d ' ')" = 0 ] || fail "a battle was counted"
else
  wait $host || fail "the host ended with an error"
  wait $guest || fail "the guest ended with an error"
  cmp host/replays/*.rpl guest/replays/*.rpl || fail "the two machines recorded different matches"
fi
# The host's home lacks the guest's picture: its replay carries it.
"$game" --headless --home host --replay host/replays/*.rpl --verify > host.verify || fail "the host's replay"
cat host.verify
played=$(sed -n 's/.*verifies: \([0-9]*\) ticks.*/\1/p' host.verify)
[ "$mode" = kill ] || [ "$played" -ge "$ticks" ] || fail "only $played ticks were played"
[ "$(head -c 9 host/Options.DAT | tail -c 8)" = "PLAYER 1" ] || fail "the host's Options.DAT is damaged"
[ "$(head -c 241 host/Options.DAT | tail -c 8)" = "PLAYER 2" ] || fail "the guest's pilot stayed in the host's options"
[ ! -e "host/Pilots/PLAYER X" ] && [ ! -e "host/pilots/PLAYER X" ] || fail "the host wrote the guest's record"
! ls -A host/replays | grep -q pictures || fail "the guest's picture stayed in the host's home"
