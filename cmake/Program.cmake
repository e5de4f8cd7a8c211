# The programs: Quoril.exe and SkinUIGallery.exe, each an entry point and a window with the
# executable's resources.
#
# A program's skin package travels inside its executable: the skin files are zipped at build time
# (bare entry names, fixed time stamps so an unchanged skin gives an unchanged archive) into the
# build tree, which the build puts on the resource compiler's include path, and the program's
# resource script embeds the archive as type "ZIPRES".
#
# quoril_skin_program(NAME SKIN_FOLDER dir SKIN_ZIP file.zip SKIN_FILES f... SOURCES glob...
#                     RESOURCES glob... RESOURCE_DEPENDS file... LIBS lib...)
#   SKIN_FILES are relative to SKIN_FOLDER (itself relative to the source tree); the resource
#   script also finds files of resources/ (the icon) and of SKIN_FOLDER by bare name, and the
#   generated SkinUI/Version.h. MANIFEST is a template in SKIN_FOLDER ("NAME.manifest.in") that gets
#   the project's version; the script names the result "NAME.manifest".
function(quoril_skin_program name)
  cmake_parse_arguments(ARG "" "SKIN_FOLDER;SKIN_ZIP;MANIFEST"
                        "SKIN_FILES;SOURCES;RESOURCES;RESOURCE_DEPENDS;LIBS" ${ARGN})
  set(skin_folder ${PROJECT_SOURCE_DIR}/${ARG_SKIN_FOLDER})
  set(skin_zip ${PROJECT_BINARY_DIR}/${ARG_SKIN_ZIP})
  list(TRANSFORM ARG_SKIN_FILES PREPEND ${skin_folder}/ OUTPUT_VARIABLE skin_paths)
  add_custom_command(OUTPUT ${skin_zip}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${skin_zip} --format=zip "--mtime=2026-01-01 00:00:00Z"
            ${ARG_SKIN_FILES}
    WORKING_DIRECTORY ${skin_folder}
    DEPENDS ${skin_paths}
    COMMENT "Packing the skin archive ${ARG_SKIN_ZIP}"
    VERBATIM)
  add_custom_target(${name}_skin_zip DEPENDS ${skin_zip})

  set(manifest ${PROJECT_BINARY_DIR}/${ARG_MANIFEST})
  configure_file(${skin_folder}/${ARG_MANIFEST}.in ${manifest} @ONLY)

  quoril_glob(sources ${ARG_SOURCES})
  quoril_glob(resources ${ARG_RESOURCES})
  add_executable(${name} WIN32 ${sources} ${resources})
  add_dependencies(${name} ${name}_skin_zip)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
  set_source_files_properties(${resources} TARGET_DIRECTORY ${name} PROPERTIES
    INCLUDE_DIRECTORIES "${PROJECT_BINARY_DIR};${PROJECT_BINARY_DIR}/generated;${skin_folder};${PROJECT_SOURCE_DIR}/resources"
    OBJECT_DEPENDS "${skin_zip};${manifest};${SKINUI_VERSION_HEADER};${ARG_RESOURCE_DEPENDS}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  quoril_warnings(${name})
endfunction()

if(SKINUI_BUILD_QUORIL)
  # The main window lives in a library of its own so the program tests can drive it without the entry point.
  quoril_library(quoril_mainwnd SOURCES app/MainWnd*.cpp LIBS quoril_actions skinui)

  quoril_skin_program(Quoril
    SKIN_FOLDER resources SKIN_ZIP QuorilSkin.zip MANIFEST Quoril.manifest
    SKIN_FILES MainWnd.xml MainWnd.en.xml bk.jpg btn.png btnClose.png btnClose@2x.png
    SOURCES app/Main.cpp
    RESOURCES resources/*.rc
    RESOURCE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/Quoril.ico
    LIBS quoril_mainwnd quoril_actions skinui)
endif()

if(NOT SKINUI_BUILD_EXAMPLES)
  return()
endif()

# The gallery's window and notification texts, in a library the gallery tests link.
quoril_library(gallery_window SOURCES gallery/*.cpp EXCLUDE gallery/Main.cpp LIBS skinui)

# SkinUIGallery.exe: every control of the framework in one window, with a skin package of its own.
file(GLOB gallery_skin_files CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/resources/gallery
     ${PROJECT_SOURCE_DIR}/resources/gallery/*.xml ${PROJECT_SOURCE_DIR}/resources/gallery/*.png)
quoril_skin_program(SkinUIGallery
  SKIN_FOLDER resources/gallery SKIN_ZIP GallerySkin.zip MANIFEST SkinUIGallery.manifest
  SKIN_FILES ${gallery_skin_files}
  SOURCES gallery/Main.cpp
  RESOURCES resources/gallery/*.rc
  RESOURCE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/Quoril.ico
  LIBS gallery_window skinui)
# The gallery's ActiveX page names the test control DLL (tests/testctl) by "modulename", which is
# looked up beside the program only: the build puts a copy there.
if(SKINUI_BUILD_TESTS)
  add_dependencies(SkinUIGallery quoril_testctl)
  add_custom_command(TARGET SkinUIGallery POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:quoril_testctl> $<TARGET_FILE_DIR:SkinUIGallery>
    VERBATIM)
endif()
