# SkinUI as a CMake package: `cmake --install <build> --component sdk --prefix <dir>` lays out
#   include/SkinUI/<folder>/*.h   the framework's headers, found as "core/UIString.h" ...
#   include/SkinUI/Version.h      ... and as <SkinUI/Version.h>
#   lib/                          the static libraries, the delay-load helper object and the
#                                 delay-import libraries every program of the framework links
#   lib/cmake/SkinUI/             SkinUIConfig.cmake, its version file and the exported targets
#   doc/skin-reference.md, example/   the skin reference and the gallery's source and skin
# A consumer writes find_package(SkinUI 1 REQUIRED) and links SkinUI::SkinUI.
include(CMakePackageConfigHelpers)

set(SKINUI_CMAKE_DIR lib/cmake/SkinUI)
set(skinui_exported skinui skinui_render skinui_skin skinui_core skinui_delayimports thirdparty_stb thirdparty_zlib
    thirdparty_jpeg)
set_target_properties(skinui PROPERTIES EXPORT_NAME SkinUI)
set_target_properties(skinui_render PROPERTIES EXPORT_NAME render)
set_target_properties(skinui_skin PROPERTIES EXPORT_NAME skin)
set_target_properties(skinui_core PROPERTIES EXPORT_NAME core)
set_target_properties(skinui_delayimports PROPERTIES EXPORT_NAME delayimports)
set_target_properties(thirdparty_stb PROPERTIES EXPORT_NAME stb)
set_target_properties(thirdparty_zlib PROPERTIES EXPORT_NAME zlib)
set_target_properties(thirdparty_jpeg PROPERTIES EXPORT_NAME jpeg)

install(TARGETS ${skinui_exported} EXPORT SkinUITargets
  ARCHIVE DESTINATION lib COMPONENT sdk)
install(FILES ${SKINUI_JPEG_LIBRARY} DESTINATION lib RENAME libskinui_jpeg.a COMPONENT sdk)
install(FILES ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.md DESTINATION doc COMPONENT sdk)
install(FILES $<TARGET_OBJECTS:skinui_delayload> DESTINATION lib RENAME skinui_delayload.obj COMPONENT sdk)
get_property(skinui_delay_libraries GLOBAL PROPERTY SKINUI_DELAY_LIBRARIES)
install(FILES ${skinui_delay_libraries} DESTINATION lib COMPONENT sdk)

foreach(folder core window host skin controls render shadow)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder} DESTINATION include/SkinUI COMPONENT sdk
    FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES ${SKINUI_VERSION_HEADER} DESTINATION include/SkinUI COMPONENT sdk)

install(EXPORT SkinUITargets NAMESPACE SkinUI:: DESTINATION ${SKINUI_CMAKE_DIR} COMPONENT sdk)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/templates/SkinUIConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/SkinUIConfig.cmake INSTALL_DESTINATION ${SKINUI_CMAKE_DIR})
# A program written against 1.x builds against any later 1.y; 2.0 may break it.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/SkinUIConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/SkinUIConfig.cmake ${PROJECT_BINARY_DIR}/package/SkinUIConfigVersion.cmake
  DESTINATION ${SKINUI_CMAKE_DIR} COMPONENT sdk)

install(FILES ${PROJECT_SOURCE_DIR}/docs/skin-reference.md DESTINATION doc COMPONENT sdk)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/gallery DESTINATION example COMPONENT sdk)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/gallery/ DESTINATION example/resources COMPONENT sdk
  PATTERN "*.manifest.in" EXCLUDE)
