# Flags for project code. Third-party code (the VST 3 SDK) gets its own, quieter set.

# Results must follow the written order of operations: no contraction into FMA,
# no fast-math re-association.
add_compile_options(-ffp-contract=off -fno-fast-math)

# Project targets call brask_project_warnings(<target>) to opt into -Werror.
function(brask_project_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

if(WIN32)
  # Modules must load in any host: no dependency on the MinGW runtime DLLs.
  add_link_options(-static-libgcc -static-libstdc++ -static)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
  # MinGW-w64's GCC keeps the stack only 16-byte aligned, yet spills AVX registers with aligned
  # moves; the assembler writes every aligned vector move as an unaligned one instead.
  add_compile_options(-Wa,-muse-unaligned-vector-move)
endif()

# Shared modules export only their entry points.
set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_C_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)

# Unchanged sources are not compiled twice, also across build folders and fresh clones: the
# cache keys use paths relative to the source tree.
find_program(BRASK_CCACHE ccache)
if(BRASK_CCACHE)
  set(_brask_launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR}
      CCACHE_NOHASHDIR=true ${BRASK_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${_brask_launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${_brask_launcher})
endif()
