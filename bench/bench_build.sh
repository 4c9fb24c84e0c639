# Sourced by the bench scripts: builds what a measurement runs in BUILD_DIR, with the benchmark programs
# turned on (they are off in an ordinary build). A folder not configured yet becomes a Release build.
#   bench_build BUILD_DIR TARGET...
bench_build() {
    local build="$1"
    shift
    local root
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    local first=()
    [ -f "$build/CMakeCache.txt" ] || first=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
    cmake -S "$root" -B "$build" "${first[@]}" -DSLP_BENCH=ON > /dev/null
    cmake --build "$build" --target "$@" > /dev/null
}
