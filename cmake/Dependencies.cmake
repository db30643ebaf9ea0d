# Third-party dependencies, all from Debian packages (see scripts/setup).

# --- VST 3 SDK: the copy shipped by juce-modules-source-data, compiled as a static library.
set(BRASK_VST3_SDK_DIR /usr/share/juce/modules/juce_audio_processors/format_types/VST3_SDK
    CACHE PATH "VST 3 SDK root (pluginterfaces, base, public.sdk)")
if(NOT EXISTS ${BRASK_VST3_SDK_DIR}/pluginterfaces/base/funknown.h)
  message(FATAL_ERROR "VST 3 SDK not found at ${BRASK_VST3_SDK_DIR}; run scripts/setup")
endif()
set(_sdk ${BRASK_VST3_SDK_DIR})
# This copy of the SDK ships no definition of the editor-view interface IDs; define them once.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/vst3sdk/guiiids.cpp CONTENT [[
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace Steinberg {
DEF_CLASS_IID (IPlugView)
DEF_CLASS_IID (IPlugFrame)
DEF_CLASS_IID (IPlugViewContentScaleSupport)
#if SMTG_OS_LINUX
DEF_CLASS_IID (Linux::IEventHandler)
DEF_CLASS_IID (Linux::ITimerHandler)
DEF_CLASS_IID (Linux::IRunLoop)
#endif
}
]])
add_library(vst3sdk STATIC
  ${_sdk}/pluginterfaces/base/conststringtable.cpp
  ${_sdk}/pluginterfaces/base/coreiids.cpp
  ${_sdk}/pluginterfaces/base/funknown.cpp
  ${_sdk}/pluginterfaces/base/ustring.cpp
  ${_sdk}/base/source/baseiids.cpp
  ${_sdk}/base/source/fbuffer.cpp
  ${_sdk}/base/source/fdebug.cpp
  ${_sdk}/base/source/fobject.cpp
  ${_sdk}/base/source/fstreamer.cpp
  ${_sdk}/base/source/fstring.cpp
  ${_sdk}/base/source/updatehandler.cpp
  ${_sdk}/base/thread/source/flock.cpp
  ${_sdk}/public.sdk/source/common/memorystream.cpp
  ${_sdk}/public.sdk/source/common/pluginview.cpp
  ${_sdk}/public.sdk/source/vst/vstbus.cpp
  ${_sdk}/public.sdk/source/vst/vstcomponentbase.cpp
  ${_sdk}/public.sdk/source/vst/vsteditcontroller.cpp
  ${_sdk}/public.sdk/source/vst/vstinitiids.cpp
  ${_sdk}/public.sdk/source/vst/vstparameters.cpp
  ${CMAKE_BINARY_DIR}/vst3sdk/guiiids.cpp)
target_include_directories(vst3sdk SYSTEM PUBLIC ${_sdk})
target_compile_definitions(vst3sdk PUBLIC RELEASE=1)
target_compile_options(vst3sdk PRIVATE -w)
if(WIN32)
  # FUID::generate uses CoCreateGuid.
  target_link_libraries(vst3sdk PUBLIC ole32)
endif()

# --- Highway (libhwy-dev): its SIMD operations and vector math, used as headers only. The
# choice of instruction set at run time is the project's own, so no Highway library is linked
# and the modules depend on nothing new. The headers are seen through a folder of their own, so
# that the MinGW build does not search the native /usr/include.
find_path(BRASK_HWY_INCLUDE_DIR hwy/highway.h PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT BRASK_HWY_INCLUDE_DIR)
  message(FATAL_ERROR "Highway headers not found; run scripts/setup")
endif()
set(_hwy_view ${CMAKE_BINARY_DIR}/hwy-include)
file(MAKE_DIRECTORY ${_hwy_view})
if(NOT EXISTS ${_hwy_view}/hwy/highway.h)
  file(CREATE_LINK ${BRASK_HWY_INCLUDE_DIR}/hwy ${_hwy_view}/hwy SYMBOLIC)
endif()
add_library(hwy_headers INTERFACE)
target_include_directories(hwy_headers SYSTEM INTERFACE ${_hwy_view})

# --- zlib and libpng. Native: the system's. Windows: zlib from libz-mingw-w64-dev and a
# static libpng that scripts/setup builds from Debian's source package into .cache/.
if(WIN32)
  set(BRASK_MINGW_PNG_PREFIX ${CMAKE_SOURCE_DIR}/.cache/mingw-libpng
      CACHE PATH "Static libpng built for MinGW by scripts/setup")
  list(APPEND CMAKE_FIND_ROOT_PATH ${BRASK_MINGW_PNG_PREFIX})
  find_library(BRASK_ZLIB_STATIC NAMES libz.a REQUIRED)
  add_library(ZLIB::ZLIB STATIC IMPORTED)
  set_target_properties(ZLIB::ZLIB PROPERTIES IMPORTED_LOCATION ${BRASK_ZLIB_STATIC})
  find_library(BRASK_PNG_STATIC NAMES libpng16.a libpng.a PATHS ${BRASK_MINGW_PNG_PREFIX}/lib
               NO_DEFAULT_PATH REQUIRED)
  add_library(PNG::PNG STATIC IMPORTED)
  set_target_properties(PNG::PNG PROPERTIES
    IMPORTED_LOCATION ${BRASK_PNG_STATIC}
    INTERFACE_INCLUDE_DIRECTORIES ${BRASK_MINGW_PNG_PREFIX}/include
    INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
else()
  find_package(ZLIB REQUIRED)
  find_package(PNG REQUIRED)
endif()

# --- GoogleTest: the packaged library natively, built from /usr/src/googletest for Windows.
if(BRASK_BUILD_TESTS)
  if(WIN32)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Newer GoogleTest defines the namespaced aliases itself.
    foreach(lib gtest gtest_main gmock gmock_main)
      if(NOT TARGET GTest::${lib})
        add_library(GTest::${lib} ALIAS ${lib})
      endif()
    endforeach()
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

if(BRASK_BUILD_BENCHMARKS AND NOT WIN32)
  find_package(benchmark REQUIRED)
endif()
