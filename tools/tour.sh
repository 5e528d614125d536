#!/bin/sh
# Regenerates the pictures and the quoted output of docs/TOUR.md: runs every
# docs/tour/NN.script from the repository's root with tumble-sim --no-times
# (so the pictures come out the same on every run) and writes each script's
# output into the fenced block after `<!-- output NN -->` in docs/TOUR.md;
# then the README's picture of the study view, docs/pictures/study.png, the
# same way.
# Usage: tools/tour.sh [TUMBLE-SIM]   (build/debug/tools/tumble-sim by default)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sim=${1:-build/debug/tools/tumble-sim}
tour=docs/TOUR.md
for script in docs/tour/*.script; do
    step=$(basename "$script" .script)
    output=$("$sim" --no-times "$script")
    # Replace the block after the step's marker with the fresh output.
    OUTPUT="$output" STEP="$step" awk '
        BEGIN { marker = "<!-- output " ENVIRON["STEP"] " -->" }
        $0 == marker { print; found = 1; next }
        found == 1 && /^```/ { print; print ENVIRON["OUTPUT"]; found = 2; next }
        found == 2 && /^```/ { print; found = 0; next }
        found == 2 { next }
        { print }
    ' "$tour" > "$tour.new"
    mv "$tour.new" "$tour"
    echo "$script"
done
"$sim" --no-times docs/pictures/study.script
echo docs/pictures/study.script
