# The bar in its own colours, exact, on X servers of 16, 24 and 30 bits a pixel (small
# framebuffers and VNC, most desktops, 10-bit desktops): black, white and a red or blue fill.
source "$(dirname "$0")/lib.sh"
hold_load 5 # a fill of a few columns, not one hidden under the marker

for depth in 16 24 30; do
  new_display 130 "$depth"
  # At a threshold of 0 the fill is red; at 100, blue.
  for fill in 0:#FF0000 100:#0000FF; do
    start_garvo "[SETTING]\r\nx=100\r\ny=300\r\ns=${fill%%:*}\r\n"
    want=$(printf '%s\n' '#000000' '#FFFFFF' "${fill#*:}" | sort | tr '\n' ' ')
    shows() { [ "$(pixels 126 6 100 300 | cut -d' ' -f2 | sort -u | tr '\n' ' ')" = "$want" ]; }
    wait_until 2000 shows ||
      fail "at depth $depth the bar shows $(pixels 126 6 100 300 | cut -d' ' -f2 | sort -u | tr '\n' ' '), want $want"
    right_click 110 302
    wait_garvo_ok "at depth $depth"
  done
  pass "at depth $depth the bar is black, white, and red or blue as its threshold says"
done
