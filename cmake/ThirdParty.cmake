# zlib (raw inflate, CRC-32) and stb_image come from Debian's MinGW packages; GoogleTest from its sources.
find_library(ZLIB_STATIC NAMES libz.a z REQUIRED)
add_library(thirdparty_zlib INTERFACE)
target_link_libraries(thirdparty_zlib INTERFACE ${ZLIB_STATIC})

find_path(STB_INCLUDE_DIR stb_image.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(thirdparty_stb STATIC ${CMAKE_SOURCE_DIR}/render/third_party/stb_image_impl.c)
target_include_directories(thirdparty_stb SYSTEM PUBLIC ${STB_INCLUDE_DIR})
target_compile_options(thirdparty_stb PRIVATE -w)
