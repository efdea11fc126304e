#!/usr/bin/env bash
# Builds the web site into build-web/site/: the core compiled to WebAssembly with
# em++, the page, and the pictures as SVG; and build-web/quillory-web-replay, the
# driver that replays commands on the page in headless Chromium. Installs what is missing on Debian 12
# (through sudo when not run as root). Objects are kept in build-web/obj/ and
# rebuilt only when a source or a header they include has changed.
#   JOBS=N   compile N files at once (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

packages=(emscripten node-acorn chromium librsvg2-bin)
command -v npm >/dev/null 2>&1 || packages+=(npm)
tools/install_packages.sh "${packages[@]}"

# em++'s optimizer needs acorn, which Debian keeps in its own Node folder.
acorn=$(dpkg -L node-acorn | awk '/\/acorn\/package.json$/ && !found { print; found = 1 }')
export NODE_PATH="$(dirname "$(dirname "$acorn")")${NODE_PATH:+:$NODE_PATH}"

out=build-web
obj=$out/obj
site=$out/site
mkdir -p "$obj" "$site" "$out/generated"

# The picture list, from the same names the desktop build renders.
svgs=$(sed -n '/^set(QUILLORY_SVGS/,/)/p' cmake/Pictures.cmake |
    sed -e 's/set(QUILLORY_SVGS//' -e 's/)//' | tr -s ' \n' '\n' | sed '/^$/d')
list=""
for stem in $svgs; do
    list+="\"$stem.bmp\", "
done
generated=$out/generated/picture_assets.cpp
sed "s|@QUILLORY_PICTURE_LIST@|$list|" app/picture_assets.cpp.in >"$generated.new"
if cmp -s "$generated.new" "$generated"; then rm "$generated.new"; else mv "$generated.new" "$generated"; fi

