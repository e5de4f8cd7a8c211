# What a user downloads, built by the `release` target into <build>/dist/ (./release.sh copies the
# three archives to build/release/):
#   Quoril-x.y.z-setup.exe      signed NSIS installer (installer/Quoril.nsi) with a signed uninstaller
#   Quoril-x.y.z-portable.zip   the signed Quoril.exe and the third-party notices
#   SkinUI-x.y.z-sdk.zip        the `sdk` install component (Package.cmake)
# Signing is tools/sign.sh: the certificate named by QUORIL_SIGN_PFX / QUORIL_SIGN_PASSWORD when they
# are set while building, else a throw-away test certificate made in <build>/signing/.
find_program(QUORIL_MAKENSIS makensis)
find_program(QUORIL_OSSLSIGNCODE osslsigncode)
find_program(QUORIL_OPENSSL openssl)
if(NOT QUORIL_MAKENSIS OR NOT QUORIL_OSSLSIGNCODE OR NOT QUORIL_OPENSSL)
  message(STATUS "No installer: makensis, osslsigncode and openssl are needed (tools/setup.sh installs them)")
  return()
endif()

set(QUORIL_DIST ${PROJECT_BINARY_DIR}/dist)
set(QUORIL_SIGNING ${PROJECT_BINARY_DIR}/signing)
set(QUORIL_SIGN ${PROJECT_SOURCE_DIR}/tools/sign.sh)
set(QUORIL_SETUP ${QUORIL_DIST}/Quoril-${PROJECT_VERSION}-setup.exe)
set(QUORIL_PORTABLE ${QUORIL_DIST}/Quoril-${PROJECT_VERSION}-portable.zip)
set(SKINUI_SDK ${QUORIL_DIST}/SkinUI-${PROJECT_VERSION}-sdk.zip)

add_custom_command(OUTPUT ${QUORIL_SIGNING}/certificate.pem
  COMMAND ${QUORIL_SIGN} --test-certificate ${QUORIL_SIGNING}
  DEPENDS ${QUORIL_SIGN}
  COMMENT "Making the throw-away test signing certificate"
  VERBATIM)

# A signed copy of each program in dist/; the built ones stay as the linker left them.
set(signed_programs)
foreach(program Quoril SkinUIGallery)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(signed ${QUORIL_DIST}/${program}.exe)
  add_custom_command(OUTPUT ${signed}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${program}> ${signed}
    COMMAND ${QUORIL_SIGN} ${signed} ${QUORIL_SIGNING}
    DEPENDS ${program} ${QUORIL_SIGNING}/certificate.pem ${QUORIL_SIGN}
    COMMENT "Signing ${program}.exe"
    VERBATIM)
  list(APPEND signed_programs ${signed})
endforeach()

add_custom_command(OUTPUT ${QUORIL_SETUP}
  COMMAND ${QUORIL_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DPROGRAM=${QUORIL_DIST}/Quoril.exe
          -DOUTFILE=${QUORIL_SETUP} -DSIGN_SCRIPT=${QUORIL_SIGN} -DSIGN_DIR=${QUORIL_SIGNING}
          -DNOTICES=${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.md ${PROJECT_SOURCE_DIR}/installer/Quoril.nsi
  DEPENDS ${QUORIL_DIST}/Quoril.exe ${PROJECT_SOURCE_DIR}/installer/Quoril.nsi ${QUORIL_SIGN}
          ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.md
          ${QUORIL_SIGNING}/certificate.pem
  COMMENT "Building and signing the installer Quoril-${PROJECT_VERSION}-setup.exe"
  VERBATIM)

add_custom_command(OUTPUT ${QUORIL_PORTABLE}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.md ${QUORIL_DIST}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${QUORIL_PORTABLE} --format=zip Quoril.exe THIRD-PARTY-NOTICES.md
  WORKING_DIRECTORY ${QUORIL_DIST}
  DEPENDS ${QUORIL_DIST}/Quoril.exe ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.md
  COMMENT "Packing Quoril-${PROJECT_VERSION}-portable.zip"
  VERBATIM)

# The SDK is whatever the sdk component installs, zipped under one top folder; packed on every
# run, as the headers it holds are no dependency of any build step.
set(sdk_stage ${PROJECT_BINARY_DIR}/sdk-stage/SkinUI-${PROJECT_VERSION})
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/sdk-stage)
add_custom_target(skinui_sdk
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${sdk_stage} ${SKINUI_SDK}
  COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --component sdk --prefix ${sdk_stage}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${SKINUI_SDK} --format=zip SkinUI-${PROJECT_VERSION}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/sdk-stage
  BYPRODUCTS ${SKINUI_SDK}
  COMMENT "Packing SkinUI-${PROJECT_VERSION}-sdk.zip"
  VERBATIM)
add_dependencies(skinui_sdk skinui skinui_render skinui_skin skinui_core thirdparty_stb skinui_delayload)

# Part of every build: the suite installs and uninstalls the setup.
add_custom_target(installer ALL DEPENDS ${QUORIL_SETUP} ${QUORIL_PORTABLE} ${signed_programs})
add_custom_target(release DEPENDS ${QUORIL_SETUP} ${QUORIL_PORTABLE} ${signed_programs})
add_dependencies(release skinui_sdk)
