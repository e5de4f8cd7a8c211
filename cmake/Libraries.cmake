# The framework is layered into static libraries so each layer builds and tests on its own:
#   skinui_core    core/                          value types, delegates, value parsers
#   skinui_skin    skin/SkinZip*, skin/SkinXml*, host/ResourceLocation*   archive, XML, where skin files come from
#   skinui_render  render/, host/HostResources*   render kit and per-window resources
#   skinui         window/, host/, controls/, skin/SkinBuilder*, shadow/   everything drawn in a window
#   quoril_actions app/ (but the window and entry point)   DNS profiles, discovery, browser links
function(quoril_glob out)
  set(files)
  foreach(pattern IN LISTS ARGN)
    file(GLOB matched CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${pattern})
    list(APPEND files ${matched})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Headers are found by their folder ("core/UIString.h") and the generated ones by their package
# name ("SkinUI/Version.h"); an installed SDK keeps both spellings under include/ (see Package.cmake).
set(QUORIL_INCLUDE_DIRS
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}> $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/generated>
  $<INSTALL_INTERFACE:include/SkinUI> $<INSTALL_INTERFACE:include>)

function(quoril_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;EXCLUDE;LIBS" ${ARGN})
  quoril_glob(sources ${ARG_SOURCES})
  if(ARG_EXCLUDE)
    quoril_glob(excluded ${ARG_EXCLUDE})
    if(excluded)
      list(REMOVE_ITEM sources ${excluded})
    endif()
  endif()
  if(NOT sources)
    # A layer with no sources yet still links as an empty interface.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${QUORIL_INCLUDE_DIRS})
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${QUORIL_INCLUDE_DIRS})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  quoril_warnings(${name})
endfunction()

quoril_library(skinui_core SOURCES core/*.cpp)
quoril_library(skinui_skin
  SOURCES skin/SkinZip*.cpp skin/SkinXml*.cpp host/ResourceLocation*.cpp
  LIBS skinui_core thirdparty_zlib)
quoril_library(skinui_render
  SOURCES render/*.cpp host/HostResources*.cpp
  LIBS skinui_skin thirdparty_stb thirdparty_jpeg gdi32 user32)
quoril_library(skinui
  SOURCES window/*.cpp host/*.cpp controls/*/*.cpp skin/SkinBuilder*.cpp shadow/*.cpp
  EXCLUDE host/ResourceLocation*.cpp host/HostResources*.cpp
  LIBS skinui_render skinui_delayimports user32 gdi32 uuid imm32)
# What add_subdirectory users link, under the name an installed package gives it.
add_library(SkinUI::SkinUI ALIAS skinui)

if(SKINUI_BUILD_QUORIL)
  quoril_library(quoril_actions
    SOURCES app/*.cpp
    EXCLUDE app/Main.cpp app/MainWnd*.cpp
    LIBS skinui_core advapi32 user32 uuid)
endif()
