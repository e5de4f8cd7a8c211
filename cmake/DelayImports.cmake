# System DLLs the framework binds on first call rather than at process start (see
# core/DelayLoadHelper.cpp): a delay-import library made with dlltool from the list of the
# functions we use (cmake/delay/NAME.def), and the helper that loads the DLL from the system folder.
# A function missing from a list fails the link, so the list cannot fall behind the code.
find_program(QUORIL_DLLTOOL ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)

add_library(skinui_delayload OBJECT ${PROJECT_SOURCE_DIR}/core/DelayLoadHelper.cpp)
target_include_directories(skinui_delayload PRIVATE ${PROJECT_SOURCE_DIR})
quoril_warnings(skinui_delayload)

add_library(skinui_delayimports INTERFACE)
# The helper's object comes first on every link line, ahead of the runtime's own helper. An
# installed SDK carries that object and the delay-import libraries in its lib/ (Package.cmake).
target_link_libraries(skinui_delayimports INTERFACE
  $<BUILD_INTERFACE:skinui_delayload> $<BUILD_INTERFACE:$<TARGET_OBJECTS:skinui_delayload>>
  $<INSTALL_INTERFACE:$<INSTALL_PREFIX>/lib/skinui_delayload.obj> skinui_core)

function(quoril_delay_import dll)
  set(def ${PROJECT_SOURCE_DIR}/cmake/delay/${dll}.def)
  set(lib ${PROJECT_BINARY_DIR}/delay/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/delay
    COMMAND ${QUORIL_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
    DEPENDS ${def}
    VERBATIM)
  add_custom_target(delay_${dll} DEPENDS ${lib})
  add_dependencies(skinui_delayload delay_${dll})
  target_link_libraries(skinui_delayimports INTERFACE
    $<BUILD_INTERFACE:${lib}> $<INSTALL_INTERFACE:$<INSTALL_PREFIX>/lib/lib${dll}_delay.a>)
  set_property(GLOBAL APPEND PROPERTY SKINUI_DELAY_LIBRARIES ${lib})
endfunction()

quoril_delay_import(comctl32)
quoril_delay_import(ole32)
quoril_delay_import(oleaut32)
quoril_delay_import(oleacc)
