#!/usr/bin/env bash
# The differential conformance test by hand: N generated cases from SEED and
# the hand-written rows, each evaluated by the project's engine and by
# libxml2 (pugixml where libxml2 is doubted). Builds conformance-runner and
# xpath-eval into build/ first (installing the Debian packages they need when
# missing, as root); the build's output goes to standard error. Prints the
# table of mismatches by rule, then every mismatch with its document,
# expression, the answers and a reproducer for xpath-eval.
#   scripts/run_conformance.sh N SEED        (e.g. 20000 1)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ $# -ne 2 ]; then
  echo "usage: scripts/run_conformance.sh N SEED" >&2
  exit 2
fi

bash "$root/scripts/setup.sh" --target conformance-runner --target xpath-eval build >&2

# The reproducers name xpath-eval as the caller can run it from here.
xpath_eval="$root/build/bin/xpath-eval"
if [ "$PWD" = "$root" ]; then xpath_eval=build/bin/xpath-eval; fi
exec "$root/build/bin/conformance-runner" --xpath-eval "$xpath_eval" "$1" "$2"
