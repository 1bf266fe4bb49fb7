#!/usr/bin/env bash
# Two headless games play online over the loopback interface, the computer flying each machine's
# side; the guest's pilot is PLAYER X, whose record the host must never write.
#   OnlineRun.sh GAME WORK PORT play TICKS: the host leaves the match after TICKS ticks; both
#     machines recorded the same replay file, and it verifies.
#   OnlineRun.sh GAME WORK PORT kill: the guest is killed in the match; the host gives up on it,
#     keeps its replay (which verifies), counts nothing and ends.
set -euo pipefail
game=$1 work=$2 port=$3 mode=$4 ticks=${5:-1000000}
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
printf '%s\n' "$ticks key escape down" "$((ticks + 1)) key escape up" "$((ticks + 100)) close" > host.txt

"$game" --headless --home host --seed 7 --host "$port" --match --computer 1 --script host.txt 2> host.log &
host=$!
"$game" --headless --home guest --join "127.0.0.1:$port" --computer 2 2> guest.log &
guest=$!
# Neither game outlives the test, however it ends (CTest's timeout included).
trap 'kill $host $guest 2> /dev/null || true' EXIT
if [ "$mode" = kill ]; then
  until grep -q "match begins" guest.log; do sleep 0.2; done
  sleep 1
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
  "$game" --headless --home guest --replay guest/replays/*.rpl --verify > guest.verify || fail "guest replay"
  cat guest.verify
  played=$(sed -n 's/.*verifies: \([0-9]*\) ticks.*/\1/p' guest.verify)
  [ "$played" -ge "$ticks" ] || fail "only $played ticks were played"
fi
"$game" --headless --home host --replay host/replays/*.rpl --verify || fail "the host's replay does not verify"
[ "$(head -c 9 host/Options.DAT | tail -c 8)" = "PLAYER 1" ] || fail "the host's Options.DAT is damaged"
[ "$(head -c 241 host/Options.DAT | tail -c 8)" = "PLAYER 2" ] || fail "the guest's pilot stayed in the host's options"
[ ! -e "host/Pilots/PLAYER X" ] && [ ! -e "host/pilots/PLAYER X" ] || fail "the host wrote the guest's record"
