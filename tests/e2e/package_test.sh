#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, unpacks it into a scratch root and runs the installed programs
# there: they must find their data in share/cadenzo/ of the package, not in the build tree.
#   package_test.sh BUILD/bin
# Exits 77 (skipped) when cpack or dpkg-deb is missing.
set -euo pipefail

bin=$(cd "$1" && pwd)
build=$(dirname "$bin")
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
[ -f "$build/CPackConfig.cmake" ] || { echo "skipped: no CPackConfig.cmake in $build"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The package.
if ! (cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out") \
    >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  fail "cpack"
fi
debs=("$scratch"/out/*.deb)
[ -f "${debs[0]}" ] || fail "no .deb in $scratch/out"
deb=${debs[0]}
echo "package: $(basename "$deb")"

# Its control data: the name, and the libraries the programs need as dependencies.
control=$(dpkg-deb -f "$deb")
echo "$control" | grep -qx 'Package: cadenzo' || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
echo "$depends" | grep -q 'libc6' || fail "no libc6 in Depends"
gui=false
[ -x "$bin/cadenzo" ] && gui=true
if $gui; then
  echo "$depends" | grep -q 'libqt6widgets6' || fail "no libqt6widgets6 in Depends"
fi

# Its files.
dpkg-deb -x "$deb" "$scratch/root"
usr=$scratch/root/usr
data=$usr/share/cadenzo
expected=(
  bin/cadenzo-cli share/man/man1/cadenzo-cli.1.gz share/doc/cadenzo/copyright
  share/cadenzo/StyleReplacementTable.txt share/cadenzo/PSR-S970.dat "share/cadenzo/TYROS 5.dat"
  share/cadenzo/sysex2.mid share/cadenzo/QuickStartGuide.rtf share/cadenzo/styles256.ico
  share/cadenzo/examples/Example.mfd
  "share/cadenzo/Blank 1 - PSR-1000 1100 2000 2100, CVP-203 to 210, TYROS.mfd"
)
if $gui; then
  expected+=(
    bin/cadenzo share/man/man1/cadenzo.1.gz share/cadenzo/Cadenzo.pdf
    share/applications/cadenzo.desktop share/mime/packages/cadenzo.xml
    share/icons/hicolor/scalable/apps/cadenzo.svg
  )
  for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/cadenzo.png")
  done
fi
for file in "${expected[@]}"; do
  [ -s "$usr/$file" ] || fail "missing from the package: /usr/$file"
done
grep -qx 'License: GPL-3.0-or-later' "$usr/share/doc/cadenzo/copyright" ||
  fail "copyright: licence"
if $gui; then
  # Each picture of the icon set has the size its folder names.
  if command -v file >/dev/null; then
    for size in 16 22 24 32 48 64 128 256; do
      png=$usr/share/icons/hicolor/${size}x${size}/apps/cadenzo.png
      file -b "$png" | grep -q "PNG image data, $size x $size" || fail "$png: $(file -b "$png")"
    done
  fi
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$usr/share/applications/cadenzo.desktop" || fail "desktop entry"
  fi
  grep -qx 'MimeType=application/x-music-finder;' "$usr/share/applications/cadenzo.desktop" ||
    fail "the desktop entry does not open Music Finder files"
  grep -q 'glob pattern="\*.mfd"' "$usr/share/mime/packages/cadenzo.xml" || fail "file type glob"
fi
# Nothing of the build tree or the tests.
if dpkg-deb -c "$deb" | grep -Eq '_test|/build/|\.a$|midi_send_probe'; then
  dpkg-deb -c "$deb"
  fail "the package holds test or build files"
fi

# The installed programs, with a scratch home so that no real user folder is touched.
export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/.local/share
mkdir -p "$HOME"
example=$data/examples/Example.mfd

version=$("$usr/bin/cadenzo-cli" --version)
echo "$version"
[[ $version == "cadenzo-cli "[0-9]* ]] || fail "--version printed '$version'"

info=$("$usr/bin/cadenzo-cli" info "$example")
echo "$info"
echo "$info" | grep -qx 'source instrument: PSR-S970' || fail "info: source instrument"
echo "$info" | grep -qx 'record count: 300' || fail "info: record count"

# Style names come from the installed style list: the first row's style is a name there.
first_style=$("$usr/bin/cadenzo-cli" list "$example" | sed -n 2p | cut -f4)
echo "first style: $first_style"
grep -q "^${first_style};" "$data/PSR-S970.dat" || fail "list did not use the installed style list"
# With its data folder gone, the installed program says so instead of finding other data.
mv "$data/PSR-S970.dat" "$scratch/PSR-S970.dat"
if "$usr/bin/cadenzo-cli" convert "$example" --target PSR-S970 -o "$scratch/out.mfd" \
    >"$scratch/missing.log" 2>&1; then
  fail "convert ran without the installed style list"
fi
grep -q "$data/PSR-S970.dat" "$scratch/missing.log" || fail "missing style list not named"
mv "$scratch/PSR-S970.dat" "$data/PSR-S970.dat"

if $gui; then
  # The installed window opens the installed example and quits after its first paint.
  CADENZO_QUIT_AFTER_PAINT=1 QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 timeout 120 "$usr/bin/cadenzo" "$example" \
    2>"$scratch/gui.log" || {
    cat "$scratch/gui.log"
    fail "cadenzo did not quit after its first paint"
  }
  # The same windows started from the installed folder (the screenshot tool placed beside the
  # program) read the installed style list: the caption names the default style, the last style
  # of that list. The leak check stays with the window tests; the windowing library's own
  # allocations at exit are no concern here.
  [ -x "$bin/cadenzo-screenshot" ] || fail "cadenzo-screenshot is not built"
  cp "$bin/cadenzo-screenshot" "$usr/bin/"
  shot=$scratch/window.png
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 \
    timeout 120 "$usr/bin/cadenzo-screenshot" "$shot" "$example" 2>"$scratch/shot.log" || {
    cat "$scratch/shot.log"
    fail "the windows did not quit after their screenshot"
  }
  cat "$scratch/shot.log"
  [ -s "$shot" ] || fail "no screenshot"
  last_style=$(grep -a ';' "$data/PSR-S970.dat" | grep -av '^#' | tail -1 | cut -d';' -f1)
  grep -qF "Source Instrument = PSR-S970   Default Style = $last_style\"" "$scratch/shot.log" ||
    fail "the window did not show the default style '$last_style' of the installed list"
fi
echo "package test passed"
