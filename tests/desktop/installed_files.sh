#!/usr/bin/env bash
# Installs the build into a scratch root and checks what lands where: the
# player and its sound library side by side behind bin/vork, the tools, the
# demo course with its command, and desktop and AppStream files that their
# validators accept. The installed tools then compile a course that the
# installed player runs, and the menu's command starts the demo course.
#   installed_files.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(mktemp -d "${TMPDIR:-/tmp}/vork-install.XXXXXX")
trap 'rm -rf "$root"' EXIT
prefix=/usr
DESTDIR="$root" cmake --install "$build" --prefix "$prefix" >/dev/null
inst="$root$prefix"

fail() { echo "installed_files: $*" >&2; exit 1; }
id=com.kestrova.vork
for file in bin/vork bin/vkasm bin/vka bin/vkc bin/vork-demo \
            share/vork/demo/demo share/vork/demo/liboggaudio.so share/vork/demo/demo.vka \
            share/vork/demo/media/media.dir share/vork/demo/users \
            share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg; do
  [ -e "$inst/$file" ] || fail "missing $file"
done
player=$(readlink -f "$inst/bin/vork")
[ -x "$player" ] || fail "bin/vork does not lead to the player"
[ -f "$(dirname "$player")/liboggaudio.so" ] || fail "no liboggaudio.so beside $player"
# The parts loaded when first needed (printing, the network) sit beside
# every copy of the player too.
for module in libvork_network.so libvork_printing.so; do
  for dir in "$(dirname "$player")" "$inst/share/vork/demo"; do
    [ -f "$dir/$module" ] || fail "no $module in $dir"
  done
done
# A relative link keeps working when the installed tree is moved.
case $(readlink "$inst/bin/vork") in /*) fail "bin/vork is an absolute link" ;; esac

desktop-file-validate "$inst/share/applications/$id.desktop"
grep -qx 'Categories=Education;Languages;' "$inst/share/applications/$id.desktop" ||
  fail "the desktop file lacks Categories=Education;Languages;"
appstreamcli validate --no-net "$inst/share/metainfo/$id.metainfo.xml"

# The installed programs work from their installed places.
work="$root/course"
mkdir -p "$work/media" "$work/users" "$work/runtime"
chmod 700 "$work/runtime"
touch "$work/media/media.dir"
printf 'void main() {\n  sys.showInfo("installed");\n  sys.changeScene(0);\n}\n' >"$work/hello.vkc"
"$inst/bin/vkc" "$work/hello.vkc" -o "$work/hello.vkbc"
out=$(XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" HOME="$work" \
      QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
      "$inst/bin/vork" --image "$work/hello.vkbc" --transcript - --timeout 20000)
[ "$out" = "info: installed" ] || fail "the installed player said: $out"

# The menu's command starts the demo course from the learner's own copy
# (the installed one is read-only for learners); Escape on the title ends it.
echo 'key Escape' >"$work/escape.events"
(XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
 HOME="$work" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
 "$inst/bin/vork-demo" --transcript "$work/demo.out" --events "$work/escape.events" --timeout 20000) ||
  fail "the demo course did not end normally: $(cat "$work/demo.out")"
[ -f "$work/data/vork/demo/demo.vka" ] || fail "the demo course was not copied for the learner"
grep -qx "Exec=vork-demo" "$inst/share/applications/$id.desktop" || fail "the menu entry does not start the demo course"
echo "installed_files: ok"
