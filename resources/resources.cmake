# The stored language pack. resources/lang/languages.txt (UTF-8, CR LF) is turned into
# UTF-16LE with a byte-order mark, compressed by the lzari tool (tools/lzari) and compiled
# into velmora_core as a byte array. A cross build cannot run the Windows build of the tool
# without Wine, so it compiles the tool a second time with the build machine's compiler.
set(VELMORA_PACK_SOURCE ${CMAKE_SOURCE_DIR}/resources/lang/languages.txt)
set(VELMORA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(VELMORA_PACK_ARRAY ${VELMORA_GENERATED_DIR}/stored_pack.inc)
set(LZARI_TOOL_SOURCES
    ${CMAKE_SOURCE_DIR}/tools/lzari/lzari_main.cpp
    ${CMAKE_SOURCE_DIR}/tools/lzari/lzari_reference.cpp
    ${CMAKE_SOURCE_DIR}/src/lang/pack_decoder.cpp)
set(LZARI_TOOL_HEADERS
    ${CMAKE_SOURCE_DIR}/tools/lzari/lzari_reference.h
    ${CMAKE_SOURCE_DIR}/src/lang/pack_decoder.h)

if(CMAKE_CROSSCOMPILING)
    find_program(VELMORA_HOST_CXX NAMES c++ g++ clang++ REQUIRED DOC "C++ compiler of the build machine")
    set(VELMORA_HOST_DIR ${CMAKE_BINARY_DIR}/host)
    set(VELMORA_PACK_TOOL ${VELMORA_HOST_DIR}/lzari${CMAKE_HOST_EXECUTABLE_SUFFIX})
    add_custom_command(OUTPUT ${VELMORA_PACK_TOOL}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VELMORA_HOST_DIR}
        COMMAND ${VELMORA_HOST_CXX} -std=c++20 -O2 -I${CMAKE_SOURCE_DIR}/src -I${CMAKE_SOURCE_DIR}/tools
                ${LZARI_TOOL_SOURCES} -o ${VELMORA_PACK_TOOL}
        DEPENDS ${LZARI_TOOL_SOURCES} ${LZARI_TOOL_HEADERS}
        COMMENT "Building lzari for the build machine"
        VERBATIM)
    set(VELMORA_PACK_TOOL_DEPENDENCY ${VELMORA_PACK_TOOL})
else()
    set(VELMORA_PACK_TOOL lzari)
    set(VELMORA_PACK_TOOL_DEPENDENCY lzari)
endif()

add_custom_command(OUTPUT ${VELMORA_PACK_ARRAY}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VELMORA_GENERATED_DIR}
    COMMAND ${VELMORA_PACK_TOOL} pack ${VELMORA_PACK_SOURCE} ${VELMORA_PACK_ARRAY}
    DEPENDS ${VELMORA_PACK_SOURCE} ${VELMORA_PACK_TOOL_DEPENDENCY}
    COMMENT "Compressing the language pack"
    VERBATIM)
# A target of its own, so that the analysers (tools/analyse.sh) can have the array made without
# building anything else; velmora_core waits for it, so the two never make it at once.
add_custom_target(velmora_stored_pack DEPENDS ${VELMORA_PACK_ARRAY})
add_dependencies(velmora_core velmora_stored_pack)
target_sources(velmora_core PRIVATE ${VELMORA_PACK_ARRAY})
target_include_directories(velmora_core PRIVATE ${VELMORA_GENERATED_DIR})
