# What a copy of the program holds, in the build tree and installed.
#
# The program reads its own files (tips, help, a translation shipped with it)
# from its program folder and never writes there. In the build tree, as in a
# Windows copy, that folder is the executable's; an installed Linux copy keeps
# them in VELKARO_INSTALL_PROGRAM_FOLDER (share/velkaro), which the program
# finds relative to its executable.

# The files of the program folder, in this one list: the topic list and the
# documents of resources/help (not the source they are made from), a
# resources/language.ini when there is one, and the translations a user
# chooses in the options, resources/translations/<language>/ (its
# "language.ini" with its own tips and help).
file(GLOB velkaro_help_files LIST_DIRECTORIES false CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/resources/help/*.hlp ${PROJECT_SOURCE_DIR}/resources/help/*.rtf)
file(GLOB velkaro_shipped_translation LIST_DIRECTORIES false CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/resources/language.ini)
file(GLOB velkaro_optional_translations LIST_DIRECTORIES false CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/resources/translations/*/language.ini
     ${PROJECT_SOURCE_DIR}/resources/translations/*/velkar.tip
     ${PROJECT_SOURCE_DIR}/resources/translations/*/*.hlp
     ${PROJECT_SOURCE_DIR}/resources/translations/*/*.rtf)
set(VELKARO_PROGRAM_FILES ${PROJECT_SOURCE_DIR}/resources/velkar.tip ${velkaro_help_files}
    ${velkaro_shipped_translation} ${velkaro_optional_translations})

# A file's folder inside the program folder: a translation keeps its
# language's folder (translations/en), so none is read as the program's own
# "language.ini"; every other file lies at the top.
function(velkaro_program_subfolder file out)
  file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/resources ${file})
  get_filename_component(folder ${relative} DIRECTORY)
  if(NOT folder MATCHES "^translations/")
    set(folder "")
  endif()
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()

foreach(file ${VELKARO_PROGRAM_FILES})
  velkaro_program_subfolder(${file} folder)
  get_filename_component(name ${file} NAME)
  configure_file(${file} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder}/${name} COPYONLY)
endforeach()


install(TARGETS velkaro velkaro-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Windows keeps the helper beside velkaro-cli.exe, where it looks first.
if(WIN32)
  install(TARGETS velkaro-cli-sync RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
else()
  install(TARGETS velkaro-cli-sync RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/velkaro)
endif()
foreach(file ${VELKARO_PROGRAM_FILES})
  velkaro_program_subfolder(${file} folder)
  install(FILES ${file} DESTINATION ${VELKARO_INSTALL_PROGRAM_FOLDER}/${folder})
endforeach()

if(NOT UNIX OR APPLE)
  return()
endif()

# The desktop's menu entry, under the name the program gives the desktop
# (QGuiApplication::desktopFileName), and its icon in the freedesktop theme.
set(linux_dir ${PROJECT_SOURCE_DIR}/resources/linux)
set(pictures_dir ${PROJECT_SOURCE_DIR}/resources/pictures)
install(FILES ${linux_dir}/velkaro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(icon_theme_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${pictures_dir}/notebook_${size}.png
          DESTINATION ${icon_theme_dir}/${size}x${size}/apps RENAME velkaro.png)
endforeach()
install(FILES ${pictures_dir}/notebook.svg DESTINATION ${icon_theme_dir}/scalable/apps
        RENAME velkaro.svg)

# What software centres list (AppStream).
install(FILES ${linux_dir}/velkaro.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME org.example.velkaro.metainfo.xml)

# The changelog and the metainfo name the release; a new version needs its
# entry in both before it builds.
file(STRINGS ${linux_dir}/changelog changelog_top LIMIT_COUNT 1)
file(STRINGS ${linux_dir}/velkaro.metainfo.xml metainfo_release REGEX "<release version=")
foreach(line IN ITEMS "${changelog_top}" "${metainfo_release}")
  if(NOT line MATCHES "[( \"]${PROJECT_VERSION}[)\"]")
    message(FATAL_ERROR "resources/linux: give version ${PROJECT_VERSION} its entry in the "
                        "changelog and the metainfo (found: ${line})")
  endif()
endforeach()

# Manual pages carry the version; they and the changelog are compressed as
# Debian wants them: gzip at its best compression, with no name or time in
# the header, so the same sources give the same bytes.
find_program(VELKARO_GZIP gzip REQUIRED)
set(man_dir ${PROJECT_BINARY_DIR}/man)
foreach(page velkaro velkaro-cli)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1.in ${man_dir}/${page}.1 @ONLY)
endforeach()
configure_file(${linux_dir}/changelog ${man_dir}/changelog COPYONLY)
foreach(file velkaro.1 velkaro-cli.1 changelog)
  execute_process(COMMAND ${VELKARO_GZIP} -9nkf ${man_dir}/${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
foreach(page velkaro velkaro-cli)
  install(FILES ${man_dir}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

install(FILES ${linux_dir}/copyright ${man_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkaro)
