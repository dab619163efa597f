# Sourced: configures and builds one configuration.
build_config() {  # build_config <root> <build-folder> <toolchain-file>
    local root=$1 dir=$2 toolchain=$3
    cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" -DCMAKE_BUILD_TYPE=Release \
        >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" -j"$(nproc)" 2>&1 | grep -Ev '^\[ *[0-9]+%\]' || true
    return "${PIPESTATUS[0]}"
}
