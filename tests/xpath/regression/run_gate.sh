#!/usr/bin/env bash
# Regression gate of the XPath engine: runs `xpath-eval --actions` for every
# expression of expressions.txt over every document, and the document-order
# probe over the same pairs, and compares both byte for byte with the
# recorded outputs. Any difference fails the gate. The "reason:" line only
# names the code that "error:" already holds, so it is left out of the record.
#   run_gate.sh XPATH_EVAL DOCUMENT_ORDER_PROBE [--regenerate]
# --regenerate rewrites the recorded outputs instead (only when a change of
# output is intended). In a cross build both programs start through the
# emulator named in TARGET_EMULATOR (its words separated by spaces).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
xpath_eval="$1"
probe="$2"
mode="${3:-check}"
read -ra emulator <<<"${TARGET_EMULATOR:-}"
root="$here/../../.."
documents=(
    "$root/examples/sample_device/Storage Card/TVL/Settings/UserSettingsLanguage.xml"
    "$here/documents/mixed.xml"
    "$here/documents/list.xml"
)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for document in "${documents[@]}"; do
    name="$(basename "$document")"
    while IFS= read -r expression; do
        printf '== %s: %s\n' "$name" "$expression"
        status=0
        "${emulator[@]}" "$xpath_eval" --actions "$document" "$expression" > "$work/one.out" || status=$?
        grep -v '^reason: ' "$work/one.out" || true
        printf 'exit: %s\n' "$status"
    done < "$here/expressions.txt"
done > "$work/xpath_eval.out"

for document in "${documents[@]}"; do
    printf '=== %s\n' "$(basename "$document")"
    "${emulator[@]}" "$probe" "$document" "$here/expressions.txt"
done > "$work/document_order.out"

if [ "$mode" = "--regenerate" ]; then
    cp "$work/xpath_eval.out" "$here/xpath_eval.expected"
    cp "$work/document_order.out" "$here/document_order.expected"
    echo "regression gate: recorded outputs rewritten"
    exit 0
fi

failed=0
for output in xpath_eval document_order; do
    if ! diff -u "$here/$output.expected" "$work/$output.out" > "$work/$output.diff"; then
        echo "regression gate: $output output differs from $output.expected:"
        head -n 40 "$work/$output.diff"
        failed=1
    fi
done
[ "$failed" = 0 ] && echo "regression gate: $(grep -c '^== ' "$work/xpath_eval.out") evaluations unchanged"
exit "$failed"
