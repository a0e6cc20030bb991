#!/usr/bin/env bash
# Fails when a C++ source file (tracked, or new and not ignored) differs from
# what clang-format makes of it with the root .clang-format, and names each.
# Mend with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."

files=()
while IFS= read -r -d '' file; do
  [ -f "$file" ] && files+=("$file")  # a deleted file is still listed until committed
done < <(git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h')

# One clang-format for all files; each drift is reported as FILE:LINE:COL: error.
if report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
  echo "${#files[@]} C++ source files, each formatted as .clang-format says."
  exit 0
fi
drifted=$(grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$report" | cut -d: -f1 | sort -u || true)
if [ -z "$drifted" ]; then
  echo "clang-format failed: $report"  # not a drift: say what it was
else
  echo "Not formatted as .clang-format says (clang-format -i to mend):"
  sed 's/^/  /' <<<"$drifted"
fi
exit 1
