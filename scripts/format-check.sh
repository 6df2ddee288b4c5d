#!/usr/bin/env bash
# Fails, naming the files, when a C++ source differs from what clang-format makes of it
# (.clang-format at the top). Fix them with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  echo "format: clang-format is not installed, so the sources were not checked;" \
       "bash scripts/install-deps.sh installs it (Debian's package clang-format)" >&2
  exit 1
fi
bad=$(git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: .*-Wclang-format-violations.*/\1/p' | sort -u)
if [ -n "$bad" ]; then
  echo "format: these files are not formatted as .clang-format says:"
  sed 's/^/  /' <<<"$bad"
  exit 1
fi
echo "format: every C++ source is formatted"
