#!/usr/bin/env bash
# The colours velmora-css takes, asked of headless Chromium: a form the checks take must be one
# the browser takes (CSS.supports('color', …)), and the background made of it (--make-image) must
# have the colour the browser computes. Each form of the table is marked with what Velmora means
# to do with it: "keep", or "drop" for one the shop editor does not keep (the browser may still
# take it; such forms are listed, not failed).
# Usage: colours_chromium.sh VELMORA_CSS
set -euo pipefail
velmora_css=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# What Velmora means to do | the form (\t, \n and \f stand for themselves).
table=$(cat <<'TABLE'
keep|#f60
keep|#FF6600
keep|#0a0B0c
drop|#ff66
drop|#ff660080
drop|#ff66000
drop|#ggg
drop|ff6600
keep|red
keep|ORANGE
keep|Gray
drop|grey
drop|darkred
drop|transparent
drop|currentcolor
drop|hsl(120, 100%, 50%)
drop|hsla(120, 100%, 50%, 0.5)
keep|rgb(1,2,3)
keep|rgb(255, 102, 0)
keep|RGB(10,20,30)
keep|Rgba(10,20,30,0.5)
keep|rgb( 1 , 2 , 3 )
keep|rgb(\t1,\n2,\f3\t)
drop|rgb (1,2,3)
drop|rgb(1 2 3)
drop|rgb(1,2,3,)
drop|rgb(,1,2,3)
drop|rgb(1,,2,3)
drop|rgb(255,100%,0)
drop|rgb(10%,20,30)
drop|rgba(10%,20%,30,0.5)
keep|rgb(100%,50%,0%)
keep|rgb(12.5%,33.3%,66.7%)
keep|rgb(.5%,0%,99.9%)
drop|rgb(50 %,0%,0%)
drop|rgb(5.%,0%,0%)
keep|rgb(+1,+2,+3)
keep|rgb(-0,0,0)
keep|rgb(1e2,1E1,2e+1)
keep|rgb(25e-1,0,0)
keep|rgb(1.5,2.5,127.5)
keep|rgb(0.5,3.5,254.5)
keep|rgb(50%,10%,30%)
drop|rgb(255.4,0,0)
drop|rgb(1,2,3)x
drop|rgb(1.,2,3)
drop|rgb(1e,2,3)
drop|rgb(.e1,2,3)
drop|rgb(++1,2,3)
drop|rgb(256,0,0)
drop|rgb(-1,0,0)
drop|rgb(101%,0%,0%)
keep|rgba(255,0,0,1)
keep|rgba(255,0,0,.5)
keep|rgba(255,0,0,+0.25)
keep|rgba(255,0,0,5e-1)
keep|rgba(255,0,0,40%)
keep|rgba(0,0,0,0)
keep|RGBA(0,0,0,0.499)
keep|rgba(0,0,0,0.002)
drop|rgba(255,0,0,1.)
drop|rgba(255,0,0,2)
drop|rgba(255,0,0,-0.5)
drop|rgba(255,0,0,.)
drop|rgba(1,2,3)
drop|rgb(1,2,3,0.5)
drop|rgb(1 2 3 / 50%)
drop|rgb(calc(1),2,3)
drop|rgb(1,/**/2,3)
drop|rgb(１,2,3)
TABLE
)

forms=()
intents=()
while IFS='|' read -r intent form; do
    intents+=("$intent")
    forms+=("$(printf '%b' "$form")")
