# Sourced by test.sh and tools/test-asan.sh: configures, builds and runs the
# test suite of one CMake preset, window tests included (offscreen).
abrivo_run_suite() {
  local preset=$1
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j "$(nproc)"
}
