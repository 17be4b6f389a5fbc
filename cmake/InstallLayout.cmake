# The folders an installation uses, from GNUInstallDirs: the programs in bin, the read-only
# program files in share/kalvintor, the machine settings in etc/kalvintor (/etc for /usr) and the
# default data directory in var/lib/kalvintor (/var for /usr). The program finds the first two
# relative to its own folder, so an installation can be moved as a whole.
include(GNUInstallDirs)
set(KALVINTOR_INSTALL_SHAREDIR "${CMAKE_INSTALL_DATADIR}/kalvintor")

# Inside the prefix a folder is installed relative to it, so that `cmake --install --prefix`
# puts it there; outside (/etc and /var for /usr) it keeps its absolute place.
function(kalvintor_install_dir out relative full)
  string(FIND "${full}" "${CMAKE_INSTALL_PREFIX}/" inside)
  if(inside EQUAL 0)
    set(${out} "${relative}" PARENT_SCOPE)
  else()
    set(${out} "${full}" PARENT_SCOPE)
  endif()
endfunction()
kalvintor_install_dir(KALVINTOR_INSTALL_CONFIGDIR "${CMAKE_INSTALL_SYSCONFDIR}/kalvintor"
                      "${CMAKE_INSTALL_FULL_SYSCONFDIR}/kalvintor")
kalvintor_install_dir(KALVINTOR_INSTALL_DATADIR "${CMAKE_INSTALL_LOCALSTATEDIR}/lib/kalvintor"
                      "${CMAKE_INSTALL_FULL_LOCALSTATEDIR}/lib/kalvintor")
# The data directory the machine settings name.
set(KALVINTOR_INSTALL_FULL_DATADIR "${CMAKE_INSTALL_FULL_LOCALSTATEDIR}/lib/kalvintor")

file(RELATIVE_PATH KALVINTOR_SHARE_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_PREFIX}/${KALVINTOR_INSTALL_SHAREDIR}")
file(RELATIVE_PATH KALVINTOR_CONFIG_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_SYSCONFDIR}/kalvintor")
