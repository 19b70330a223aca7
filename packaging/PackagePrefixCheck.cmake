# Read by cpack before it makes the packages: Debian packages install under
# /usr, and the texts in them name the folders of the configured prefix.
if(NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "The Debian packages need a build configured with -DCMAKE_INSTALL_PREFIX=/usr "
                      "(this one has ${CPACK_PACKAGING_INSTALL_PREFIX}); scripts/package.sh configures it so.")
endif()
