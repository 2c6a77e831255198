# Shared settings for every target of the project, so warnings, sanitizers
# and include roots are the same everywhere.

function(korvane_apply_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(KORVANE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(KORVANE_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# korvane_library(<name> SOURCES ... [DEPS ...])
# One library target per source folder; the project root is the include root,
# so headers are included as "imaging/dib/cDIB.h".
function(korvane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  korvane_apply_settings(${name})
endfunction()

# korvane_test(<name> SOURCES ... [DEPS ...])
# A GoogleTest executable registered with CTest test by test.
function(korvane_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE KORVANE_TEST_OUTPUT_DIR="${PROJECT_BINARY_DIR}/test-output"
                                             KORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  korvane_apply_settings(${name})
  # Test names are gtest's own (parameterised tests name their cases), not
  # the printed parameter, which for a struct is raw bytes, heap addresses
  # among them, different in every build.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# korvane_tool(<name> SOURCES ... [DEPS ...]): a command-line tool.
function(korvane_tool name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  korvane_apply_settings(${name})
endfunction()

# Optimised builds take Debian's hardening flags (stack protector, fortified
# library calls, read-only relocations bound at start), as a Debian package
# is built. Only the hardening part is taken: optimisation and debug
# information stay with the build type.
option(KORVANE_HARDENING "Build optimised code with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(KORVANE_DPKG_BUILDFLAGS dpkg-buildflags)
if(KORVANE_HARDENING AND KORVANE_DPKG_BUILDFLAGS AND NOT KORVANE_SANITIZE AND NOT KORVANE_FUZZ
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${KORVANE_DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    foreach(flag ${flags})
      if(flag MATCHES "^-Wl,")
        add_link_options(${flag})
      elseif(flag MATCHES "^(-D_FORTIFY_SOURCE|-fstack-|-fcf-protection|-Wformat|-Werror=format)")
        add_compile_options(${flag})
      endif()
    endforeach()
  endforeach()
endif()
