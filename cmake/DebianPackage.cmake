# The Debian package brask_<version>_<arch>.deb, built by CPack's DEB generator from the install
# components (cmake/CPackComponents.cmake picks them). Included by Install.cmake on Linux.

# Compressed as Debian does (gzip -9n: no name or timestamp inside, so rebuilds are identical).
function(brask_gzip source output)
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${output} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# The .deb's own documents: the machine-readable copyright file, the changelog that lintian
# expects of a native package, and brask-host's manual page. EXCLUDE_FROM_ALL: a plain
# `cmake --install` leaves them (and brask-host) out of the home folder.
set(_brask_debian_dir ${CMAKE_BINARY_DIR}/debian)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${_brask_debian_dir}/changelog @ONLY)
brask_gzip(${_brask_debian_dir}/changelog ${_brask_debian_dir}/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${_brask_debian_dir}/changelog.gz
        DESTINATION "\${BRASK_DOC_DIR}" COMPONENT debian EXCLUDE_FROM_ALL)
if(TARGET brask-host)
  configure_file(${PROJECT_SOURCE_DIR}/tools/brask-host/brask-host.1.in
                 ${_brask_debian_dir}/brask-host.1 @ONLY)
  brask_gzip(${_brask_debian_dir}/brask-host.1 ${_brask_debian_dir}/brask-host.1.gz)
  install(FILES ${_brask_debian_dir}/brask-host.1.gz DESTINATION "\${BRASK_MAN_DIR}/man1"
          COMPONENT host EXCLUDE_FROM_ALL)
endif()

set(CPACK_DEBIAN_PACKAGE_NAME brask)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian's name for the processor the binaries are built for; CPack would take the building
# machine's, wrong for the cross-compiled arm64 build.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
else()
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Wyrdworks <support@wyrdworks.example>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://wyrdworks.example)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the binaries' needs: the Depends field is never written by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; lines stay within 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Brask is a stereo compressor for digital audio workstations, with an
optional stereo side-chain and eight controls (Input, Output, Attack,
Release, Mix, HPF, Bypass and Sidechain) on a picture of a hardware panel.
.
This package installs the VST 3 bundle into /usr/lib/vst3, the VST 2
module into /usr/lib/vst, the CLAP module into /usr/lib/clap and the LV2
bundle into /usr/lib/lv2, where hosts such as REAPER, Bitwig Studio,
Qtractor, Ardour and Carla find them, twelve factory presets for the
VST 3, VST 2 and LV2 modules (the VST 3 and VST 2 files in
/usr/share/vst3/presets/Wyrdworks/Brask), and brask-host, a command-line
program that loads a plug-in module and runs audio files through it.")
# One package from all the components it takes.
set(CPACK_DEB_COMPONENT_INSTALL ON)
