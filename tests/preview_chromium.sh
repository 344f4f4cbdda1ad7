#!/usr/bin/env bash
# The preview page rendered by headless Chromium: every rule of the generated CSS matches an
# element of the page (":hover" rules in the hover copy), and the navigation titles and the
# all-categories title take the colours given.
# Usage: preview_chromium.sh VELMORA_CSS
set -euo pipefail
velmora_css=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$velmora_css" --slot 2=#123456 --slot 7=#ff6600 --menu-hover-image https://img.example/a.jpg \
    --preview "$work/preview.html" >/dev/null

# A probe appended to a copy of the page: the page itself needs no script.
probe=$(cat <<'JS'
<script>
const out = [];
let rules = 0;
for (const rule of document.getElementById("generated").sheet.cssRules) {
  if (!(rule instanceof CSSStyleRule)) continue;
  rules++;
  const selector = rule.selectorText.replaceAll(":hover", ".velmora-hover");
  if (document.querySelectorAll(selector).length === 0) out.push("UNMATCHED " + rule.selectorText);
}
out.push("RULES " + rules);
for (const title of document.querySelectorAll("#normal .menu-list .menu .link .title"))
  out.push("NAV " + getComputedStyle(title).color);
out.push("ALLCATS " + getComputedStyle(document.querySelector("#normal .all-cats .link .title")).color);
document.body.insertAdjacentHTML("beforeend", "<pre id='probe'>" + out.join("\n") + "</pre>");
</script>
JS
)
page=$(cat "$work/preview.html")
printf '%s\n' "${page/<\/body>/$probe</body>}" >"$work/probe.html"

timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --dump-dom "file://$work/probe.html" \
    >"$work/dom.html" 2>"$work/chromium.log" || fail "chromium failed: $(tail -5 "$work/chromium.log")"
result=$(sed -n '/<pre id="probe">/,/<\/pre>/p' "$work/dom.html" | sed 's/<[^>]*>//g')
echo "$result"

[ -n "$result" ] || fail "the probe wrote nothing"
if grep -q '^UNMATCHED' <<<"$result"; then fail "rules that match no element"; fi
grep -qx 'RULES 28' <<<"$result" || fail "expected 28 rules (25 of the template and 3 appended)"
[ "$(grep -c '^NAV ' <<<"$result")" -eq 5 ] || fail "expected five navigation titles"
if grep '^NAV ' <<<"$result" | grep -vqx 'NAV rgb(18, 52, 86)'; then fail "a navigation title is not #123456"; fi
grep -qx 'ALLCATS rgb(255, 102, 0)' <<<"$result" || fail "the all-categories title is not #ff6600"
echo "preview: every rule matches, colours as given"

# A background made on this computer (a Chinese name with a space, percent-encoded) shows in the
# preview, whose page lives in another folder.
mkdir "$work/图片"
"$velmora_css" --make-image '#FF6600' "$work/图片/导航 背景.png"
local_url=file://$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' \
    "$work/图片/导航 背景.png")
"$velmora_css" --slot 1="$local_url" --preview "$work/local.html" >/dev/null
probe=$(cat <<'JS'
<script>
window.addEventListener("load", () => {
  const src = getComputedStyle(document.querySelector("#normal .skin-box-bd")).backgroundImage;
  const image = new Image();
  const say = (what) => document.body.insertAdjacentHTML("beforeend", "<pre id='probe'>" + what + "</pre>");
  image.onload = () => say("LOCAL " + image.naturalWidth + "x" + image.naturalHeight + " " + src);
  image.onerror = () => say("LOCAL failed " + src);
  image.src = src.slice(5, -2);
});
</script>
JS
)
page=$(cat "$work/local.html")
printf '%s\n' "${page/<\/body>/$probe</body>}" >"$work/local-probe.html"
timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --virtual-time-budget=5000 \
    --dump-dom "file://$work/local-probe.html" >"$work/local-dom.html" 2>>"$work/chromium.log" ||
    fail "chromium failed on the local image: $(tail -5 "$work/chromium.log")"
shown=$(sed -n 's/.*<pre id="probe">\([^<]*\).*/\1/p' "$work/local-dom.html")
echo "$shown"
[ "$shown" = "LOCAL 950x30 url(\"$local_url\")" ] || fail "the local background does not show"
echo "preview: the local background shows"
