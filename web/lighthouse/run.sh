#!/usr/bin/env bash
# Lighthouse's accessibility and best-practices audits of build/web, served
# on 127.0.0.1 and loaded by Debian's Chromium; prints each score and every
# audit that failed. The reports go to build/web-lighthouse.
set -euo pipefail
cd "$(dirname "$0")"
root=../..
out=$root/build/web-lighthouse
mkdir -p "$out"
command -v npm >/dev/null || "$root/tools/ensure-packages.sh" npm
# Some of Lighthouse's own dependencies ask for "latest", so a lock file goes
# out of date as they publish; then npm ci refuses it, and the versions they
# ask for today are installed instead, without touching the lock file.
if [ ! node_modules/.package-lock.json -nt package-lock.json ]; then
  npm ci --no-audit --no-fund --loglevel=error 2>/dev/null || {
    echo "The lock file is behind Lighthouse's \"latest\" dependencies; installing today's."
    npm install --no-audit --no-fund --loglevel=error --no-package-lock
  }
fi

python3 "$root/web/serve.py" "$root/build/web" 0 >"$out/server.log" &
server=$!
trap 'kill $server' EXIT
until grep -q http "$out/server.log"; do sleep 0.1; done
url=$(grep -o 'http://[^ ]*' "$out/server.log")

profile=$(mktemp -d)
trap 'kill $server; rm -rf "$profile"' EXIT
flags="--headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking"
flags="$flags --disable-component-update --disable-sync --user-data-dir=$profile"
for form in desktop mobile; do
  preset=()
  [ $form = mobile ] || preset=(--preset=desktop)
  node_modules/.bin/lighthouse "$url" --quiet --chrome-path=/usr/bin/chromium --chrome-flags="$flags" \
    --only-categories=accessibility,best-practices "${preset[@]}" \
    --output=json --output=html --output-path="$out/$form" >/dev/null
  node -e '
    const r = require(process.argv[1]);
    for (const c of Object.values(r.categories)) {
      console.log(`${process.argv[2]} ${c.title}: ${Math.round(c.score * 100)}`);
      for (const ref of c.auditRefs) {
        const a = r.audits[ref.id];
        if (ref.weight > 0 && a.score !== null && a.score < 1) console.log(`  failed: ${a.id}: ${a.title}`);
      }
    }' "$PWD/$out/$form.report.json" "$form"
done
