#!/bin/sh
# Builds the fuzz targets under tests/fuzz with clang's libFuzzer and runs each
# for a few seconds: the reply checks, the frame decoder, the simulator's
# request handling, the receive path (byte queue and receive thread) and the
# conversions of typed numbers, and the device profile reader.
# Usage: fuzz.sh [work dir, default a temporary one] [seconds per target, default 5] [target...]
# The work dir keeps the binaries (rebuilt when a source is newer), the
# corpora, so later runs start from what earlier ones found, and each run's log
# (<target>.log, with libFuzzer's final statistics).
# Exits 0 without doing anything when clang++ is not installed.
set -eu

CLANG=${CLANG:-/usr/bin/clang++}
if ! command -v "$CLANG" >/dev/null 2>&1; then
    echo "fuzz: $CLANG not found, skipped"
    exit 0
fi

ROOT=$(cd "$(dirname "$0")/.." && pwd)
HERE="$ROOT/tests/fuzz"
WORK=${1:-}
SECONDS_EACH=${2:-5}
[ $# -gt 2 ] && shift 2 || set --
TARGETS=${*:-fuzz_reply_checks fuzz_frame_decoder fuzz_sim_requests fuzz_receive_path fuzz_text_numbers fuzz_profile}
if [ -z "$WORK" ]; then
    WORK=$(mktemp -d)
    trap 'rm -rf "$WORK"' EXIT
fi
mkdir -p "$WORK"

FLAGS="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I$ROOT/src -I$ROOT/tools"
PROTOCOL="$ROOT/src/protocol/Crc16.cpp $ROOT/src/protocol/BaudCodes.cpp $ROOT/src/protocol/ReplyChecks.cpp"
# The catalogue and its value forms, with the strict and lenient texts they read.
CATALOGUE="$ROOT/src/protocol/Catalogue.cpp $ROOT/src/protocol/ValueForms.cpp $ROOT/src/protocol/StrictText.cpp $ROOT/src/protocol/TextNumbers.cpp"
DECODER="$ROOT/src/protocol/FrameDecoder.cpp $ROOT/src/protocol/FrameWords.cpp $ROOT/src/protocol/ReplyJudge.cpp $CATALOGUE"
SIM="$ROOT/tools/sim/RequestCutter.cpp $ROOT/tools/sim/Devices.cpp $ROOT/tools/sim/DeviceFd.cpp"
SIM="$SIM $ROOT/tools/sim/DeviceRegisters.cpp $ROOT/tools/sim/DeviceFc.cpp $ROOT/tools/sim/DeviceWireless.cpp"
SIM="$SIM $ROOT/tools/sim/DeviceState.cpp $ROOT/tools/sim/Fault.cpp"
# The serial link without its platform backend: the target brings a fake one.
SERIAL="$ROOT/src/serial/ByteQueue.cpp $ROOT/src/serial/ReceivePath.cpp $ROOT/src/serial/SerialPort.cpp"
SERIAL="$SERIAL $ROOT/src/serial/PortEvents.cpp $ROOT/src/serial/PortPath.cpp $ROOT/src/serial/PortWakeupPosix.cpp"
NUMBERS="$ROOT/src/protocol/TextNumbers.cpp $ROOT/src/widgets/DlgItemInt.cpp"
PROFILE="$ROOT/src/device/Profile.cpp $ROOT/src/device/StrictValues.cpp $CATALOGUE"

# build <target> <extra flags> <sources...>: compiles when the binary is missing
# or older than any source or header it may use.
build() {
    target=$1
    extra=$2
    shift 2
    if [ -x "$WORK/$target" ] && [ -z "$(find "$ROOT/src/protocol" "$ROOT/src/serial" "$ROOT/src/device" \
            "$ROOT/src/widgets/DlgItemInt.cpp" "$ROOT/src/widgets/DlgItemInt.h" \
            "$ROOT/tools/sim" "$HERE" -newer "$WORK/$target" \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null)" ]; then
        return 0
    fi
    echo "fuzz: building $target"
    # shellcheck disable=SC2086
    "$CLANG" $FLAGS $extra -o "$WORK/$target" "$@"
}

# The targets are compiled side by side, one clang each, so that a fresh
# checkout does not wait for them one after the other; a failed compile fails
# the run once all have ended.
builds=""
for target in $TARGETS; do
    case "$target" in
        # shellcheck disable=SC2086
        fuzz_reply_checks) build "$target" "" "$HERE/$target.cpp" $PROTOCOL &
            builds="$builds $!" ;;
        # shellcheck disable=SC2086
        fuzz_frame_decoder) build "$target" "" "$HERE/$target.cpp" $PROTOCOL $DECODER &
            builds="$builds $!" ;;
        # shellcheck disable=SC2086
        fuzz_sim_requests) build "$target" "" "$HERE/$target.cpp" $PROTOCOL $SIM &
            builds="$builds $!" ;;
        # shellcheck disable=SC2086
        fuzz_profile) build "$target" "" "$HERE/$target.cpp" $PROFILE &
            builds="$builds $!" ;;
        # shellcheck disable=SC2086
        fuzz_receive_path) build "$target" "-pthread" "$HERE/$target.cpp" $SERIAL &
            builds="$builds $!" ;;
        # shellcheck disable=SC2086
        fuzz_text_numbers) build "$target" "" "$HERE/$target.cpp" $NUMBERS &
            builds="$builds $!" ;;
        *) echo "fuzz: unknown target $target"; exit 2 ;;
    esac
done
failed=false
for pid in $builds; do
    wait "$pid" || failed=true
done
if $failed; then
    echo "fuzz: a target did not compile"
    exit 1
fi

# Inputs long enough for a run past the byte queues' 4095 bytes, and for
# numbers of several hundred digits.
max_len() {
    case "$1" in
        fuzz_receive_path) echo 6000 ;;
        fuzz_text_numbers) echo 600 ;;
        *) echo 1100 ;;
    esac
}

# run <target>: one run, its exit status left in <target>.status.
run() {
    mkdir -p "$WORK/corpus-$1"
    status=0
    "$WORK/$1" -max_total_time="$SECONDS_EACH" -max_len="$(max_len "$1")" -print_final_stats=1 \
        -artifact_prefix="$WORK/$1-" "$WORK/corpus-$1" >"$WORK/$1.log" 2>&1 || status=$?
    echo "$status" >"$WORK/$1.status"
}

# Each run keeps one core busy for its seconds, so as many run side by side as
# there are cores; the results are reported in the targets' order.
JOBS=${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 1)}
running=0
for target in $TARGETS; do
    echo "fuzz: $target for ${SECONDS_EACH}s"
    run "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$JOBS" ]; then
        wait
        running=0
    fi
done
wait
for target in $TARGETS; do
    if [ "$(cat "$WORK/$target.status")" != 0 ]; then
        tail -40 "$WORK/$target.log"
        echo "fuzz: $target FAILED (crash input in $WORK)"
        exit 1
    fi
    grep -E "^Done [0-9]+ runs" "$WORK/$target.log" || true
done
echo "fuzz: passed"
