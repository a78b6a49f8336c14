# gauge_module(<Module> SOURCES ... BITMAPS <list> [LIBRARIES ...])
#
# Builds one deliverable: a shared library named <Module>.so (<Module>.gau on Windows) in
# the gauges folder, exporting only Linkage and ImportTable, with its declared bitmaps
# embedded (Windows: BITMAP resources; elsewhere: the gauge_bitmaps section).
#
# The bitmaps are drawn by artwork_<Module>, a native program built from the module's own
# sources and the painter (tools/): it reads the module's records to place scale marks,
# numerals and needles where the calibration tables put them. It also writes the .bmp
# files (bitmaps/<Module>/) and a contact sheet for review (contact_sheets/<Module>.png).
# Modules that share one bitmap list share the first one's artwork program.

set(GAUGE_TOOLS_OUTPUT_DIR ${CMAKE_BINARY_DIR}/tools)
if(GAUGE_HOST_TOOLS_DIR OR WIN32 OR CMAKE_CROSSCOMPILING)
  if(NOT GAUGE_HOST_TOOLS_DIR)
    set(GAUGE_HOST_TOOLS_DIR ${CMAKE_SOURCE_DIR}/build/tools)
  endif()
  if(NOT IS_DIRECTORY ${GAUGE_HOST_TOOLS_DIR})
    message(FATAL_ERROR "This build runs generators of the native build: build the native preset first "
                        "(expected ${GAUGE_HOST_TOOLS_DIR}), or set GAUGE_HOST_TOOLS_DIR.")
  endif()
  set(GAUGE_DRAWS_ARTWORK OFF)
else()
  set(GAUGE_DRAWS_ARTWORK ON)
endif()

# The artwork program of a module, and what a build step running it depends on.
function(gauge_artwork_program name sources libraries list_key out_program out_depends)
  get_property(owner GLOBAL PROPERTY GAUGE_ARTWORK_OWNER_${list_key})
  if(owner)
    set(program_name artwork_${owner})
  else()
    set(program_name artwork_${name})
    set_property(GLOBAL PROPERTY GAUGE_ARTWORK_OWNER_${list_key} ${name})
    if(GAUGE_DRAWS_ARTWORK)
      add_executable(${program_name} ${sources} ${CMAKE_SOURCE_DIR}/tools/artwork_main.cpp)
      target_link_libraries(${program_name} PRIVATE gauge_painter gauge_framework ${libraries})
      target_include_directories(${program_name} PRIVATE $<TARGET_PROPERTY:${name},INCLUDE_DIRECTORIES>)
      target_compile_definitions(${program_name} PRIVATE $<TARGET_PROPERTY:${name},COMPILE_DEFINITIONS>)
      set_target_properties(${program_name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${GAUGE_TOOLS_OUTPUT_DIR})
    endif()
  endif()
  if(GAUGE_DRAWS_ARTWORK)
    set(${out_program} $<TARGET_FILE:${program_name}> PARENT_SCOPE)
    set(${out_depends} ${program_name} PARENT_SCOPE)
  else()
    set(${out_program} ${GAUGE_HOST_TOOLS_DIR}/${program_name} PARENT_SCOPE)
    set(${out_depends} ${GAUGE_HOST_TOOLS_DIR}/${program_name} PARENT_SCOPE)
  endif()
endfunction()

function(gauge_module name)
  cmake_parse_arguments(ARG "" "BITMAPS" "SOURCES;LIBRARIES" ${ARGN})
  set(bitmap_list ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_BITMAPS})
  set(bitmap_dir ${CMAKE_BINARY_DIR}/bitmaps/${name})
  set(sheet_dir ${CMAKE_BINARY_DIR}/contact_sheets)
  file(MAKE_DIRECTORY ${bitmap_dir} ${sheet_dir})
  string(MAKE_C_IDENTIFIER ${bitmap_list} list_key)
  set(sources)
  foreach(source IN LISTS ARG_SOURCES)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} OUTPUT_VARIABLE absolute)
    list(APPEND sources ${absolute})
  endforeach()

  add_library(${name} SHARED ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE gauge_framework ${ARG_LIBRARIES})
  set_target_properties(${name} PROPERTIES
    PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${GAUGE_OUTPUT_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${GAUGE_OUTPUT_DIR})

  gauge_artwork_program(${name} "${sources}" "${ARG_LIBRARIES}" ${list_key} artwork artwork_depends)
  # Every module and its bitmap list, for the tests that read the built files back.
  set_property(GLOBAL APPEND PROPERTY GAUGE_MODULE_BITMAP_LISTS "${name}|${bitmap_list}")
  set(draw ${artwork} --module ${name} --list ${bitmap_list} --bmp-dir ${bitmap_dir} --sheet ${sheet_dir}/${name}.png)

  if(WIN32)
    set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_bitmaps.rc)
    add_custom_command(OUTPUT ${rc_file}
      COMMAND ${draw} --rc ${rc_file}
      BYPRODUCTS ${sheet_dir}/${name}.png
      DEPENDS ${bitmap_list} ${artwork_depends}
      COMMENT "Drawing the bitmaps of ${name}")
    target_sources(${name} PRIVATE ${rc_file})
    set_target_properties(${name} PROPERTIES SUFFIX ".gau")
    target_link_options(${name} PRIVATE -static-libgcc -static-libstdc++ -Wl,--no-undefined)
  else()
    set(blob ${CMAKE_CURRENT_BINARY_DIR}/${name}_bitmaps.bin)
    set(embed ${CMAKE_CURRENT_BINARY_DIR}/${name}_bitmaps.cpp)
    add_custom_command(OUTPUT ${blob}
      COMMAND ${draw} --blob ${blob}
      BYPRODUCTS ${sheet_dir}/${name}.png
      DEPENDS ${bitmap_list} ${artwork_depends}
      COMMENT "Drawing the bitmaps of ${name}")
    file(WRITE ${embed}
      "// Generated: the module's bitmaps, in a section the host reads from the file.\n"
      "__asm__(\".pushsection gauge_bitmaps,\\\"\\\",@progbits\\n.incbin \\\"${blob}\\\"\\n.popsection\\n\");\n")
    set_source_files_properties(${embed} PROPERTIES OBJECT_DEPENDS ${blob})
    target_sources(${name} PRIVATE ${embed})
    set_target_properties(${name} PROPERTIES SUFFIX ".so")
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# Adds every folder directly below `parent` that holds a CMakeLists.txt.
function(add_each_subdirectory parent)
  file(GLOB dirs LIST_DIRECTORIES true ${parent}/*)
  foreach(dir IN LISTS dirs)
    if(EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# The radio altimeter's alert tone, Sound/RA_BEEP.WAV in the build folder.
if(GAUGE_DRAWS_ARTWORK)
  set(tone_program $<TARGET_FILE:tone_tool>)
  set(tone_depends tone_tool)
else()
  set(tone_program ${GAUGE_HOST_TOOLS_DIR}/tone_tool)
  set(tone_depends ${GAUGE_HOST_TOOLS_DIR}/tone_tool)
endif()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/Sound)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Sound/RA_BEEP.WAV
  COMMAND ${tone_program} --out ${CMAKE_BINARY_DIR}/Sound/RA_BEEP.WAV
  DEPENDS ${tone_depends}
  COMMENT "Writing the alert tone")
add_custom_target(alert_tone ALL DEPENDS ${CMAKE_BINARY_DIR}/Sound/RA_BEEP.WAV)
