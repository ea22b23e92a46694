# Read by cpack once per package kind: the .deb installs into /opt/corvane,
# the archives hold the program folder itself.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /opt/corvane)
else()
  set(CPACK_PACKAGING_INSTALL_PREFIX /)
endif()
