# Install and package rules for the plug-in modules.
#
# `cmake --install build/linux` puts the modules where Linux hosts look for them in the home
# folder: ~/.vst3/Brask.vst3, ~/.vst/Brask.so and ~/.clap/Brask.clap (the default prefix is the
# home folder of the user who configured the build). With another prefix (`--prefix /usr/local`)
# they go to <prefix>/lib/vst3, <prefix>/lib/vst and <prefix>/lib/clap, the system-wide places. scripts/package builds the
# release packages from the same rules: with CPack a .tar.gz and a .deb for Linux and a .zip for
# Windows, and the Windows installer (cmake/BraskSetup.nsi) from a staged install.
#
# Every rule names its component; cmake/CPackComponents.cmake picks them per package. The .deb
# takes them all, so a new rule (the LV2 bundle's) lands in it without further work:
#   vst3, vst2  the modules                   doc     read-me and licence
#   host        brask-host and its man page   debian  the .deb's copyright and changelog
#   lv2         the LV2 bundle, into <prefix>/lib/lv2 or ~/.lv2 (BRASK_LV2_DIR below)
#   clap        Brask.clap, into <prefix>/lib/clap or ~/.clap (BRASK_CLAP_DIR below)
# host and debian are left out of a plain `cmake --install` and of the archives.
# The factory presets go with their modules: the .vstpreset files (vst3) into the folder VST 3
# hosts read a plug-in's presets from, <prefix>/share/vst3/presets/Wyrdworks/Brask or
# ~/.vst3/presets/Wyrdworks/Brask, and the .fxp files (vst2) beside them.

if(NOT TARGET Brask_vst3 AND NOT TARGET Brask_vst2 AND NOT TARGET Brask_lv2 AND NOT TARGET Brask_clap)
  return()
endif()

# Installing needs the modules only, not every test program: the scripts build the modules.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(WIN32)
  # The archive's layout; Windows users copy the folders to where their hosts look.
  install(CODE [[
    set(BRASK_VST3_DIR "VST3")
    set(BRASK_VST2_DIR "VST2")
    set(BRASK_CLAP_DIR "CLAP")
    set(BRASK_PRESET_DIR "VST3 Presets/Wyrdworks/Brask")
    set(BRASK_DOC_DIR ".")
  ]] ALL_COMPONENTS)
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
      set(BRASK_CLAP_DIR ".clap")
      set(BRASK_PRESET_DIR ".vst3/presets/Wyrdworks/Brask")
      set(BRASK_BIN_DIR ".local/bin")
      set(BRASK_DOC_DIR ".local/share/doc/brask")
      set(BRASK_MAN_DIR ".local/share/man")
    else()
      set(BRASK_VST3_DIR "lib/vst3")
      set(BRASK_VST2_DIR "lib/vst")
      set(BRASK_LV2_DIR "lib/lv2")
      set(BRASK_CLAP_DIR "lib/clap")
      set(BRASK_PRESET_DIR "share/vst3/presets/Wyrdworks/Brask")
      set(BRASK_BIN_DIR "bin")
      set(BRASK_DOC_DIR "share/doc/brask")
      set(BRASK_MAN_DIR "share/man")
    endif()
  ]] ALL_COMPONENTS)
endif()

# The bundle holds only the module binary, so the module is installed as a target: stripped
# when packaged (the .deb must not carry debug sections), like the VST 2 module.
if(TARGET Brask_vst3)
  get_target_property(_brask_vst3_binary_dir Brask_vst3 LIBRARY_OUTPUT_DIRECTORY)
  file(RELATIVE_PATH _brask_vst3_binary_dir ${BRASK_OUTPUT_DIR} ${_brask_vst3_binary_dir})
  install(TARGETS Brask_vst3 LIBRARY DESTINATION "\${BRASK_VST3_DIR}/${_brask_vst3_binary_dir}"
          COMPONENT vst3)
endif()
if(TARGET Brask_vst2)
  install(TARGETS Brask_vst2 LIBRARY DESTINATION "\${BRASK_VST2_DIR}" COMPONENT vst2)
endif()
if(TARGET Brask_clap)
  install(TARGETS Brask_clap LIBRARY DESTINATION "\${BRASK_CLAP_DIR}" RUNTIME DESTINATION
          "\${BRASK_CLAP_DIR}" COMPONENT clap)
endif()
if(TARGET brask-host)
  install(TARGETS brask-host RUNTIME DESTINATION "\${BRASK_BIN_DIR}" COMPONENT host EXCLUDE_FROM_ALL)
endif()
# The LV2 bundle: its two binaries as targets, so they are stripped when packaged, and its Turtle.
if(TARGET Brask_lv2)
  install(TARGETS Brask_lv2 Brask_lv2_ui LIBRARY DESTINATION "\${BRASK_LV2_DIR}/Brask.lv2"
          COMPONENT lv2)
  install(FILES ${BRASK_LV2_BUNDLE}/manifest.ttl ${BRASK_LV2_BUNDLE}/brask.ttl
                ${BRASK_LV2_BUNDLE}/presets.ttl
          DESTINATION "\${BRASK_LV2_DIR}/Brask.lv2" COMPONENT lv2)
endif()
if(TARGET brask_preset_files)
  install(DIRECTORY ${BRASK_PRESET_FILES_DIR}/ DESTINATION "\${BRASK_PRESET_DIR}" COMPONENT vst3
          FILES_MATCHING PATTERN "*.vstpreset")
  install(DIRECTORY ${BRASK_PRESET_FILES_DIR}/ DESTINATION "\${BRASK_PRESET_DIR}" COMPONENT vst2
          FILES_MATCHING PATTERN "*.fxp")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/PackageReadme.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION "\${BRASK_DOC_DIR}" COMPONENT doc)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION "\${BRASK_DOC_DIR}" COMPONENT doc)
if(NOT WIN32)
  include(DebianPackage)
endif()

# Packages.
set(CPACK_PACKAGE_NAME Brask)
set(CPACK_PACKAGE_VENDOR Wyrdworks)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stereo compressor audio plug-in (VST 3, VST 2, CLAP and LV2)")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackComponents.cmake)
# Debug sections stay in the build tree, out of every package.
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Brask-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR TGZ)
  set(CPACK_PACKAGE_FILE_NAME Brask-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
endif()
include(CPack)
