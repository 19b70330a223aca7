# The Debian packages, made by CPack from the install rules (scripts/package.sh).
# The first line of each description is its synopsis.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talver)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TALVER developers")
# The packages install where the build was configured to, which must be /usr;
# the manual pages and the getting-started text name the folders under it.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagePrefixCheck.cmake)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TALVER_PACKAGE_MAINTAINER}")
if(TALVER_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TALVER_HOMEPAGE}")
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(TALVER_PACKAGE_ABOUT
  "TALVER tests the measurement invariance of test items across a Target and a
Replication sample with exploratory factor analysis (ULS, principal components
or maximum likelihood on covariances, Pearson or polychoric correlations). It
compares item difficulties with t, Cohen's d and Hotelling's T square, item
loadings and residual variances with bootstrap intervals, and reports
congruence and discrepancy indices with bootstrap critical values.")

set(CPACK_COMPONENTS_ALL batch)
set(CPACK_DEBIAN_BATCH_PACKAGE_NAME talver-batch)
set(CPACK_DEBIAN_BATCH_DESCRIPTION
  "item measurement invariance analyses from the command line
${TALVER_PACKAGE_ABOUT}

This package holds talver-batch, which runs an analysis from the command line
without a display, with the example samples. It needs no graphical toolkit.")

if(TARGET talver)
  list(APPEND CPACK_COMPONENTS_ALL window)
  set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME talver)
  set(CPACK_COMPONENT_WINDOW_DEPENDS batch)
  set(CPACK_DEBIAN_WINDOW_DESCRIPTION
    "item measurement invariance analyses between two samples
${TALVER_PACKAGE_ABOUT}

This package holds the desktop program talver, whose dialogs read the two
samples and configure the analysis.")
endif()

include(CPack)
