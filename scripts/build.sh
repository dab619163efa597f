# Sourced: configures and builds one configuration.
#   build_config <root> <build-folder> <toolchain-file> [cmake option...] [-- target...]
#   configure_config <root> <build-folder> <toolchain-file> [cmake option...]
# One build at a time in a folder: a second run waits for the first. The
# compiler's lines are left out; each file is named as its compile starts
# (some take minutes on a busy machine), each finished target once done.
# A build that was killed leaves its mark; the next one first removes every
# object, library and program the killed one wrote, since any of them may be
# cut short and would look up to date.

configure_config() {
    local root=$1 dir=$2 toolchain=$3
    shift 3
    mkdir -p "$(dirname "$dir")"
    (
        exec 9>"$dir.lock"
        flock 9
        cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" -DCMAKE_BUILD_TYPE=Release \
            "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
    )
}

build_config() {
    local root=$1 dir=$2 toolchain=$3
    shift 3
    local options=() targets=()
    while (($#)); do
        if [[ $1 == -- ]]; then
            shift
            for t in "$@"; do targets+=(--target "$t"); done
            break
        fi
        options+=("$1")
        shift
    done
    mkdir -p "$(dirname "$dir")"
    (
        exec 9>"$dir.lock"
        if ! flock -n 9; then
            echo "Waiting for another build in $dir..."
            flock 9
        fi
        local mark="$dir.building"
        if [[ -e $mark && -d $dir ]]; then
            echo "Removing what an interrupted build in $dir wrote..."
            find "$dir" -type f -newer "$mark" \( -iname '*.obj' -o -iname '*.a' -o -iname '*.exe' -o -iname '*.dll' \
                -o -iname '*.ocx' -o -iname '*.part' \) -delete
        fi
        touch "$mark"
        cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" -DCMAKE_BUILD_TYPE=Release \
            "${options[@]}" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
        cmake --build "$dir" -j"$(nproc)" "${targets[@]}" 2>&1 |
            awk '/^\[ *[0-9]+%\] Building / { f = $NF; sub(/\.(obj|o)$/, "", f); sub(/CMakeFiles\/[^\/]*\.dir\//, "", f)
                                               print substr($0, 1, index($0, "]")) " compiling " f; fflush(); next }
                 /^\[ *[0-9]+%\]/ { if (/Built target/) { print; fflush() } next } { print; fflush() }'
        local rc=${PIPESTATUS[0]}
        # A failed build is whole too: what it wrote is finished or was removed by make.
        rm -f "$mark"
        exit "$rc"
    )
}
