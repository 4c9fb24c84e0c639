#!/usr/bin/env bash
# Word boxes (pdftotext -bbox) and the rendered pixels (rules included) of every document the program prints for the demo month, the wide month
# and pages 1, 2 and the last two of a 40,000-employee month's table and slips, one file a document in
# OUTDIR. Run it with the program before and after a change to the print engine and compare the two
# folders with compare_word_boxes.py: a restructuring must leave every word where it was.
#   bench/print/word_boxes.sh PATH/TO/slpayprn OUTDIR
set -euo pipefail
prog="$(realpath "$1")"
out="$2"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen
"$prog" demo-db "$work/demo.db" > /dev/null
"$prog" demo-db "$work/wide.db" --wide > /dev/null
"$prog" demo-db "$work/big.db" --employees 40000 > /dev/null

# boxes NAME PDF [FIRST LAST]
boxes() {
    local range=()
    [ $# -gt 2 ] && range=(-f "$3" -l "$4")
    pdftotext -bbox "${range[@]}" "$2" "$out/$1.html"
    # The pictures of the pages at 50 dpi, as checksums: rules and texts where they were.
    pdftoppm -r 50 -png "${range[@]}" "$2" "$work/render-$1"
    (cd "$work" && md5sum render-"$1"*.png) >> "$out/renders.md5"
    rm -f "$work"/render-"$1"*.png
}
# doc NAME DB COMMAND...: prints the document into one PDF file and takes its word boxes
doc() {
    local name="$1" db="$2"
    shift 2
    "$prog" --db "$db" "$@" --one-file "$work/$name.pdf" > /dev/null 2> "$out/$name.stderr" || true
    boxes "$name" "$work/$name.pdf"
}
demo="$work/demo.db"
doc table "$demo" print wage-table
doc slips "$demo" print slips
doc wrapped-slips "$work/wide.db" print slips
doc wide-table "$work/wide.db" print wage-table
doc strips "$demo" print strips --first 1 --last 30
doc strips-rules "$demo" print strips --first 195 --last 200 --rules
doc summary "$demo" print summary
doc payment "$demo" print payment
"$prog" --db "$demo" layout save > /dev/null
doc special "$demo" print special
doc special-one-a-page "$demo" print special --one-per-page --from 1 --to 5
for what in wage-table slips; do
    "$prog" --db "$work/big.db" print "$what" --one-file "$work/big-$what.pdf" > /dev/null 2>&1
    pages=$(pdfinfo "$work/big-$what.pdf" | awk '/^Pages:/ {print $2}')
    boxes "big-$what-first" "$work/big-$what.pdf" 1 2
    boxes "big-$what-last" "$work/big-$what.pdf" $((pages - 1)) "$pages"
done
ls "$out"
