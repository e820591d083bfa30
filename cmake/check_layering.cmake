# Fails when a source file of one layer includes a header of a layer it may
# not use (the picture in docs/architecture.md). Runs as a test:
#   cmake -DSOURCE_DIR=<folder holding the layer folders> -P check_layering.cmake
cmake_minimum_required(VERSION 3.22)

if(NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "check_layering: -DSOURCE_DIR=<folder of the layers> is required")
endif()

set(layers core crypto rules richtext document contacts carddav styles ui mainwindow dialogs app shell main cli)

# What each layer may include besides its own headers. crypto (the book's key
# and container) needs nothing but core; contacts sits above the book and the
# book never sees it. mainwindow and dialogs sit side by side and never see
# each other; app reaches the window only through ui's BookView, and shell,
# which builds both, wires them together; cli sits beside the window layers;
# rules, the windows' rules without widgets, needs nothing but core and is
# seen only from ui up.
set(uses_core "")
set(uses_crypto core)
set(uses_rules core)
set(uses_richtext core)
set(uses_document core crypto richtext)
set(uses_contacts core crypto richtext document)
set(uses_carddav core crypto richtext document contacts)
set(uses_styles core richtext document)
set(uses_ui core rules richtext document styles)
set(uses_mainwindow core crypto rules richtext document contacts carddav styles ui)
set(uses_dialogs core crypto rules richtext document contacts carddav styles ui)
set(uses_app core crypto rules richtext document contacts carddav styles ui dialogs)
set(uses_shell core crypto rules richtext document contacts carddav styles ui mainwindow dialogs app)
set(uses_main core crypto rules richtext document contacts carddav styles ui mainwindow dialogs app shell)
set(uses_cli core crypto richtext document contacts carddav)

set(problems "")

# A new folder needs its place in the rule before it can hold code.
file(GLOB entries LIST_DIRECTORIES true "${SOURCE_DIR}/*")
foreach(entry ${entries})
  get_filename_component(name "${entry}" NAME)
  if(IS_DIRECTORY "${entry}" AND NOT name IN_LIST layers)
    string(APPEND problems "\n  ${name}/ is not a known layer; give it its place in check_layering.cmake")
  endif()
endforeach()

foreach(layer ${layers})
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  list(SORT files)
  foreach(file ${files})
    file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${includes})
      string(REGEX MATCH "[\"<]([^\">]+)[\">]" _ "${line}")
      # "../ui/x.h" from a layer folder names the ui layer just as "ui/x.h" does.
      string(REGEX REPLACE "^(\\.\\.?/)+" "" header "${CMAKE_MATCH_1}")
      string(REGEX MATCH "^[^/]+/" top "${header}")
      string(REGEX REPLACE "/$" "" top "${top}")
      if(NOT top IN_LIST layers OR top STREQUAL layer OR top IN_LIST uses_${layer})
        continue()
      endif()
      string(APPEND problems "\n  ${shown} includes ${header}")
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Layering broken (see docs/architecture.md):${problems}")
endif()
message(STATUS "Layering kept in ${SOURCE_DIR}")
