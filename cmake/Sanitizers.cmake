# ZDAWNIK_SANITIZE=ON builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (the
# "asan" preset). Undefined behaviour stops the program at the first report, so a test cannot pass
# over one.
#
# ZDAWNIK_BUILD_FUZZERS=ON (the "fuzz" preset, clang only) adds libFuzzer's coverage instrumentation
# to all of our code and builds the targets in fuzz/, which alone link libFuzzer's driver. The
# sanitizers come with it: a fuzzer finds little without them. Qt and the system libraries stay
# uninstrumented; our code is what the fuzzers steer by.
option(ZDAWNIK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(ZDAWNIK_BUILD_FUZZERS "Build the libFuzzer targets in fuzz/ (clang)" OFF)

if(ZDAWNIK_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "The fuzz targets need clang (libFuzzer): use the \"fuzz\" preset")
    endif()
    set(ZDAWNIK_SANITIZE ON)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(ZDAWNIK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
