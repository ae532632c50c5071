#!/usr/bin/env bash
# Builds the Debian package from a configured build tree, unpacks it into a scratch root and
# checks it as a user's machine would see it: the control fields with the Qt libraries among the
# dependencies, every installed file, a desktop entry that desktop-file-validate accepts and whose
# command is the installed program, and the installed program starting headless and finding its
# installed help. Exits 77 (skipped) where dpkg-deb is missing.
set -euo pipefail
build="$1"
source="$2"
command -v dpkg-deb >/dev/null || { echo "check_deb: no dpkg-deb, skipped"; exit 77; }
work=$(mktemp -d)
ppid=""
cleanup() {
  [ -n "$ppid" ] && kill "$ppid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check_deb: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/out/pelmar32_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single pelmar32_*.deb: ${debs[*]}"
deb="${debs[0]}"

# Control fields: what apt needs to install it on Debian 12.
[ "$(dpkg-deb -f "$deb" Package)" = pelmar32 ] || fail "package name"
version=$(dpkg-deb -f "$deb" Version)
[[ "$deb" == *"pelmar32_${version}_$(dpkg-deb -f "$deb" Architecture).deb" ]] || fail "file name $deb for $version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libqt6printsupport6 libtidy5deb1 libutf8proc2 libc6; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
[ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no Description"

# The files: the program, the desktop entry, the icon, the manual page and every help topic.
root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/pelmar32 usr/share/applications/pelmar32.desktop \
         usr/share/icons/hicolor/scalable/apps/pelmar32.svg usr/share/man/man1/pelmar32.1; do
  [ -f "$root/$f" ] || fail "missing /$f"
done
[ -x "$root/usr/bin/pelmar32" ] || fail "the program is not executable"
for page in "$source"/help/*.html; do
  cmp -s "$page" "$root/usr/share/pelmar32/help/$(basename "$page")" || fail "help page $(basename "$page") not installed"
done
unexpected=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v -E '^\./(usr/?|usr/bin/?.*|usr/share/?|usr/share/(applications|icons|man|pelmar32)(/.*)?)$' || true)
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/pelmar32.svg" || fail "the icon is no SVG"

# The desktop entry.
entry="$root/usr/share/applications/pelmar32.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
else
  fail "desktop-file-validate is missing (scripts/bootstrap installs desktop-file-utils)"
fi
grep -qx 'MimeType=text/html;text/plain;' "$entry" || fail "MimeType is not text/html and text/plain"
grep -qx 'Icon=pelmar32' "$entry" || fail "the entry names another icon"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
program=${exec_line%% *}
[ -x "$root/usr/bin/$program" ] || fail "Exec names $program, which the package does not install in /usr/bin"

# The installed program, started as the menu entry starts it (without a display).
installed="$root/usr/bin/$program"
[ "$("$installed" --version)" = "Pelmar32 1.5f" ] || fail "--version says: $("$installed" --version)"
helpdir=$(QT_QPA_PLATFORM=offscreen "$installed" --help | sed -n 's/^Help topics: //p')
[ "$helpdir" = "$(cd "$root/usr/share/pelmar32/help" && pwd -P)" ] || fail "the installed program reads its help from '$helpdir'"
mkdir -p "$work/config" "$work/cwd"
printf '<HTML><BODY><P>Installed &amp; running</P></BODY></HTML>\r\n' >"$work/cwd/page.htm"
(
  cd "$work/cwd"
  args=${exec_line#"$program"}
  args=${args//%F/$work/cwd/page.htm}
  # shellcheck disable=SC2086
  exec env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" "$installed" $args
) >"$work/run.log" 2>&1 &
ppid=$!
sleep 3
kill -0 "$ppid" 2>/dev/null || { cat "$work/run.log"; fail "the installed program ended on its own"; }
kill "$ppid"
wait "$ppid" 2>/dev/null || true
ppid=""
if grep -E -i 'cannot|could not|error|segmentation' "$work/run.log"; then
  fail "the installed program complained"
fi
echo "check_deb: $(basename "$deb") ($(du -k "$deb" | cut -f1) KB) installs $(dpkg-deb -c "$deb" | grep -c -v '/$') files; Depends: $depends"
