# zlib (raw inflate, CRC-32), stb_image and stb_image_resize come from Debian's MinGW packages;
# GoogleTest from its sources.
find_library(ZLIB_STATIC NAMES libz.a z REQUIRED)
add_library(thirdparty_zlib INTERFACE)
# An installed SDK finds the consumer's own static zlib instead of this machine's path (SkinUIConfig.cmake).
target_link_libraries(thirdparty_zlib INTERFACE $<BUILD_INTERFACE:${ZLIB_STATIC}> $<INSTALL_INTERFACE:SkinUI::ZlibStatic>)

find_path(STB_INCLUDE_DIR stb_image.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(thirdparty_stb STATIC ${PROJECT_SOURCE_DIR}/render/third_party/stb_image_impl.c
  ${PROJECT_SOURCE_DIR}/render/third_party/stb_image_resize_impl.c)
# The decoder and the resampler are inside the library: an installed SDK needs no stb header.
target_include_directories(thirdparty_stb SYSTEM PUBLIC $<BUILD_INTERFACE:${STB_INCLUDE_DIR}>)
set_target_properties(thirdparty_stb PROPERTIES OUTPUT_NAME skinui_stb)
target_compile_options(thirdparty_stb PRIVATE -w)

# libjpeg-turbo, built from Debian's source package (tools/setup.sh fetches it into
# build/third_party): JPEG skin pictures decode through it at reduced scale when they are drawn
# shrunk. Only its static library is built, optimised in every configuration, with its SIMD code
# when nasm is there. Consumers link thirdparty_jpeg.
include(ExternalProject)
set(SKINUI_JPEG_SOURCE_DIR "${CMAKE_SOURCE_DIR}/build/third_party/libjpeg-turbo"
    CACHE PATH "Unpacked libjpeg-turbo source (tools/setup.sh fetches it)")
if(NOT EXISTS "${SKINUI_JPEG_SOURCE_DIR}/jpeglib.h")
  message(FATAL_ERROR "No libjpeg-turbo source in ${SKINUI_JPEG_SOURCE_DIR}: run tools/setup.sh")
endif()
set(jpeg_build_dir "${CMAKE_BINARY_DIR}/third_party/jpeg")
set(jpeg_library "${jpeg_build_dir}/${CMAKE_STATIC_LIBRARY_PREFIX}jpeg${CMAKE_STATIC_LIBRARY_SUFFIX}")
ExternalProject_Add(thirdparty_jpeg_build
  SOURCE_DIR "${SKINUI_JPEG_SOURCE_DIR}"
  BINARY_DIR "${jpeg_build_dir}"
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${jpeg_build_dir}/unused-install
    -DCMAKE_C_FLAGS=-w
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    -DWITH_ARITH_ENC=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS "${jpeg_library}")
add_library(thirdparty_jpeg INTERFACE)
# The decoder's own header includes no JPEG header: an installed SDK needs only the library, which
# it ships beside its own as libskinui_jpeg.a (cmake/Package.cmake).
target_include_directories(thirdparty_jpeg SYSTEM INTERFACE $<BUILD_INTERFACE:${SKINUI_JPEG_SOURCE_DIR}>
                                                             $<BUILD_INTERFACE:${jpeg_build_dir}>)
target_link_libraries(thirdparty_jpeg INTERFACE $<BUILD_INTERFACE:${jpeg_library}>
                                                $<INSTALL_INTERFACE:$<INSTALL_PREFIX>/lib/libskinui_jpeg.a>)
set(SKINUI_JPEG_LIBRARY "${jpeg_library}")
add_dependencies(thirdparty_jpeg thirdparty_jpeg_build)
