#!/usr/bin/env bash
# Non-blank, non-comment lines of tests/ (C++, shell, Python) against those of
# src/, and their ratio.
set -u
cd "$(dirname "$0")/.."
count() { # folder
    local cpp other
    cpp=$(git ls-files "$1" | grep -E '\.(cpp|h)$' | xargs cat | grep -cvE '^\s*$|^\s*//')
    other=$(git ls-files "$1" | grep -E '\.(sh|py)$' | xargs -r cat | grep -cvE '^\s*$|^\s*#')
    echo $((cpp + other))
}
src=$(count src)
tests=$(count tests)
echo "src $src, tests $tests, ratio $(echo "scale=3; $tests / $src" | bc)"
