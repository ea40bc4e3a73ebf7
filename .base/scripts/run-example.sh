#!/usr/bin/env bash
# `make run`: opens the example in the program the way the desktop does, so the table
# and its charts are one menu click away. Without a display, draws the example's charts
# with tessavox-batch and says where they are.
set -euo pipefail

build_dir=${1:-build}
example=${2:-examples/peterson-barney-men.txt}

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Opening $example: choose Plot > F1 vs F2 or Plot > F1 vs F3 to see its charts."
    exec "$build_dir/app/tessavox" --shell-open "$example"
fi

out_dir="$build_dir/example-charts"
mkdir -p "$out_dir"
name=$(basename "$example" .txt)
echo "No display (\$DISPLAY and \$WAYLAND_DISPLAY are empty), so the program window cannot open."
echo "Drawing the charts of $example with tessavox-batch instead:"
for plot in f1f2 f1f3; do
    out="$out_dir/$name-$plot.png"
    "$build_dir/batch/tessavox-batch" chart "$example" --plot "$plot" -o "$out"
    echo "  $out"
done
echo "For vector charts: $build_dir/batch/tessavox-batch chart $example --plot f1f2 -o chart.svg"
