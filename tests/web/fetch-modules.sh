#!/bin/sh
# fetch-modules.sh NPM DIR: installs the Node packages the pages' tests use
# into DIR/node_modules, once. When the npm registry cannot be reached the
# tests that need them skip, saying so; any other failure fails.
npm=$1
dir=$2
if [ -d "$dir/node_modules/json-patch-test-suite" ] && [ -d "$dir/node_modules/ws" ]; then
    exit 0
fi
mkdir -p "$dir"
if "$npm" install --prefix "$dir" --no-save --no-package-lock --no-audit --no-fund \
    --fetch-retries 1 json-patch-test-suite@1.1.0 ws@8; then
    exit 0
fi
if ! "$npm" ping >/dev/null 2>&1; then
    echo "The npm registry cannot be reached: the pages' Node tests are skipped."
    exit 0
fi
echo "npm install failed although the registry answers." >&2
exit 1
