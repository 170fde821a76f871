#!/usr/bin/env bash
# Every test that README.md's "What Quorvane does with bad input" table names must exist.
# Usage: tools/readme_test_names.sh BUILD_DIR (run by ctest as ReadmeTable.NamesExistingTests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
known=$(cd "$1" && ctest -N | sed -n 's/^ *Test *#[0-9]*: //p')
named=$(sed -n '/^## What Quorvane does with bad input/,/^## /p' "$root/README.md" |
    awk -F' [|] ' '/^[|] / {print $NF}' | tr -d '|' | tr ',' '\n' | sed 's/^ *//; s/ *$//' |
    grep -E '^[A-Za-z]+\.[A-Za-z0-9]+$' | sort -u)
missing=$(comm -23 <(echo "$named") <(echo "$known" | sort -u))
if [ -n "$missing" ]; then
    echo "README.md names tests that do not exist:"
    echo "$missing"
    exit 1
fi
echo "all $(echo "$named" | wc -l) tests named by README.md exist"
