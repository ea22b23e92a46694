# Sanitized builds. CORVANE_SANITIZE builds everything with AddressSanitizer
# and UndefinedBehaviorSanitizer (any compiler that has them), so the whole
# test suite can run under them; CORVANE_FUZZ adds libFuzzer's coverage
# instrumentation (clang only) and builds the fuzz targets of tests/fuzz.
option(CORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(CORVANE_FUZZ "Build the libFuzzer targets (clang, implies the sanitizers)" OFF)

if(CORVANE_SANITIZE OR CORVANE_FUZZ)
  # Undefined behaviour stops the program like an address error does, so no
  # finding scrolls past in a passing test.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(CORVANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "CORVANE_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
