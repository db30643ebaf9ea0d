# brask_link_module_sources(<target> <module>): compiles the sources of a plug-in module target
# (Brask_vst3, Brask_vst2) into <target>, with the module's include directories, definitions and
# libraries. Test programs then reach the plug-in through the module's own entry points
# (GetPluginFactory, VSTPluginMain) while being built with their own instrumentation, and can
# still see the objects behind those entry points (the editor, for instance).
function(brask_link_module_sources target module)
  get_target_property(_dir ${module} SOURCE_DIR)
  get_target_property(_sources ${module} SOURCES)
  foreach(_src IN LISTS _sources)
    if(_src MATCHES "\\.(c|cpp)$")
      if(NOT IS_ABSOLUTE ${_src})
        set(_src ${_dir}/${_src})
      endif()
      target_sources(${target} PRIVATE ${_src})
      # The VST 2 entry point's alias is exported under the assembler name "main", which a
      # program has already; here the alias keeps its C name.
      if(_src MATCHES "VstEntry\\.cpp$")
        set_property(SOURCE ${_src} DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} APPEND PROPERTY
                     COMPILE_OPTIONS "-D__asm__(name)=")
      endif()
    endif()
  endforeach()
  foreach(_property INCLUDE_DIRECTORIES COMPILE_DEFINITIONS LINK_LIBRARIES)
    get_target_property(_values ${module} ${_property})
    if(NOT _values)
      continue()
    endif()
    if(_property STREQUAL INCLUDE_DIRECTORIES)
      target_include_directories(${target} PRIVATE ${_values})
    elseif(_property STREQUAL COMPILE_DEFINITIONS)
      target_compile_definitions(${target} PRIVATE ${_values})
    else()
      target_link_libraries(${target} PRIVATE ${_values})
    endif()
  endforeach()
endfunction()
