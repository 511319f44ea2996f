#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and
# runs every test: format check, the whole suite, the suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run of
# each parser, and the Debian package built, checked and its program started.
# Needs root for the network-namespace tests (skipped without).
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

failed=()
step() { # name, command...
  local name=$1
  shift
  echo "=== $name"
  if ! "$@"; then
    failed+=("$name")
  fi
}

sources() { git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests bench fuzz -name '*.cpp' -o -name '*.h'; }
format_check() { sources | xargs clang-format --dry-run --Werror; }
os_check() {
  ! grep -rnE '^\s*#\s*(if|ifdef|ifndef|elif).*(Q_OS_|__linux__|_WIN32|__APPLE__)' src --include='*.cpp' \
    --include='*.h' | grep -v '^src/platform/'
}
build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }
passed=0
failed_tests=0
suite() {
  local log
  log=$(mktemp)
  ctest --preset "$1" --timeout 600 "${@:2}" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  # "100% tests passed, 0 tests failed out of 96"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n1)
  if [ -n "$line" ]; then
    local total bad
    total=$(echo "$line" | sed -E 's/.* out of ([0-9]+).*/\1/')
    bad=$(echo "$line" | sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/')
    passed=$((passed + total - bad))
    failed_tests=$((failed_tests + bad))
  fi
  rm -f "$log"
  return "$rc"
}
fuzz() {
  local seconds=${FUZZ_SECONDS:-30} target
  for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    echo "--- $(basename "$target") for ${seconds}s"
    mkdir -p "build/fuzz/corpus/$(basename "$target")"
    "$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=0 \
      "build/fuzz/corpus/$(basename "$target")" "fuzz/seeds/$(basename "$target" | sed 's/^fuzz_//')" \
      2>&1 | tail -n 2 || return 1
  done
}

step "format" format_check
step "no OS conditionals outside src/platform" os_check
step "no feature uses another" scripts/check-features.sh
tidy() { run-clang-tidy -p build/dev -quiet "$PWD/src/" >build/dev/clang-tidy.log 2>&1 || { grep -E 'error:' build/dev/clang-tidy.log | sort -u; return 1; }; }
step "build (dev)" build dev && step "clang-tidy" tidy && step "tests (dev, without the system suites)" suite dev -LE system
step "build (asan)" build asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  step "tests (asan)" suite asan
step "build (fuzz)" build fuzz && step "fuzz" fuzz
step "package: build, lintian, the installed program started" scripts/package.sh

echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "Failed steps: ${failed[*]}"
fi
echo "$passed passed, $failed_tests failed"
[ ${#failed[@]} -eq 0 ]
