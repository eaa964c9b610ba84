#!/usr/bin/env bash
# The Debian package, as a technician gets it: built by scripts/package-deb,
# holding exactly its files, with a valid desktop entry and AppStream data;
# installed with apt-get, the installed Sentrabus started offscreen against the
# installed simulator finds the device; then the package is removed again.
#
# It installs into the system, so ./test runs it only with --package or when
# CI=true. As root, or through sudo.
set -euo pipefail
cd "$(dirname "$0")/../.."

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive

fail() {
    echo "package check: FAILED: $*" >&2
    exit 1
}

deb=$(scripts/package-deb)
deb=$(realpath "$deb")
cmake --build --preset default --target sentrabus_search_driver >/dev/null
driver=$(realpath build/default/tests/libsentrabus_search_driver.so)

echo "package check: file list of $(basename "$deb")"
id=org.sentrabus.Sentrabus
expected="./usr/bin/Sentrabus
./usr/bin/sentrabus-cli
./usr/bin/sentrabus-sim
./usr/lib/systemd/system/sentrabus-serve@.service
./usr/share/applications/$id.desktop
./usr/share/icons/hicolor/128x128/apps/$id.png
./usr/share/icons/hicolor/16x16/apps/$id.png
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/32x32/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/icons/hicolor/64x64/apps/$id.png
./usr/share/man/man1/Sentrabus.1.gz
./usr/share/man/man1/sentrabus-cli.1.gz
./usr/share/man/man1/sentrabus-sim.1.gz
./usr/share/metainfo/$id.metainfo.xml"
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$actual" = "$expected" ] || fail "the package holds other files:
$(diff <(echo "$expected") <(echo "$actual") || true)"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 qt6-qpa-plugins fonts-wqy-zenhei; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

work=$(mktemp -d)
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
    wait 2>/dev/null || true
    "${as_root[@]}" apt-get remove -y -qq sentrabus >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

echo "package check: apt-get install"
"${as_root[@]}" apt-get install -y -qq --reinstall "$deb" >"$work/apt.log" 2>&1 ||
    fail "apt-get install: $(cat "$work/apt.log")"
for file in $expected; do
    [ -e "${file#.}" ] || fail "${file#.} is not installed"
done

echo "package check: desktop entry and AppStream data as installed"
desktop-file-validate "/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$work/appstream.log")"
for size in 16 32 48 64 128 256; do
    file -b "/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" ||
        fail "the ${size} px icon is $(file -b "/usr/share/icons/hicolor/${size}x${size}/apps/$id.png")"
done
man -l /usr/share/man/man1/Sentrabus.1.gz >/dev/null 2>&1 || zcat /usr/share/man/man1/Sentrabus.1.gz | grep -q '^\.TH' ||
    fail "the manual page does not read"

echo "package check: the installed Sentrabus finds the installed simulator's device"
/usr/bin/sentrabus-sim --device th --address 5 --baud 4800 --link "$work/com1" >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 100); do
    [ -e "$work/com1" ] && break
    sleep 0.05
done
[ -e "$work/com1" ] || fail "the simulator did not start: $(cat "$work/sim.err")"
status=0
SENTRABUS_COM1="$work/com1" SENTRABUS_TRACE=1 QT_QPA_PLATFORM=offscreen LD_PRELOAD="$driver" \
    timeout 60 /usr/bin/Sentrabus >"$work/app.out" 2>"$work/app.err" || status=$?
grep -q "^search result: Device Address:5  Band Rate:4800$" "$work/app.out" ||
    fail "no device found (exit $status): $(cat "$work/app.out" "$work/app.err")"
grep -q "sentrabus.frames: .*FD reply: address 5, baud code 2 (4800 bit/s)	good" "$work/app.err" ||
    fail "the frame trace lacks the search's reply: $(cat "$work/app.err")"
[ "$status" -eq 0 ] || fail "Sentrabus exited with $status"

echo "package check: the installed sentrabus-cli reads the same device"
status=0
SENTRABUS_COM1="$work/com1" timeout 60 /usr/bin/sentrabus-cli --json read temperature >"$work/cli.out" 2>"$work/cli.err" ||
    status=$?
grep -q '"name":"temperature","ok":true,"value":25.0' "$work/cli.out" ||
    fail "sentrabus-cli read nothing (exit $status): $(cat "$work/cli.out" "$work/cli.err")"

echo "package check: apt-get remove"
kill "$sim_pid" 2>/dev/null || true
wait "$sim_pid" 2>/dev/null || true
sim_pid=""
"${as_root[@]}" apt-get remove -y -qq sentrabus >"$work/apt.log" 2>&1 || fail "apt-get remove: $(cat "$work/apt.log")"
[ ! -e /usr/bin/Sentrabus ] || fail "/usr/bin/Sentrabus is still there after the removal"
echo "package check: passed"
