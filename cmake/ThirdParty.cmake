# zlib (raw inflate, CRC-32) and stb_image come from Debian's MinGW packages; GoogleTest from its sources.
find_library(ZLIB_STATIC NAMES libz.a z REQUIRED)
add_library(thirdparty_zlib INTERFACE)
# An installed SDK finds the consumer's own static zlib instead of this machine's path (SkinUIConfig.cmake).
target_link_libraries(thirdparty_zlib INTERFACE $<BUILD_INTERFACE:${ZLIB_STATIC}> $<INSTALL_INTERFACE:SkinUI::ZlibStatic>)

find_path(STB_INCLUDE_DIR stb_image.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(thirdparty_stb STATIC ${PROJECT_SOURCE_DIR}/render/third_party/stb_image_impl.c)
# The decoder is inside the library: an installed SDK needs no stb header.
target_include_directories(thirdparty_stb SYSTEM PUBLIC $<BUILD_INTERFACE:${STB_INCLUDE_DIR}>)
set_target_properties(thirdparty_stb PROPERTIES OUTPUT_NAME skinui_stb)
target_compile_options(thirdparty_stb PRIVATE -w)