sources=(
    ui/*.cpp
    lessons/*.cpp lessons/scripts/*.cpp
    quiz/*.cpp
    game/*.cpp game/scenario/*.cpp
    record/dates.cpp record/learner_record.cpp record/memory_store.cpp record/record_file.cpp
    app/learning.cpp app/navigator.cpp app/questions.cpp app/review_screens.cpp
    app/screens.cpp app/shell_screens.cpp
    "$generated"
    web/bindings.cpp
)
flags=(-std=c++20 -O2 -I"$root" -DNDEBUG)

# Whether an object is older than its source or a header it included.
stale() {
    local object=$1 deps=$2
    [[ -f $object && -f $deps ]] || return 0
    local file
    for file in $(sed -e 's/^[^:]*://' -e 's/\\$//' "$deps"); do
        [[ $file -nt $object ]] && return 0
    done
    return 1
}

# Objects made with other flags are all made again.
if [[ -f $obj/flags && "$(<"$obj/flags")" != "${flags[*]}" ]]; then
    find "$obj" -name '*.o' -delete
fi
echo "${flags[*]}" >"$obj/flags"

objects=()
todo=()
for source in "${sources[@]}"; do
    name=${source#"$out"/}
    object=$obj/${name%.cpp}.o
    objects+=("$object")
    if stale "$object" "${object%.o}.d"; then
        mkdir -p "$(dirname "$object")"
        todo+=("$source")
    fi
done

if ((${#todo[@]} > 0)); then
    echo "Compiling ${#todo[@]} files with em++ $(em++ --version | head -1 | grep -o '[0-9][0-9.]*' | head -1)"
    printf '%s\n' "${todo[@]}" | xargs -P "${JOBS:-2}" -I{} bash -c '
        source={}; name=${source#'"$out"'/}; object='"$obj"'/${name%.cpp}.o
        echo "  $source"
        nice -n 19 em++ "$@" -MMD -MF "${object%.o}.d" -c "$source" -o "$object"
    ' _ "${flags[@]}"
fi

# No file system: the core reads no files in the page (half the glue code).
link=(-lembind -sFILESYSTEM=0 -sMODULARIZE=1 -sEXPORT_NAME=createQuillory
    -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web,node)
# Linked again only when an object or the flags changed.
relink=
((${#todo[@]} > 0)) && relink=yes
[[ -f $site/quillory.js && -f $site/quillory.wasm ]] || relink=yes
[[ "$(cat "$out/linked" 2>/dev/null)" == "${flags[*]} ${link[*]}" ]] || relink=yes
for object in "${objects[@]}"; do
    [[ $object -nt $site/quillory.wasm ]] && relink=yes
done
if [[ -n $relink ]]; then
    echo "Linking $site/quillory.js"
    nice -n 19 em++ "${flags[@]}" "${objects[@]}" "${link[@]}" -o "$site/quillory.js"
    echo "${flags[*]} ${link[*]}" >"$out/linked"
fi

cp web/record.js "$site/"
# The page with its style and view inside it, and the title's state from the core,
# so that the title shows before the other files and the core have loaded.
first=$(node --input-type=module -e "
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
const createQuillory = createRequire(process.cwd() + '/')('./$site/quillory.js');
const core = await createQuillory({ wasmBinary: readFileSync('$site/quillory.wasm') });
core.startOn('');
process.stdout.write(core.state());
")
FIRST="$first" node -e '
const fs = require("fs");
const [page, style, view, to] = process.argv.slice(1);
const put = (text, marker, value) => {
  if (!text.includes(marker)) throw new Error("no " + marker);
  return text.replace(marker, () => value);
};
const app = put(fs.readFileSync(view, "utf8"), "const FIRST_STATE = null;", "const FIRST_STATE = " + process.env.FIRST + ";");
let html = fs.readFileSync(page, "utf8");
html = put(html, "<link rel=\"stylesheet\" href=\"style.css\">", "<style>\n" + fs.readFileSync(style, "utf8") + "</style>");
html = put(html, "<script src=\"app.js\"></script>", "<script>\n" + app + "</script>");
fs.writeFileSync(to, html);
' web/index.html web/style.css web/app.js "$site/index.html"
rm -f "$site/app.js" "$site/style.css"
mkdir -p "$site/pictures"
for stem in $svgs; do
    cp assets/pictures/"$stem".svg "$site/pictures/$stem.svg"
done

# Offline use and installing as an app: the icons from the project's SVG, the
# manifest, and the service worker with the site's version (a hash of every file it
# caches and of its own code) and the list of those files.
cp web/install.js web/storage.js web/manifest.webmanifest "$site/"
mkdir -p "$site/icons"
icon=packaging/org.quillory.Quillory.svg
cp "$icon" "$site/icons/quillory.svg"
for size in 192 512; do
    rsvg-convert -w "$size" -h "$size" "$icon" -o "$site/icons/quillory-$size.png"
done
# Maskable: on the page's colour, inside the circle a launcher may cut out.
rsvg-convert -w 300 -h 300 --page-width 512 --page-height 512 --left 106 --top 106 \
    --background-color '#2b2b2b' "$icon" -o "$site/icons/quillory-maskable-512.png"
rm -f "$site/sw.js"
files=$(cd "$site" && find . -type f ! -name sw.js | sed 's|^\./||' | LC_ALL=C sort)
version=$( (cd "$site" && printf '%s\n' "$files" | tr '\n' '\0' | xargs -0 sha256sum; cat "$root/web/sw.js") |
    sha256sum | cut -c1-16)
list=$(printf "'%s', " $files)
sed -e "s|@VERSION@|$version|" -e "s|/\* @FILES@ \*/|${list%, }|" web/sw.js >"$site/sw.js"
echo "  sw.js: version $version, $(wc -w <<<"$files") files cached for offline use"
ls -l "$site/quillory.js" "$site/quillory.wasm" | awk '{print "  " $5 " bytes  " $9}'
echo "Site built in $out/site/"

# The driver's packages, from the committed lock file; the browser is Debian's.
stamp=web/node_modules/.package-lock.json
if [[ ! -f $stamp || web/package-lock.json -nt $stamp ]]; then
    echo "Installing the driver's packages (npm ci in web/)"
    (cd web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 nice -n 19 npm ci --no-audit --no-fund --loglevel=error)
fi
cat >"$out/quillory-web-replay" <<'DRIVER'
#!/bin/sh
# Replays driver commands on the page in headless Chromium.
here=$(cd "$(dirname "$0")" && pwd)
exec node "$here/../web/driver/replay.mjs" --site "$here/site" "$@"
DRIVER
chmod +x "$out/quillory-web-replay"
echo "Driver written: $out/quillory-web-replay"
