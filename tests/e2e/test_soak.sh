# Five minutes of a user coming and going: the pointer over the bar and off it every few
# seconds. garvo must go on painting and answering, and its memory must stay flat.
source "$(dirname "$0")/lib.sh"
DURATION=${GARVO_SOAK_SECONDS:-300}

private_kib() { awk '/^Private_(Clean|Dirty):/ { s += $2 } END { print s }' "/proc/$GARVO_PID/smaps_rollup"; }
fill_grew() { [ "$(fill_columns)" -gt "$fill_before" ]; }

start_garvo '[SETTING]\r\nx=300\r\ny=400\r\ns=75\r\n'
sleep 5
baseline=$(private_kib)
raised=
start=$(now_ms)
cycles=0
while [ $(($(now_ms) - start)) -lt $((DURATION * 1000)) ]; do
  pointer move $((310 + cycles % 100)) 402
  wait_until 2000 info_viewable || fail "cycle $cycles: no info window over the bar"
  [[ "$(info_text)" =~ ^[0-9]+%use\(w:75%\)$ ]] || fail "cycle $cycles: info text '$(info_text)'"
  sleep 1.5
  pointer move 800 700
  wait_until 1500 info_hidden || fail "cycle $cycles: the info window stayed"
  bar_intact || fail "cycle $cycles: the bar is not painted"
  sleep 1
  # Half-way the load rises by a tenth of memory, more than other work on the machine frees in
  # the moment it takes: the bar must show it at once, so it is still sampling and painting.
  if [ -z "$raised" ] && [ $(($(now_ms) - start)) -ge $((DURATION * 500)) ]; then
    fill_before=$(fill_columns)
    hold_load 10
    wait_until 2000 fill_grew || fail "the fill did not follow the load: $fill_before columns, now $(fill_columns)"
    pass "the fill grew from $fill_before to $(fill_columns) columns as the load rose"
    raised=yes
  fi
  cycles=$((cycles + 1))
  [ $((cycles % 20)) = 0 ] && echo "after $cycles cycles: private memory $(private_kib) KiB (start $baseline)"
done
[ -n "$raised" ] || fail "the load was never raised"
final=$(private_kib)
pass "$cycles hover cycles in $DURATION s; private memory $baseline KiB at start, $final KiB at the end"
[ $((final - baseline)) -le 64 ] || fail "private memory grew by $((final - baseline)) KiB"
pass "memory flat"

right_click 320 402
wait_garvo_ok
expect_settings 300 400 75
pass "still answering: closed by a right-click, settings written"
