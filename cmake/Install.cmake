# Install and package rules for the plug-in modules.
#
# `cmake --install build/linux` puts the modules where Linux hosts look for them in the home
# folder: ~/.vst3/Brask.vst3 and ~/.vst/Brask.so (the default prefix is the home folder of the
# user who configured the build). With another prefix (`--prefix /usr/local`) they go to
# <prefix>/lib/vst3 and <prefix>/lib/vst, the system-wide places. scripts/package builds the
# release archives from the same rules with CPack: a .tar.gz for Linux, a .zip for Windows.
# The LV2 bundle follows the same rule: ~/.lv2/Brask.lv2, or <prefix>/lib/lv2/Brask.lv2.

if(NOT TARGET Brask_vst3 AND NOT TARGET Brask_vst2 AND NOT TARGET Brask_lv2)
  return()
endif()

# Installing needs the modules only, not every test program: the scripts build the modules.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(WIN32)
  # The archive's layout; Windows users copy the folders to where their hosts look.
  install(CODE [[
    set(BRASK_VST3_DIR "VST3")
    set(BRASK_VST2_DIR "VST2")
    set(BRASK_DOC_DIR ".")
  ]])
else()
  # The home folder replaces CMake's own default once per build folder (also in folders
  # configured before these rules existed); a prefix chosen later is kept.
  if(NOT BRASK_HOME_PREFIX_APPLIED AND DEFINED ENV{HOME} AND
     (CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local"))
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}" CACHE PATH
        "Install prefix; the home folder installs into ~/.vst3 and ~/.vst" FORCE)
  endif()
  set(BRASK_HOME_PREFIX_APPLIED ON CACHE INTERNAL "")
  # Decided when installing, so `--prefix` given then chooses the layout.
  install(CODE [[
    # "~/" and "~" are the same folder, also before it exists.
    file(REAL_PATH "${CMAKE_INSTALL_PREFIX}" _brask_prefix)
    file(REAL_PATH "$ENV{HOME}" _brask_home)
    string(REGEX REPLACE "(.)/+$" "\\1" _brask_prefix "${_brask_prefix}")
    string(REGEX REPLACE "(.)/+$" "\\1" _brask_home "${_brask_home}")
    if(DEFINED ENV{HOME} AND _brask_prefix STREQUAL _brask_home)
      set(BRASK_VST3_DIR ".vst3")
      set(BRASK_VST2_DIR ".vst")
      set(BRASK_LV2_DIR ".lv2")
      set(BRASK_DOC_DIR ".local/share/doc/brask")
    else()
      set(BRASK_VST3_DIR "lib/vst3")
      set(BRASK_VST2_DIR "lib/vst")
      set(BRASK_LV2_DIR "lib/lv2")
      set(BRASK_DOC_DIR "share/doc/brask")
    endif()
  ]])
endif()

if(TARGET Brask_vst3)
  install(DIRECTORY ${BRASK_VST3_BUNDLE} DESTINATION "\${BRASK_VST3_DIR}" USE_SOURCE_PERMISSIONS)
endif()
if(TARGET Brask_vst2)
  install(TARGETS Brask_vst2 LIBRARY DESTINATION "\${BRASK_VST2_DIR}")
endif()
if(TARGET Brask_lv2)
  install(DIRECTORY ${BRASK_LV2_BUNDLE} DESTINATION "\${BRASK_LV2_DIR}" USE_SOURCE_PERMISSIONS)
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/PackageReadme.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION "\${BRASK_DOC_DIR}")

# Release archives.
set(CPACK_PACKAGE_NAME Brask)
set(CPACK_PACKAGE_VENDOR Wyrdworks)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Brask stereo compressor, VST 3 and VST 2 plug-in modules")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Brask-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR TGZ)
  set(CPACK_PACKAGE_FILE_NAME Brask-${PROJECT_VERSION}-linux-x86_64)
endif()
include(CPack)
