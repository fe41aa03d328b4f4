# Compile settings shared by every target of ours.

# Strict warnings, errors on our own code only (third-party headers come in as
# system includes and stay quiet).
function(qov_strict target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wconversion -Wshadow -Werror)
endfunction()

# Targets that compose user-visible text keep it as GBK bytes in std::string:
# UTF-8 sources, narrow literals re-encoded to GBK by the compiler. Never give
# this to a target whose narrow literals reach Qt.
function(qov_gbk target)
  target_compile_options(${target} PRIVATE
    -finput-charset=UTF-8 -fexec-charset=GBK)
endfunction()

# A GoogleTest program registered with CTest under the given labels.
function(qov_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  qov_strict(${name})
  qov_gbk(${name})
  # <chrono> holds a µ that GBK cannot encode: sources that use it as an
  # oracle are named *_utf8.cpp and keep UTF-8 literals.
  foreach(src ${ARG_SOURCES})
    if(src MATCHES "_utf8\\.cpp$")
      set_source_files_properties(${src} TARGET_DIRECTORY ${name}
        PROPERTIES COMPILE_OPTIONS "-fexec-charset=UTF-8")
    endif()
  endforeach()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${ARG_LABELS}")
endfunction()
