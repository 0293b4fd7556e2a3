#!/usr/bin/env bash
# Builds the take engine with clang's thread-safety analysis as errors (preset thread-safety):
# every member marked GUARDED_BY is touched only with its mutex held. The engine's Windows
# backend is checked the same way with clang against mingw-w64's headers, where those are.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset thread-safety >/dev/null
cmake --build --preset thread-safety
mingw=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
[ -d "$mingw" ] || mingw=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix 2>/dev/null | tail -1 || true)
if [ -n "$mingw" ] && [ -d "$mingw/include/c++" ]; then
    for source in engine/backends/wasapi_backend.cpp; do
        echo "clang, thread-safety, Windows: $source"
        clang++ --target=x86_64-w64-mingw32 -std=c++20 -I. -isystem "$mingw/include/c++" \
            -isystem "$mingw/include/c++/x86_64-w64-mingw32" -D_GLIBCXX_HAS_GTHREADS -DUNICODE -D_UNICODE \
            -fsyntax-only -Wthread-safety -Werror=thread-safety "$source"
    done
fi
