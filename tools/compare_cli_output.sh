#!/usr/bin/env bash
# Runs every kvaro-cli command with two builds over the same demo drive and compares what
# each prints, writes and exits with: for a change that must not change any output.
#
#   tools/compare_cli_output.sh OLD_BIN [NEW_BIN] [WORK]     (default NEW_BIN: build/bin)
#
# OLD_BIN and NEW_BIN hold kvaro-cli, kvaro-gen, PL.dat, EN.dat and Data.dat. Both builds
# run in turn in the same folder (WORK/side), so every path they print is the same; what
# they print and write is kept in WORK/old and WORK/new (WORK: a new temporary folder,
# kept). Run by hand, not by the tests.
#
# Compared byte for byte: standard output, standard error and the exit status of every run,
# the drive each kvaro-gen writes, the stores the imports make, the CSV files of export and
# trend, and the PNG files of chart (Qt writes no time into them). Compared otherwise:
#  - chart --json: the keys "summary" and "schema" are new; they are cut out of the new
#    output and the rest must be the old output byte for byte.
#  - report: the PDF carries the time it was made (in its metadata and on its sign-off
#    line), so the text pdftotext reads from it is compared, with the sign-off's time of
#    making blanked out.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
old=$(cd "${1:?usage: tools/compare_cli_output.sh OLD_BIN [NEW_BIN] [WORK]}" && pwd)
new=$(cd "${2:-$here/build/bin}" && pwd)
work=${3:-$(mktemp -d)}
mkdir -p "$work"
work=$(cd "$work" && pwd)
side=$work/side
today=2026-12-10
from=2026-12-04

if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi
export QT_QPA_PLATFORM=offscreen

out=   # the folder the current side's results go to
cwd=   # the folder the next runs start in

# run NAME ARGS...: kvaro-cli ARGS in $cwd; NAME.out, NAME.err and NAME.rc in $out.
run() {
    local name=$1
    shift
    local rc=0
    (cd "$cwd" && "$side/bin/kvaro-cli" "$@") >"$out/$name.out" 2>"$out/$name.err" || rc=$?
    echo "$rc" >"$out/$name.rc"
}

# in_locale NAME LOCALE ARGS...: as run, with LC_ALL=LOCALE (Qt knows the locale's number
# forms whether or not the system has it installed).
in_locale() {
    local name=$1 locale=$2
    shift 2
    local rc=0
    (cd "$cwd" && LC_ALL=$locale "$side/bin/kvaro-cli" "$@") >"$out/$name.out" \
        2>"$out/$name.err" || rc=$?
    echo "$rc" >"$out/$name.rc"
}

# "path checksum" of every file below a folder, hidden ones too.
listing() {
    (cd "$1" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum |
        awk '{print $2, $1}')
}

