#!/usr/bin/env bash
# check-screenshots.sh TOOL GUIDE_DIR OUT_DIR
# Runs the screenshot program into OUT_DIR and checks that it makes exactly the
# pictures the guide holds, each a PNG.
set -euo pipefail
tool=$1 guide=$2 out=$3
rm -rf "$out" && mkdir -p "$out"
"$tool" "$out" >/dev/null
made=$(cd "$out" && ls -1 *.png | sort)
kept=$(cd "$guide" && ls -1 *.png | sort)
if [ "$made" != "$kept" ]; then
  echo "FAIL: the program makes" $made "but docs/guide holds" $kept >&2
  echo "Run scripts/guide-screenshots and commit docs/guide." >&2
  exit 1
fi
for png in "$out"/*.png; do
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || { echo "FAIL: $png is no PNG" >&2; exit 1; }
done
echo "$(wc -l <<<"$made") screenshots made: $(tr '\n' ' ' <<<"$made")"
