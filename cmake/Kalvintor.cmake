# Build-wide compiler settings and the helpers every area uses to add libraries, tests and fuzz targets.

find_program(KALVINTOR_CCACHE ccache)
if(KALVINTOR_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER "${KALVINTOR_CCACHE}")
  set(CMAKE_CXX_COMPILER_LAUNCHER "${KALVINTOR_CCACHE}")
endif()

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -Woverloaded-virtual -Wimplicit-fallthrough)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_compile_options(-Wnull-dereference)
else()
  # GCC 12's optimiser reports null dereferences, overlapping copies and out-of-bounds copies
  # inside inlined standard-library code (std::string assignment, std::vector insertion,
  # std::streambuf) that cannot happen; clang checks the project's own code for these.
  add_compile_options(-Wno-restrict -Wno-array-bounds)
endif()
if(KALVINTOR_WERROR)
  add_compile_options(-Werror)
endif()

if(KALVINTOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KALVINTOR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KALVINTOR_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  # Coverage for the fuzzers in every library they link; the fuzzer main is linked only into the targets.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Every subfolder of DIR that has a CMakeLists.txt, in a stable order: areas add themselves by existing.
function(kalvintor_add_subfolders dir)
  file(GLOB children LIST_DIRECTORIES true "${dir}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${child}" AND EXISTS "${child}/CMakeLists.txt")
      add_subdirectory("${child}")
    endif()
  endforeach()
endfunction()

# The environment every test runs in: headless Qt, a private runtime directory, quiet ALSA, and
# a machine settings file that no test shares with the installed program.
set(KALVINTOR_TEST_RUNTIME_DIR "${CMAKE_BINARY_DIR}/test-runtime")
file(MAKE_DIRECTORY "${KALVINTOR_TEST_RUNTIME_DIR}")
file(CHMOD "${KALVINTOR_TEST_RUNTIME_DIR}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(KALVINTOR_TEST_ENV
    "QT_QPA_PLATFORM=offscreen"
    "XDG_RUNTIME_DIR=${KALVINTOR_TEST_RUNTIME_DIR}"
    "KALVINTOR_MACHINE_SETTINGS=${CMAKE_BINARY_DIR}/test-runtime/no-machine-settings.ini"
    "KALVINTOR_PROGRAM_DIR=${KALVINTOR_PROGRAM_DIR}"
    "KALVINTOR_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# kalvintor_gtest(NAME LABEL area SOURCES ... LIBS ... [QT])
# One GoogleTest executable; every test case becomes a CTest test labelled with its area.
# QT tests get a main that creates a QApplication on the offscreen platform.
function(kalvintor_gtest name)
  cmake_parse_arguments(T "QT" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock)
  if(T_QT)
    target_link_libraries(${name} PRIVATE kalvintor_qtest_main Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests")
  # Test programs stay out of the program directory that the build lays out like an installation.
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests-bin")
  # The test environment goes in front of the program through env(1): a list-valued ENVIRONMENT
  # property does not survive test discovery, and discovery itself needs the environment too.
  find_program(KALVINTOR_ENV env REQUIRED)
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${KALVINTOR_ENV};${KALVINTOR_TEST_ENV}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${T_LABEL}" TIMEOUT 300)
endfunction()

# kalvintor_fuzz(NAME SOURCE LIBS ...)
# With KALVINTOR_FUZZ: a libFuzzer binary and a short CTest run over its corpus (label fuzz).
# Without: the same target linked to a driver that feeds it every file of its corpus, so the
# stored inputs stay regression tests in every build.
function(kalvintor_fuzz name source)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  set(corpus "${CMAKE_SOURCE_DIR}/fuzz/corpus/${name}")
  file(GLOB seeds "${corpus}/*")
  if(NOT seeds)
    message(FATAL_ERROR "fuzz target ${name} has no seed inputs in ${corpus}")
  endif()
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  if(KALVINTOR_FUZZ)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(work "${CMAKE_BINARY_DIR}/fuzz-work/${name}")
    file(MAKE_DIRECTORY "${work}")
    add_test(NAME fuzz.${name}
      COMMAND ${name} -max_total_time=20 -rss_limit_mb=2048 -timeout=10 "${work}" "${corpus}")
  else()
    target_sources(${name} PRIVATE "${CMAKE_SOURCE_DIR}/fuzz/CorpusDriver.cpp")
    add_test(NAME fuzz.${name} COMMAND ${name} "${corpus}")
  endif()
  set_tests_properties(fuzz.${name} PROPERTIES LABELS "fuzz" ENVIRONMENT "${KALVINTOR_TEST_ENV}" TIMEOUT 300)
endfunction()
