#!/usr/bin/env bash
# Checks that every C++ source of the tree is formatted as the repository's .clang-format says (with
# clang-format 14, which the install script installs), and names the files that are not.
set -euo pipefail
cd "$(dirname "$0")/.."

# Sources only: build folders and what a build generates are never checked.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' |
                         while read -r f; do [ -f "$f" ] && printf '%s\n' "$f"; done)
else
    mapfile -t files < <(find . -path ./build -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print)
fi

report=$(clang-format --dry-run -Werror "${files[@]}" 2>&1) && exit 0
drifted=$(sed -nE 's/^(.+):[0-9]+:[0-9]+: error: .*/\1/p' <<<"$report" | sort -u)
if [ -z "$drifted" ]; then
    printf '%s\n' "$report" >&2
    echo "clang-format could not check the sources." >&2
    exit 1
fi
{
    echo "These files are not formatted as .clang-format says ($(clang-format --version | head -n 1)):"
    sed 's/^/    /' <<<"$drifted"
    echo "Format them with: clang-format -i <file>..."
} >&2
exit 1
