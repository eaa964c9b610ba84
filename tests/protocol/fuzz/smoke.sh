#!/bin/sh
# Builds the fuzz targets of the reply checks, the frame decoder and the
# simulator's request handling with clang's libFuzzer and runs each for a few seconds.
# Usage: smoke.sh [work dir, default a temporary one] [seconds per target, default 5]
# The work dir keeps the binaries (rebuilt when a source is newer) and the
# corpora, so later runs start from what earlier ones found.
# Exits 0 without doing anything when clang++ is not installed.
set -eu

CLANG=${CLANG:-/usr/bin/clang++}
if ! command -v "$CLANG" >/dev/null 2>&1; then
    echo "fuzz smoke: $CLANG not found, skipped"
    exit 0
fi

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../../.." && pwd)
WORK=${1:-}
SECONDS_EACH=${2:-5}
if [ -z "$WORK" ]; then
    WORK=$(mktemp -d)
    trap 'rm -rf "$WORK"' EXIT
fi
mkdir -p "$WORK"

FLAGS="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I$ROOT/src -I$ROOT/tools"
PROTOCOL="$ROOT/src/protocol/Crc16.cpp $ROOT/src/protocol/BaudCodes.cpp $ROOT/src/protocol/ReplyChecks.cpp"
DECODER="$ROOT/src/protocol/FrameDecoder.cpp $ROOT/src/protocol/FrameWords.cpp $ROOT/src/protocol/ReplyVerdict.cpp"
SIM="$ROOT/tools/sim/RequestCutter.cpp $ROOT/tools/sim/Devices.cpp $ROOT/tools/sim/DeviceFd.cpp"
SIM="$SIM $ROOT/tools/sim/DeviceRegisters.cpp $ROOT/tools/sim/DeviceFc.cpp $ROOT/tools/sim/DeviceWireless.cpp"
SIM="$SIM $ROOT/tools/sim/DeviceState.cpp $ROOT/tools/sim/Fault.cpp"

# build <target> <sources...>: compiles when the binary is missing or older
# than any source or header it may use.
build() {
    target=$1
    shift
    if [ -x "$WORK/$target" ] && [ -z "$(find "$ROOT/src/protocol" "$ROOT/tools/sim" "$HERE" \
            -newer "$WORK/$target" \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null)" ]; then
        return 0
    fi
    echo "fuzz smoke: building $target"
    # shellcheck disable=SC2086
    "$CLANG" $FLAGS -o "$WORK/$target" "$@"
}

# shellcheck disable=SC2086
build fuzz_reply_checks "$HERE/fuzz_reply_checks.cpp" $PROTOCOL
# shellcheck disable=SC2086
build fuzz_frame_decoder "$HERE/fuzz_frame_decoder.cpp" $PROTOCOL $DECODER
# shellcheck disable=SC2086
build fuzz_sim_requests "$HERE/fuzz_sim_requests.cpp" $PROTOCOL $SIM

for target in fuzz_reply_checks fuzz_frame_decoder fuzz_sim_requests; do
    mkdir -p "$WORK/corpus-$target"
    echo "fuzz smoke: $target for ${SECONDS_EACH}s"
    if ! "$WORK/$target" -max_total_time="$SECONDS_EACH" -max_len=1100 \
            -artifact_prefix="$WORK/$target-" "$WORK/corpus-$target" >"$WORK/$target.log" 2>&1; then
        tail -40 "$WORK/$target.log"
        echo "fuzz smoke: $target FAILED (crash input in $WORK)"
        exit 1
    fi
    grep -E "^Done [0-9]+ runs" "$WORK/$target.log" || true
done
echo "fuzz smoke: passed"