done <<<"$table"
count=${#forms[@]}

# The browser's verdict and computed colour for each form, from one page.
python3 - "$work/forms.json" "${forms[@]}" <<'PY'
import json, sys
with open(sys.argv[1], "w") as f:
    json.dump(sys.argv[2:], f)
PY
cat >"$work/probe.html" <<HTML
<!DOCTYPE html>
<html><body><p id="sample">x</p><pre id="probe"></pre>
<script>
const forms = $(cat "$work/forms.json");
const sample = document.getElementById("sample");
const out = forms.map((form, i) => {
  if (!CSS.supports("color", form)) return i + " rejects";
  sample.style.color = "";
  sample.style.color = form;
  return i + " takes " + getComputedStyle(sample).color;
});
document.getElementById("probe").textContent = out.join("\n");
</script></body></html>
HTML
timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --dump-dom "file://$work/probe.html" \
    >"$work/dom.html" 2>"$work/chromium.log" || fail "chromium failed: $(tail -5 "$work/chromium.log")"
mapfile -t answers < <(sed -n '/<pre id="probe">/,/<\/pre>/p' "$work/dom.html" | sed 's/<[^>]*>//g')
[ ${#answers[@]} -eq "$count" ] || fail "the probe answered ${#answers[@]} of $count forms"

failed=0
browser_only=()
: >"$work/drawn.txt"
for ((i = 0; i < count; i++)); do
    form=${forms[i]}
    shown=${form@Q}
    read -r _ verdict computed <<<"${answers[i]}"
    status=0
    "$velmora_css" --strict --cleared --slot "2=$form" >/dev/null 2>&1 || status=$?
    case $status in
        0) ours=keep ;;
        3) ours=drop ;;
        *) echo "FAIL $shown: velmora-css --strict exited with $status"; failed=$((failed + 1)); continue ;;
    esac
    drawn=keep
    "$velmora_css" --make-image "$form" "$work/$i.png" 2>/dev/null || drawn=drop
    if [ $drawn != $ours ]; then
        echo "FAIL $shown: --check says $ours, --make-image says $drawn"
        failed=$((failed + 1))
    fi
    if [ $ours = keep ] && [ "$verdict" = rejects ]; then
        echo "FAIL $shown: taken as a colour, but the browser ignores it"
        failed=$((failed + 1))
    fi
    if [ $ours != "${intents[i]}" ]; then
        echo "FAIL $shown: the table says ${intents[i]}, velmora-css says $ours"
        failed=$((failed + 1))
    fi
    if [ "${intents[i]}" = keep ] && [ "$verdict" = rejects ]; then
        echo "FAIL $shown: the table keeps a form the browser ignores"
        failed=$((failed + 1))
    fi
    if [ $ours = keep ] && [ $drawn = keep ] && [ "$verdict" = takes ]; then
        printf '%s\t%s\t%s\n' "$shown" "$work/$i.png" "$computed" >>"$work/drawn.txt"
    fi
    if [ $ours = drop ] && [ "$verdict" = takes ]; then browser_only+=("$shown"); fi
done

# Each background's first pixel, read with zlib (the first row's filters all leave it as it is
# stored), against the browser's "rgb(r, g, b)" or "rgba(r, g, b, a)", its alpha made 0 to 255.
python3 - "$work/drawn.txt" <<'PY' || failed=$((failed + 1))
import re, struct, sys, zlib

def first_pixel(path):
    data = open(path, "rb").read()
    at, idat, colour_type = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            colour_type = body[9]
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    channels = 4 if colour_type == 6 else 3
    pixel = list(zlib.decompress(idat)[1:1 + channels])
    return pixel + ([] if channels == 4 else [255])

lines = open(sys.argv[1], encoding="utf-8").read().splitlines()
wrong = 0
for line in lines:
    shown, path, computed = line.split("\t")
    numbers = [float(n) for n in re.findall(r"[-+.0-9e]+", computed.split("(", 1)[1])]
    alpha = numbers[3] if len(numbers) == 4 else 1.0
    expected = [round(n) for n in numbers[:3]] + [int(alpha * 255 + 0.5)]
    if first_pixel(path) != expected:
        print(f"FAIL {shown}: the background is {first_pixel(path)}, the browser computes {computed}")
        wrong += 1
print(f"{len(lines)} kept forms drawn as the browser computes them")
sys.exit(1 if wrong else 0)
PY
echo "$count forms"
(IFS=' '; echo "taken by the browser, refused on purpose: ${browser_only[*]}")
[ $failed -eq 0 ] || fail "$failed disagreements with the browser or the table"
