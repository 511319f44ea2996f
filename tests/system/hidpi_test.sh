#!/usr/bin/env bash
# The real program on a 2x screen (QT_SCALE_FACTOR=2): the window is twice
# the size, and the pictures the program draws (the graph with the battery's
# "AC" and the Tiny readouts) have twice the pixels instead of being blown
# up from 1x. (The buttons' pictures are smoothed when scaled, which this
# measure cannot tell from drawn finer: their size is checked on fakes.)
#   hidpi_test.sh PATH_TO_TRAFALO [SCREENSHOT_FOLDER]
set -u
here=$(cd "$(dirname "$0")" && pwd)
shots=${2:-}
source "$here/desktop_lib.sh" "$@"

suite_start
export QT_SCALE_FACTOR=2
# Pixels that differ from the same area sampled down to 1x and back up: 0
# for a picture that was drawn at 1x and scaled.
finer() { # file w h x y
    convert "$1" -crop "${2}x${3}+${4}+${5}" +repage "$T/area.png"
    convert "$T/area.png" -sample 50% -sample 200% "$T/blown.png"
    compare -metric AE "$T/area.png" "$T/blown.png" null: 2>&1 | cut -d' ' -f1
}

start_shown 'SmallUI=0\nBattery=True\nLeft=3000\n'
sleep 4 # the first sample is not plotted
read -r x y w h < <(geometry "$(window_id)")
check "the Normal layout is twice its size (${w}x$h)" [ "$w $h" = "732 434" ]
shot "$T/normal2x.png" "$w" "$h" "$x" "$y"
grid=$(convert "$T/normal2x.png" -crop 732x150+0+276 -fill black +opaque 'rgb(0,0,255)' -format '%[fx:int(mean.b*w*h)]' info:)
check "the graph fills its place at the window's bottom ($grid grid pixels)" [ "$grid" -gt 2000 ]
stop_trafalo

start_shown 'SmallUI=2\nShowExtendedButton=True\n'
loopback_traffic 3
hover_graph 60
read -r x y w h < <(geometry "$(window_id)")
check "the Tiny layout with its button column is twice its size (${w}x$h)" [ "$w $h" = "336 52" ]
shot "$T/tiny2x.png" "$w" "$h" "$x" "$y"
n=$(finer "$T/tiny2x.png" 40 26 0 0)
check "the battery's AC is drawn at 2x ($n pixels finer than blown up)" [ "${n%.*}" -gt 40 ]
n=$(finer "$T/tiny2x.png" 126 52 152 0)
check "the Tiny readouts are drawn at 2x ($n)" [ "${n%.*}" -gt 100 ]
[ -n "$shots" ] && cp "$T/normal2x.png" "$T/tiny2x.png" "$shots/"
stop_trafalo

suite_end
