#!/bin/sh
# Makes the two bundled example samples again: two factors, ten five-point
# items; the Replication sample has item 3 shifted upwards.
set -e
generate=${1:?usage: make_examples.sh PATH-TO-talver-generate}
here=$(dirname "$0")
"$generate" --participants 707 --items 10 --factors 2 --categories 5 --seed 20021 > "$here/target.dat"
"$generate" --participants 335 --items 10 --factors 2 --categories 5 --seed 20022 --loading 0.65 --shift 3:0.4 > "$here/replica.dat"
