# The build step the benchmarks and picture scripts share; source it, do not run it.
#   vn_build PRESET FOLDER TARGET...
# configures FOLDER with the CMake preset PRESET if it never was, then builds the
# targets in it, quietly.
vn_build() {
  local preset=$1 folder=$2
  shift 2
  [ -f "$folder/CMakeCache.txt" ] || cmake --preset "$preset" -B "$folder" >/dev/null
  cmake --build "$folder" --target "$@" -j 2 >/dev/null
}
