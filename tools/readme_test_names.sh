#!/usr/bin/env bash
# Every test that the bad-input table (docs/bad-input.md) names must exist.
# Usage: tools/readme_test_names.sh BUILD_DIR (run by ctest as ReadmeTable.NamesExistingTests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
known=$(cd "$1" && ctest -N | sed -n 's/^ *Test *#[0-9]*: //p')
named=$(awk -F' [|] ' '/^[|] / {print $NF}' "$root/docs/bad-input.md" | tr -d '|' | tr ',' '\n' |
    sed 's/^ *//; s/ *$//' | grep -E '^[A-Za-z]+\.[A-Za-z0-9]+$' | sort -u)
missing=$(comm -23 <(echo "$named") <(echo "$known" | sort -u))
if [ -n "$missing" ]; then
    echo "docs/bad-input.md names tests that do not exist:"
    echo "$missing"
    exit 1
fi
echo "all $(echo "$named" | wc -l) tests named by docs/bad-input.md exist"
