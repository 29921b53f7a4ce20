# Build conventions shared by every target.
#
# Sources of a folder are split by name: X_win.cpp belongs to the Win32 layer
# (tovo_win), every other .cpp to the portable core (tovo_core). The program's
# entry point app/main_win.cpp is linked into the executable only.

function(tovo_target_options target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      # GCC 12 reports false -Wrestrict overlaps inside libstdc++'s string
      # concatenation at -O2 (fixed in GCC 13).
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
  if(TOVO_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(TOVO_TSAN)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=thread)
  endif()
endfunction()

function(tovo_add_folder dir)
  file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  file(GLOB win_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*_win.cpp)
  list(FILTER core_sources EXCLUDE REGEX "_win\\.cpp$")
  list(FILTER win_sources EXCLUDE REGEX "/app/main_win\\.cpp$")
  if(core_sources)
    target_sources(tovo_core PRIVATE ${core_sources})
  endif()
  if(WIN32 AND win_sources)
    target_sources(tovo_win PRIVATE ${win_sources})
  endif()
endfunction()

# A GoogleTest program. Natively each test case is registered on its own; under
# Wine too, discovered when the tests run so the build never starts Wine.
function(tovo_add_gtest name)
  cmake_parse_arguments(T "SERIAL" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  tovo_target_options(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(MINGW)
    target_link_options(${name} PRIVATE -static)
  endif()
  include(GoogleTest)
  set(serial FALSE)
  if(T_SERIAL)
    set(serial TRUE)  # tests that drive whole programs on the shared display
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT 120 RUN_SERIAL ${serial})
endfunction()

# A Windows program: statically linked with MinGW (it needs only system DLLs),
# wide entry points (wWinMain / wmain). MSVC picks the wide entry by itself.
function(tovo_windows_program target)
  if(MINGW)
    target_link_options(${target} PRIVATE -static -municode)
  endif()
endfunction()
