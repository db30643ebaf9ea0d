# Read by cpack for each generator (CPACK_PROJECT_CONFIG_FILE): which install components each
# package takes, as one package. Every component goes into the .deb, so a new install rule
# (the LV2 bundle, say) lands there with no change here; the archives keep the modules and
# the read-me, as users copy them by hand.
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
if(CPACK_GENERATOR STREQUAL "TGZ" OR CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
  list(REMOVE_ITEM CPACK_COMPONENTS_ALL host debian)
endif()
