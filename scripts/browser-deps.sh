#!/usr/bin/env bash
# Installs what drives the page in a browser, for the web tests and the browser benchmarks: Debian's
# Chromium, npm where there is no npm command (some machines have node and npm from elsewhere), and
# puppeteer-core at the version that tests/web/package-lock.json pins, into tests/web/node_modules.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
bash "$root/scripts/install-deps.sh" "${BROWSER_PACKAGES[@]}"
command -v npm >/dev/null || bash "$root/scripts/install-deps.sh" npm
web=$root/tests/web
# npm ci starts afresh each time; skip it while the installed tree is the locked one.
if ! cmp -s "$web/package-lock.json" "$web/node_modules/.package-lock.json.ci" 2>/dev/null; then
  npm ci --prefix "$web" --no-audit --no-fund --loglevel=error
  cp "$web/package-lock.json" "$web/node_modules/.package-lock.json.ci"
fi
