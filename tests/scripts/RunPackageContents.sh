#!/usr/bin/env bash
# The package script builds one target list before cpack. From a clean build
# folder, those targets must make every file the package installs: a fresh
# clone once stopped in cpack for want of the manual page and the changelog,
# which only a full build had made. Checked on the build graph of a freshly
# configured folder, without compiling it.   RunPackageContents.sh SOURCE_DIR
set -euo pipefail
export LC_ALL=C
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*" >&2; exit 1; }

targets=$(sed -n 's/^cmake --build build --target //p' "$src/scripts/package.sh")
[ -n "$targets" ] || fail "scripts/package.sh names no targets to build"
cmake -S "$src" -B "$work" -G Ninja -DBUILD_TESTING=OFF > "$work/configure.log" 2>&1 ||
    { cat "$work/configure.log" >&2; fail "configure failed"; }

# Every file the build of those targets makes, relative to the build folder.
# shellcheck disable=SC2086
made=$(ninja -C "$work" -t graph $targets | grep -oE 'label="[^"]*"' | sed 's/^label="//; s/"$//')

# Every file of the build folder that the package's component installs.
installed=$(find "$work" -name cmake_install.cmake -exec awk -v build="$work/" '
    /^if\(CMAKE_INSTALL_COMPONENT STREQUAL "Unspecified"/ { on = 1 }
    /^endif\(\)/ { on = 0 }
    on && /file\(INSTALL/ { statement = 1 }
    on && statement {
        line = $0
        while (match(line, /"[^"]*"/)) {
            path = substr(line, RSTART + 1, RLENGTH - 2)
            if (index(path, build) == 1) print substr(path, length(build) + 1)
            line = substr(line, RSTART + RLENGTH)
        }
        if ($0 ~ /\)[ \t]*$/) statement = 0
    }' {} +)
[ -n "$installed" ] || fail "no installed file found in $work"

missing=""
while IFS= read -r file; do
    # A directory counts as made when files inside it are.
    if ! grep -qxF -- "$file" <<< "$made" && ! grep -q -- "^$file/" <<< "$made"; then
        missing="$missing $file"
    fi
done <<< "$installed"
[ -z "$missing" ] || fail "scripts/package.sh builds '$targets', which does not make:$missing"
echo "$(wc -l <<< "$installed") installed files, all made by: $targets"
