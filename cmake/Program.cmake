# Quoril.exe: the entry point and main window, with the executable's resources.
#
# The skin package travels inside the executable: the five skin files of resources/ are zipped at
# build time (bare entry names, fixed time stamps so an unchanged skin gives an unchanged archive) and
# the resource script embeds the archive as type "ZIPRES", id 4.
set(quoril_skin_files MainWnd.xml MainWnd.en.xml bk.jpg btn.png btnClose.png)
set(quoril_skin_zip ${CMAKE_BINARY_DIR}/QuorilSkin.zip)
list(TRANSFORM quoril_skin_files PREPEND ${CMAKE_SOURCE_DIR}/resources/ OUTPUT_VARIABLE quoril_skin_paths)
add_custom_command(OUTPUT ${quoril_skin_zip}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${quoril_skin_zip} --format=zip "--mtime=2026-01-01 00:00:00Z"
          ${quoril_skin_files}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/resources
  DEPENDS ${quoril_skin_paths}
  COMMENT "Packing the skin archive"
  VERBATIM)
add_custom_target(quoril_skin_zip DEPENDS ${quoril_skin_zip})

# The main window lives in a library of its own so the program tests can drive it without the entry point.
quoril_library(quoril_mainwnd SOURCES app/MainWnd*.cpp LIBS quoril_actions skinui)

quoril_glob(program_sources app/Main.cpp)
quoril_glob(program_resources resources/*.rc)
add_executable(Quoril WIN32 ${program_sources} ${program_resources})
add_dependencies(Quoril quoril_skin_zip)
set_source_files_properties(${program_resources} PROPERTIES
  INCLUDE_DIRECTORIES "${CMAKE_BINARY_DIR};${CMAKE_SOURCE_DIR}/resources"
  OBJECT_DEPENDS "${quoril_skin_zip};${CMAKE_SOURCE_DIR}/resources/Quoril.ico;${CMAKE_SOURCE_DIR}/resources/Quoril.manifest")
target_link_libraries(Quoril PRIVATE quoril_mainwnd quoril_actions skinui)
quoril_warnings(Quoril)
