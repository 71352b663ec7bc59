#!/usr/bin/env bash
# The VS Code extension's tests, run with node. Exit status 77 (a skip for CTest) when node or the
# extension's npm packages are missing.
# usage: run_vscode_test.sh grammar | rules | package OUTPUT-DIRECTORY
set -u
root="$(cd "$(dirname "$0")/../.." && pwd)"
extension="$root/editors/vscode"
if ! command -v node >/dev/null; then
    echo "SKIP: node is not installed (Debian: nodejs npm)"
    exit 77
fi
if [ "$1" = rules ]; then
    exec node "$root/tests/editors/vscode_rules_test.js"
fi
if [ ! -d "$extension/node_modules" ]; then
    echo "SKIP: the extension's npm packages are missing: (cd editors/vscode && npm ci --ignore-scripts)"
    exit 77
fi
case "$1" in
    # Without -g the test reads the grammar that the extension's package.json names.
    grammar) cd "$extension" &&
        exec node node_modules/vscode-tmgrammar-test/dist/unit.js "$root/tests/editors/samples/*.zolt" ;;
    package) exec python3 "$root/tests/editors/vscode_package_test.py" "$2" ;;
esac
echo "usage: run_vscode_test.sh grammar | rules | package OUTPUT-DIRECTORY"
exit 2
