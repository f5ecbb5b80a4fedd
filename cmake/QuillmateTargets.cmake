# Common compile settings for every target of the project.
function(quillmate_settings target)
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                                              QT_NO_URL_CAST_FROM_STRING)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QM_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(QM_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A subsystem is two static libraries: <name>_logic (QtCore only, so a widget
# include in a logic file fails to compile) and <name>_ui (widgets).
# Sources are picked up by their folder: files under ui/ belong to <name>_ui.
function(quillmate_subsystem name)
  cmake_parse_arguments(ARG "" "" "LOGIC_DEPS;UI_DEPS" ${ARGN})
  file(GLOB logic_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB ui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.qrc)
  # A subsystem whose rules are still to come has only its page: its logic
  # library is then an interface library carrying the dependencies.
  if(logic_sources)
    add_library(${name}_logic STATIC ${logic_sources})
    target_include_directories(${name}_logic PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name}_logic PUBLIC Qt6::Core ${ARG_LOGIC_DEPS})
    quillmate_settings(${name}_logic)
  else()
    add_library(${name}_logic INTERFACE)
    target_include_directories(${name}_logic INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name}_logic INTERFACE Qt6::Core ${ARG_LOGIC_DEPS})
  endif()
  if(ui_sources)
    add_library(${name}_ui STATIC ${ui_sources})
    target_link_libraries(${name}_ui PUBLIC ${name}_logic Qt6::Widgets Qt6::Svg ${ARG_UI_DEPS})
    quillmate_settings(${name}_ui)
  endif()
endfunction()
