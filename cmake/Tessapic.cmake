# Shared build settings and helper functions.

if(WIN32)
  set(TESSAPIC_WINDOWS ON)
  # Every narrow literal becomes a code page 936 byte string; sources stay UTF-8.
  add_compile_options(-fexec-charset=CP936 -finput-charset=UTF-8)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  set(TESSAPIC_WINDOWS OFF)
  # The portable core is checked here with AddressSanitizer and UBSan.
  set(TESSAPIC_SANITIZE "-fsanitize=address,undefined;-fno-sanitize-recover=all;-fno-omit-frame-pointer")
  add_compile_options(${TESSAPIC_SANITIZE} -g)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Coverage for the fuzz targets, which link the same core libraries.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-Wall -Wextra -Wno-unused-parameter)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-missing-field-initializers)
endif()

include_directories(${PROJECT_SOURCE_DIR})

# GoogleTest from the Debian sources, built for whichever target this is.
set(TESSAPIC_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${TESSAPIC_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(gt gtest gtest_main)
  if(TESSAPIC_WINDOWS)
    target_compile_options(${gt} PRIVATE -fexec-charset=UTF-8)
  endif()
endforeach()

# tessapic_add_test(NAME SOURCES ... LIBS ...): one test program, one CTest entry.
# On Windows targets CTest runs it through the Wine wrapper (CMAKE_CROSSCOMPILING_EMULATOR).
function(tessapic_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(TESSAPIC_WINDOWS)
    # The Wine test programs share one display: windows of two programs at once would take
    # activation and focus from each other.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_display)
  endif()
endfunction()

# tessapic_embed(TARGET SYMBOL FILE): carries FILE inside TARGET as
#   extern const unsigned char SYMBOL[]; extern const unsigned long SYMBOL_size;
function(tessapic_embed target symbol file)
  get_filename_component(file "${file}" ABSOLUTE)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embed/${symbol}.c")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND python3 "${PROJECT_SOURCE_DIR}/cmake/embed.py" "${file}" "${out}" ${symbol}
    DEPENDS "${file}" "${PROJECT_SOURCE_DIR}/cmake/embed.py"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
