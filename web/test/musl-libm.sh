#!/usr/bin/env bash
# Builds OUT.so: the transcendental functions the physics calls (sin, cos, sincos, atan,
# atan2, exp, pow), compiled from the musl sources that Emscripten's C library uses. With it
# preloaded, the desktop programs compute exactly what the page computes, so a state that still
# differs would point at the core itself rather than at the two C libraries' last bits.
set -euo pipefail
out=$1
musl=${EMSCRIPTEN_MUSL:-/usr/share/emscripten/system/lib/libc/musl}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# glibc's math.h declares __sin, __cos and __tan itself: musl's kernels are renamed.
rename='s/\b__(sin|cos|tan)(l?)\b/musl_k\1\2/g'
sed -E "$rename" "$musl/src/internal/libm.h" >"$work/libm.h"
cp "$musl/arch/generic/fp_arch.h" "$musl"/src/math/{exp,pow}_data.h "$work/"
for name in sin cos sincos atan atan2 exp pow exp_data pow_data __sin __cos __rem_pio2 \
            __rem_pio2_large __math_oflow __math_uflow __math_xflow __math_invalid __math_divzero; do
  sed -E "$rename" "$musl/src/math/$name.c" >"$work/$name.c"
  gcc -O2 -fPIC '-Dhidden=__attribute__((visibility("hidden")))' -I"$work" \
    -c "$work/$name.c" -o "$work/$name.o"
done
gcc -shared -o "$out" "$work"/*.o
