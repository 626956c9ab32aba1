# Build helpers shared by every area of the tree.

# Adds each folder matching the pattern (relative to the source root) that holds a CMakeLists.txt, once.
function(virel_add_subdirectories pattern)
  file(GLOB dirs LIST_DIRECTORIES true "${CMAKE_SOURCE_DIR}/${pattern}")
  list(SORT dirs)
  foreach(dir IN LISTS dirs)
    get_property(done GLOBAL PROPERTY VIREL_ADDED_DIRS)
    if(IS_DIRECTORY "${dir}" AND EXISTS "${dir}/CMakeLists.txt" AND NOT dir IN_LIST done)
      set_property(GLOBAL APPEND PROPERTY VIREL_ADDED_DIRS "${dir}")
      file(RELATIVE_PATH rel "${CMAKE_SOURCE_DIR}" "${dir}")
      add_subdirectory("${dir}" "${CMAKE_BINARY_DIR}/${rel}")
    endif()
  endforeach()
endfunction()

# virel_embed(<target> NAMESPACE <ns> SYMBOL <name> INPUT <file> [DEPENDS <targets...>])
# Turns a file into a constant array <ns>::<name> with the accessor pair
# <ns>::getData_<name>() / <ns>::getDataSize_<name>() and adds the source to <target>.
function(virel_embed target)
  cmake_parse_arguments(E "" "NAMESPACE;SYMBOL;INPUT" "DEPENDS" ${ARGN})
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_${E_NAMESPACE}_${E_SYMBOL}.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND virel_embed_tool "${E_INPUT}" "${out}" "${E_NAMESPACE}" "${E_SYMBOL}"
    DEPENDS virel_embed_tool "${E_INPUT}" ${E_DEPENDS}
    COMMENT "Embedding ${E_NAMESPACE}::${E_SYMBOL}"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()

# virel_test_area(<area> [LIBS <libs...>] [LABELS <labels...>])
# One GoogleTest executable per area from every .cpp in the calling folder, registered with CTest.
function(virel_test_area area)
  cmake_parse_arguments(T "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  set(exe "tests_${area}")
  # One label: discovered tests cannot carry a list (its items would be read as property names). ctest -L takes
  # a regular expression, so "-L threads" and "-L <area>" both find "<area>:threads".
  string(JOIN ":" label ${area} ${T_LABELS})
  add_executable(${exe} ${sources})
  target_link_libraries(${exe} PRIVATE virel_testsupport ${T_LIBS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${exe}
    DISCOVERY_MODE PRE_TEST
    TEST_PREFIX "${area}."
    PROPERTIES LABELS "${label}"
               ENVIRONMENT "VIREL_TESTDATA_DIR=${VIREL_TESTDATA_DIR}")
endfunction()

# virel_fuzzer(<name> SOURCES <files...> LIBS <libs...> [SEEDS <dirs...>])
# A libFuzzer target, built only in the fuzzing build. Seed folders are recorded beside the binary.
function(virel_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(NOT VIREL_FUZZ)
    return()
  endif()
  set(exe "fuzz_${name}")
  add_executable(${exe} ${F_SOURCES})
  target_link_libraries(${exe} PRIVATE ${F_LIBS})
  target_link_options(${exe} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/fuzzers")
  string(REPLACE ";" "\n" seeds "${F_SEEDS}")
  file(WRITE "${CMAKE_BINARY_DIR}/fuzzers/${exe}.seeds" "${seeds}\n")
endfunction()
