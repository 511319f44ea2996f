#!/usr/bin/env bash
# Features stand side by side: no feature folder includes a header of another
# feature or links one of its targets. What two features share lives below
# them (core, display, platform, ...). Prints each breach; fails on any.
set -u
cd "$(dirname "$0")/.."
features=(monitor tray placement drives freemem ipaddress killer mute taskbar launchers)
breaches=0
for feature in "${features[@]}"; do
    for other in "${features[@]}"; do
        [ "$feature" = "$other" ] && continue
        if grep -rnE "#include \"$other/" "src/$feature"; then
            breaches=$((breaches + 1))
        fi
        if grep -nE "\btrafalo_$other(_[a-z]+)?\b" "src/$feature/CMakeLists.txt"; then
            breaches=$((breaches + 1))
        fi
    done
done
[ "$breaches" = 0 ] && echo "features: ${features[*]}, none uses another"
[ "$breaches" = 0 ]
