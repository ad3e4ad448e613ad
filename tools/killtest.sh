#!/bin/sh
# Kills `kvaro-cli import` at random moments, imports again to the end, and counts what an
# interrupted import cost: cycles lost, cycles stored or backed up twice, and leftovers
# (temporary files, files still at the drive's root). Every figure must be 0.
#
#   tools/killtest.sh [BIN_FOLDER] [RUNS]      (default: build/bin, 20 runs)
#
# Each run starts from a fresh drive and an empty store. The reference is the same drive
# imported once without interruption. Temporary files of a killed import are removed only
# by an import at least ten minutes later, so before the second import they are made ten
# minutes older; the script says how many there were.
set -eu

bin=$(cd "${1:-build/bin}" && pwd)
runs=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work/runtime}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

makeDrive() { # folder
    "$bin/kvaro-gen" drive "$1" --ovens 6 --cycles 30 --today 2024-03-14 --seed 7 >/dev/null
}

# "oven/name checksum" for every file below a folder, hidden ones too.
listing() { # folder
    (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum | awk '{print $2, $1}')
}

import() { # drive home
    "$bin/kvaro-cli" import --drive "$1" --home "$2" >/dev/null 2>&1
}

makeDrive "$work/ref-drive"
mkdir -p "$work/ref-home"
start=$(date +%s%N)
import "$work/ref-drive" "$work/ref-home"
took_ms=$(( ($(date +%s%N) - start) / 1000000 ))
listing "$work/ref-home/Data" >"$work/ref-store"
listing "$work/ref-drive/Backup" | sed 's|^|Backup/|' >>"$work/ref-store"
sort -o "$work/ref-store" "$work/ref-store"
echo "reference: $(wc -l <"$work/ref-store") files in the store and in Backup, imported in ${took_ms} ms"

total_lost=0 total_doubled=0 total_left=0 total_young=0 interrupted=0
run=1
while [ "$run" -le "$runs" ]; do
    drive="$work/drive-$run" home="$work/home-$run"
    makeDrive "$drive"
    mkdir -p "$home"
    delay_ms=$(shuf -i 0-"$took_ms" -n 1)
    delay=$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))
    status=0
    timeout -s KILL "$delay" "$bin/kvaro-cli" import --drive "$drive" --home "$home" \
        >/dev/null 2>&1 || status=$?
    [ "$status" -eq 137 ] && interrupted=$((interrupted + 1))
    young=$(find "$home" "$drive" -name '.kvaro-*.part' | wc -l)
    before=$(find "$home" -name '*.csv' | wc -l)
    find "$home" "$drive" -name '.kvaro-*.part' -exec touch -d '-11 minutes' {} +
    import "$drive" "$home" || echo "run $run: the second import did not succeed"

    listing "$home/Data" >"$work/store"
    listing "$drive/Backup" | sed 's|^|Backup/|' >>"$work/store"
    sort -o "$work/store" "$work/store"
    # Lost: a file of the reference missing or different; doubled: a file the reference
    # has not got (a second copy under a numbered name, P12_2.csv).
    lost=$(comm -23 "$work/ref-store" "$work/store" | wc -l)
    doubled=$(comm -13 "$work/ref-store" "$work/store" | wc -l)
    left=$(( $(find "$home" "$drive" -name '.kvaro-*.part' | wc -l) +
        $(find "$drive" -maxdepth 1 -iname '*.csv' | wc -l) ))
    echo "run $run: killed after ${delay}s (status $status) with $before stored," \
        "temporaries left by the kill: $young," \
        "lost $lost, doubled $doubled, leftovers $left"
    total_lost=$((total_lost + lost))
    total_doubled=$((total_doubled + doubled))
    total_left=$((total_left + left))
    total_young=$((total_young + young))
    rm -rf "$drive" "$home"
    run=$((run + 1))
done
echo "runs $runs, killed mid-way $interrupted, temporaries left by kills $total_young;" \
    "files lost $total_lost, doubled $total_doubled, leftovers $total_left"
[ "$total_lost" -eq 0 ] && [ "$total_doubled" -eq 0 ] && [ "$total_left" -eq 0 ]
