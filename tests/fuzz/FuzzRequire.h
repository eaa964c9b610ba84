#pragma once
// A broken property of a fuzz target: stop at once, so that libFuzzer keeps
// the input that broke it.

inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}
