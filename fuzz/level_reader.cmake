# The level file reader's fuzz target; to be included from fuzz/CMakeLists.txt
# (built with ZUR_BUILD_FUZZ and clang's -fsanitize=fuzzer).
add_executable(level_reader_fuzz level_reader_fuzz.cpp)
target_link_libraries(level_reader_fuzz PRIVATE zur_level zur_warnings)
target_compile_options(level_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(level_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
