# The Windows release files, made in the build folder's release/ with every
# build: valmero-VERSION-windows-x64.zip (target valmero_zip) and, when wixl
# is there, the installer valmero-VERSION-windows-x64.msi (target valmero_msi).
# Both hold the same files.
set(VALMERO_ICON ${CMAKE_SOURCE_DIR}/ui/win32/art/valmero.ico)
set(windows ${CMAKE_CURRENT_BINARY_DIR}/windows)
# Notepad wants CR LF.
set(VALMERO_WINDOWS_README ${windows}/README.txt)
set(VALMERO_WINDOWS_LICENSE ${windows}/LICENSE.txt)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt ${VALMERO_WINDOWS_README} @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${VALMERO_WINDOWS_LICENSE} @ONLY NEWLINE_STYLE CRLF)

set(VALMERO_ARP_LINKS "")
if(VALMERO_SITE_ADDRESS)
  set(VALMERO_ARP_LINKS "    <Property Id=\"ARPURLINFOABOUT\" Value=\"${VALMERO_SITE_ADDRESS}\"/>\n")
endif()
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/windows/valmero.wxs.in ${windows}/valmero.wxs @ONLY)

set(release ${CMAKE_BINARY_DIR}/release)
file(MAKE_DIRECTORY ${release})
set(VALMERO_RELEASE_FILES $<TARGET_FILE:valmero-cli> ${VALMERO_HELP_PAGE} ${VALMERO_NOTICES}
    ${VALMERO_WINDOWS_README} ${VALMERO_WINDOWS_LICENSE})
if(TARGET valmero)
  list(PREPEND VALMERO_RELEASE_FILES $<TARGET_FILE:valmero>)
endif()

# The zip: one folder to unpack anywhere and start the programs in.
set(name valmero-${VALMERO_VERSION}-windows-x64)
set(VALMERO_ZIP ${release}/${name}.zip)
set(zipped ${windows}/zip)
add_custom_command(OUTPUT ${VALMERO_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${zipped}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${zipped}/${name}
  COMMAND ${CMAKE_COMMAND} -E copy ${VALMERO_RELEASE_FILES} ${zipped}/${name}
  COMMAND ${CMAKE_COMMAND} -E chdir ${zipped} ${CMAKE_COMMAND} -E tar cf ${VALMERO_ZIP}.tmp --format=zip ${name}
  COMMAND ${CMAKE_COMMAND} -E rename ${VALMERO_ZIP}.tmp ${VALMERO_ZIP}
  DEPENDS valmero-cli ${VALMERO_RELEASE_FILES}
  COMMENT "Making the Windows zip"
  VERBATIM)
add_custom_target(valmero_zip ALL DEPENDS ${VALMERO_ZIP})

find_program(VALMERO_WIXL wixl)
set(VALMERO_MSI ${release}/${name}.msi)
if(VALMERO_WIXL AND TARGET valmero)
  # wixl takes the files by names relative to where it runs: they are
  # gathered in one folder first.
  set(files ${windows}/files)
  file(MAKE_DIRECTORY ${files})
  add_custom_command(OUTPUT ${VALMERO_MSI}
    COMMAND ${CMAKE_COMMAND} -E copy ${VALMERO_RELEASE_FILES} ${VALMERO_ICON} ${files}
    COMMAND ${VALMERO_WIXL} --arch x64 --output ${VALMERO_MSI}.tmp ${windows}/valmero.wxs
    COMMAND ${CMAKE_COMMAND} -E rename ${VALMERO_MSI}.tmp ${VALMERO_MSI}
    WORKING_DIRECTORY ${files}
    DEPENDS ${windows}/valmero.wxs valmero valmero-cli ${VALMERO_RELEASE_FILES} ${VALMERO_ICON}
    COMMENT "Making the Windows installer with wixl"
    VERBATIM)
  add_custom_target(valmero_msi ALL DEPENDS ${VALMERO_MSI})
else()
  message(STATUS "wixl or the desktop program missing: no Windows installer (scripts/setup.sh --tests installs wixl)")
endif()
