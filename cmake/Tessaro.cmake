# tessaro_library(<name> SOURCES ... [WIN32_SOURCES ...] [DEPS ...] [WIN32_LIBS ...])
# A library under src/: portable sources everywhere, *_win32 sources only in the Windows build.
function(tessaro_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;WIN32_SOURCES;DEPS;WIN32_LIBS" ${ARGN})
  set(sources ${ARG_SOURCES})
  if(WIN32)
    list(APPEND sources ${ARG_WIN32_SOURCES})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(WIN32 AND ARG_WIN32_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_WIN32_LIBS})
  endif()
endfunction()

# tessaro_test(<name> SOURCES ... [DEPS ...] [NATIVE_ONLY] [WINDOWS_ONLY] [USER_SETTINGS] [LABELS ...]
#              [SCRIPT <script> [SCRIPT_ARGS ...]])
# One GoogleTest executable, registered as one ctest test (one Wine start per executable).
# SCRIPT: ctest runs `<script> SCRIPT_ARGS... <test program> scripts/wine-run.sh` instead; the script
# sets up what the test talks to (servers, locked folders) and runs the program under Wine.
# USER_SETTINGS: the test owns the Wine prefix's roaming settings folder while it runs: one at a time.
function(tessaro_test name)
  cmake_parse_arguments(ARG "NATIVE_ONLY;WINDOWS_ONLY;USER_SETTINGS" "SCRIPT" "SOURCES;DEPS;LABELS;SCRIPT_ARGS"
                        ${ARGN})
  if(ARG_NATIVE_ONLY AND WIN32)
    return()
  endif()
  if(ARG_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    TESSARO_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TESSARO_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(ARG_SCRIPT)
    add_test(NAME ${name} COMMAND ${ARG_SCRIPT} ${ARG_SCRIPT_ARGS} $<TARGET_FILE:${name}>
                                  ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(ARG_USER_SETTINGS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK tessaro_user_settings)
  endif()
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()