side_run() { # BIN_FOLDER RESULT_FOLDER
    local bin=$1
    out=$2
    rm -rf "$side" "$out"
    mkdir -p "$side/bin" "$out/files" "$out/png" "$out/pdf"
    cp "$bin/kvaro-cli" "$bin/kvaro-gen" "$side/bin/"
    # Nothing of the user's: settings, index and default store are the side's own.
    export HOME=$side/user
    export XDG_DATA_HOME=$side/user/data XDG_CONFIG_HOME=$side/user/config
    export XDG_CACHE_HOME=$side/user/cache
    mkdir -p "$HOME"
    export LC_ALL=C.UTF-8
    # Homes: Polish, English (by Data.dat), and one without language files.
    for h in pl en bare; do mkdir -p "$side/home-$h"; done
    cp "$bin/PL.dat" "$bin/EN.dat" "$bin/Data.dat" "$side/home-pl/"
    cp "$bin/PL.dat" "$bin/EN.dat" "$side/home-en/"
    printf 'EN\r\n' >"$side/home-en/Data.dat"
    mkdir -p "$side/cwd" "$side/empty-drive"
    cwd=$side/cwd

    "$side/bin/kvaro-gen" drive "$side/drive" --demo --today $today >"$out/gen.out" 2>&1
    listing "$side/drive" >"$out/gen-drive.txt"
    cp -a "$side/drive" "$side/drive-en"
    cp -a "$side/drive" "$side/drive-pristine"

    # The program and each command's help, and command lines it refuses.
    run help --help
    run no-command
    run unknown-command frobnicate
    for c in ovens cycles chart import export report trend; do
        run "help-$c" "$c" --help
    done
    run home-without-folder ovens --home
    run ovens-unknown-option ovens --colour

    # Import: into the Polish home as JSON, into the English home as text, again (nothing
    # left to import), from a folder without the marker file, and without --drive.
    run ovens-before ovens --home "$side/home-pl"
    run import-json import --drive "$side/drive" --home "$side/home-pl" --json
    run import-text import --drive "$side/drive-en" --home "$side/home-en"
    run import-again import --drive "$side/drive" --home "$side/home-pl" --json
    run import-no-marker import --drive "$side/empty-drive" --home "$side/home-pl" --json
    run import-no-drive import --home "$side/home-pl"
    run import-drive-no-value import --home "$side/home-pl" --drive
    listing "$side/home-pl/Data" >"$out/store-pl.txt"
    listing "$side/drive" >"$out/drive-after-import.txt"
    # The same store in a home without language files.
    cp -a "$side/home-pl/Data" "$side/home-bare/"

    run ovens ovens --home "$side/home-pl"
    run ovens-default-store ovens
    local ovens stored
    mapfile -t ovens <"$out/ovens.out"
    stored=$(ls "$side/home-pl/Data/${ovens[0]}"/*.csv | head -n 1)

    # The cycle list, each oven, both languages, cold index and warm index.
    local o h
    for o in "${ovens[@]}"; do
        for h in pl en; do
            for pass in cold warm; do
                run "cycles-$o-$h-$pass" cycles "$o" --home "$side/home-$h" --from $from \
                    --to $today --today $today
                run "cycles-$o-$h-$pass-json" cycles "$o" --home "$side/home-$h" --from $from \
                    --to $today --today $today --json
            done
            run "cycles-$o-$h-today" cycles "$o" --home "$side/home-$h" --today $today --json
            run "cycles-$o-$h-backwards" cycles "$o" --home "$side/home-$h" --from $today \
                --to $from --today $today
        done
        in_locale "cycles-$o-comma" pl_PL.UTF-8 cycles "$o" \
            --home "$side/home-pl" --from $from --to $today --today $today --json
        run "cycles-$o-no-language" cycles "$o" --home "$side/home-bare" --today $today --json
        run "trend-$o-no-language" trend "$o" --home "$side/home-bare" --from $from --to $today
    done
    run cycles-unknown-oven cycles nosuchoven --home "$side/home-pl" --json
    run cycles-unknown-oven-no-language cycles nosuchoven --home "$side/home-bare"
    run trend-unknown-oven-no-language trend nosuchoven --home "$side/home-bare"
    run cycles-no-oven cycles --home "$side/home-pl"
    run cycles-bad-date cycles "${ovens[0]}" --home "$side/home-pl" --from 2026-13-01
    run cycles-bad-today cycles "${ovens[0]}" --home "$side/home-pl" --today yesterday
    run cycles-date-no-value cycles "${ovens[0]}" --home "$side/home-pl" --from
    run cycles-two-ovens cycles "${ovens[0]}" other --home "$side/home-pl"

    # The chart, the CSV table and the report of every stored cycle.
    local f n
    for o in "${ovens[@]}"; do
        for f in "$side/home-pl/Data/$o"/*.csv; do
            n=$(basename "$f" .csv)
            for h in pl en; do
                run "chart-$o-$n-$h" chart "$f" --stored --home "$side/home-$h"
                run "chart-$o-$n-$h-json" chart "$f" --stored --home "$side/home-$h" --json
                run "chart-$o-$n-$h-all-json" chart "$f" --stored --check-all \
                    --home "$side/home-$h" --json
            done
            run "chart-$o-$n-png" chart "$f" --stored --check-all --home "$side/home-pl" \
                --png "$out/png/$o-$n.png" --size 900x500
            run "export-$o-$n" export "$f" --stored --home "$side/home-pl" \
                --csv "$side/export.csv"
            mv "$side/export.csv" "$out/files/export-$o-$n.csv"
            in_locale "export-$o-$n-comma" pl_PL.UTF-8 export "$f" \
                --stored --home "$side/home-en" --csv "$side/export.csv"
            mv "$side/export.csv" "$out/files/export-$o-$n-comma.csv"
            run "report-$o-$n" report "$f" --stored --home "$side/home-pl" \
                --pdf "$side/report.pdf"
            pdftotext -layout "$side/report.pdf" "$out/pdf/report-$o-$n.txt"
            rm -f "$side/report.pdf"
        done
        in_locale "chart-$o-comma-json" pl_PL.UTF-8 chart "$f" --stored \
            --home "$side/home-pl" --json
        run "report-oven-$o" report --oven "$o" --from $from --to $today --today $today \
            --home "$side/home-pl" --pdf "$side/batch.pdf"
        pdftotext -layout "$side/batch.pdf" "$out/pdf/batch-$o.txt"
        rm -f "$side/batch.pdf"
        for h in pl en; do
            for pass in cold warm; do
                run "trend-$o-$h-$pass" trend "$o" --from $from --to $today \
                    --home "$side/home-$h" --csv "$side/trend.csv"
                mv "$side/trend.csv" "$out/files/trend-$o-$h-$pass.csv"
                run "trend-$o-$h-$pass-json" trend "$o" --from $from --to $today \
                    --home "$side/home-$h" --json
            done
        done
    done
    # The controller's own files (normalised when drawn), as the open button takes them.
    for f in "$side/drive-pristine"/*.csv; do
        n=$(basename "$f" .csv)
        run "chart-picked-$n-json" chart "$f" --home "$side/home-pl" --json
        run "export-picked-$n" export "$f" --home "$side/home-pl" --csv "$side/export.csv"
        mv "$side/export.csv" "$out/files/export-picked-$n.csv"
    done

    # Files that cannot be drawn, and command lines each command refuses.
    printf 'typ;t1\r\n0;1\r\n' >"$side/short.csv"
    printf 'typ;t1\r\n7;1;2;3\r\n7;1;2;3\r\n7;1;2;3\r\n' >"$side/kind7.csv"
    printf 'typ;t1\r\n0;2x;3\r\n0;1;2\r\n0;1;2\r\n' >"$side/bad.csv"
    for n in short kind7 bad missing; do
        run "chart-$n-json" chart "$side/$n.csv" --home "$side/home-pl" --json
        run "chart-$n" chart "$side/$n.csv" --home "$side/home-en"
        run "export-$n" export "$side/$n.csv" --home "$side/home-pl" --csv "$side/never.csv"
        run "report-$n" report "$side/$n.csv" --home "$side/home-pl" --pdf "$side/never.pdf"
    done
    run chart-no-file chart --home "$side/home-pl" --json
    run chart-bad-size chart "$side/short.csv" --size 0x5
    run chart-png-no-value chart "$side/short.csv" --png
    run chart-png-unwritable chart "$stored" \
        --home "$side/home-pl" --png "$side/no/such/folder/x.png"
    run export-no-file export --csv x.csv
    run export-no-csv export "$side/short.csv"
    run export-unwritable export "$stored" \
        --csv "$side/no/such/folder/x.csv"
    run report-no-pdf report "$side/short.csv"
    run report-nothing report --pdf x.pdf
    run report-both report "$side/short.csv" --oven "${ovens[0]}" --pdf x.pdf
    run report-days-without-oven report "$side/short.csv" --from $from --pdf x.pdf
    run report-stored-oven report --oven "${ovens[0]}" --stored --pdf x.pdf
    run report-empty-oven report --oven "" --pdf x.pdf
    run report-unknown-oven report --oven nosuchoven --home "$side/home-pl" --pdf x.pdf
    run report-unknown-oven-no-language report --oven nosuchoven --home "$side/home-bare" \
        --pdf x.pdf
    run report-empty-range report --oven "${ovens[0]}" --home "$side/home-pl" \
        --from 2020-01-01 --to 2020-01-02 --pdf "$side/never.pdf"
    run report-bad-date report --oven "${ovens[0]}" --home "$side/home-pl" --to 2026-02-30 \
        --pdf x.pdf
    run trend-no-oven trend --home "$side/home-pl"
    run trend-unknown-oven trend nosuchoven --home "$side/home-pl" --json
    run trend-empty-range trend "${ovens[0]}" --home "$side/home-pl" --from 2020-01-01 \
        --to 2020-01-02 --json
    run trend-bad-date trend "${ovens[0]}" --home "$side/home-pl" --to nope
    run trend-today-refused trend "${ovens[0]}" --home "$side/home-pl" --today $today
    run trend-empty-csv trend "${ovens[0]}" --home "$side/home-pl" --csv=
    run trend-unwritable trend "${ovens[0]}" --home "$side/home-pl" --from $from --to $today \
        --csv "$side/no/such/folder/t.csv"
    [ ! -e "$side/never.csv" ] && [ ! -e "$side/never.pdf" ] || echo "a refused run wrote a file" \
        >"$out/files/unexpected.txt"
    # The language the side ran with (a sanity check: the same files on both sides).
    sha256sum "$bin/PL.dat" "$bin/EN.dat" "$bin/Data.dat" | awk '{print $1}' >"$out/language-files.txt"
}

side_run "$old" "$work/old"
side_run "$new" "$work/new"
unset HOME XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME

python3 - "$work/old" "$work/new" <<'EOF'
import json, os, re, subprocess, sys

old, new = sys.argv[1], sys.argv[2]
names = set()
for root in (old, new):
    for folder, _, files in os.walk(root):
        for f in files:
            names.add(os.path.relpath(os.path.join(folder, f), root))

same, different, chart_json = 0, [], 0
for name in sorted(names):
    a, b = os.path.join(old, name), os.path.join(new, name)
    if not (os.path.exists(a) and os.path.exists(b)):
        different.append(name + " (only on one side)")
        continue
    x, y = open(a, "rb").read(), open(b, "rb").read()
    if name.startswith("chart-") and name.endswith("json.out") and y.strip():
        # The new keys must be there, and cut out they leave the old output byte for byte.
        doc = json.loads(y)
        # Qt writes the keys in order, "summary" last of all.
        cut = re.sub(rb'"schema":1,', b"", y, count=1)
        cut = re.sub(rb',"summary":\{[^{}]*\}(?=\}\s*$)', b"", cut, count=1)
        ok = doc.get("schema") == 1 and isinstance(doc.get("summary"), dict)
        parsed = dict(doc)
        parsed.pop("schema", None)
        parsed.pop("summary", None)
        ok = ok and parsed == json.loads(x) and cut == x
        chart_json += ok
    elif name.startswith("pdf/"):
        blank = lambda t: re.sub(rb"\d{4}-\d{2}-\d{2} \d{2}:\d{2}(:\d{2})?", b"<time>", t)
        ok = blank(x) == blank(y)
    else:
        ok = x == y
    if ok:
        same += 1
    else:
        different.append(name)

print(f"{same} outputs the same ({chart_json} chart --json outputs with summary and schema "
      f"cut out), {len(different)} different")
for name in different:
    print("  different:", name)
sys.exit(1 if different else 0)
EOF
