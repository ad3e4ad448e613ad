#!/usr/bin/env bash
# Fails, naming the files, when a source file does not follow .clang-format. Pinned to
# clang-format-14 (Debian 12's): other versions lay out the same code differently.
#   tools/check_format.sh          check
#   tools/check_format.sh --fix    reformat in place
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

files=()
while IFS= read -r -d '' f; do
    files+=("$f")
done < <(git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' ':!tests/fixtures/**')

if [ "${1:-}" = "--fix" ]; then
    clang-format-14 -i "${files[@]}"
    exit 0
fi
bad=()
for f in "${files[@]}"; do
    clang-format-14 --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
    echo "kvaro: these files do not follow .clang-format (tools/check_format.sh --fix):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "kvaro: every source file follows .clang-format"
