# gauge_module(<Module> SOURCES ... BITMAPS <list> [LIBRARIES ...])
#
# Builds one deliverable: a shared library named <Module>.so (<Module>.gau on Windows) in
# the gauges folder, exporting only Linkage and ImportTable, with its declared bitmaps
# embedded (Windows: BITMAP resources; elsewhere: the gauge_bitmaps section).

if(GAUGE_HOST_TOOLS_DIR OR WIN32 OR CMAKE_CROSSCOMPILING)
  if(NOT GAUGE_HOST_TOOLS_DIR)
    set(GAUGE_HOST_TOOLS_DIR ${CMAKE_SOURCE_DIR}/build/tools)
  endif()
  set(GAUGE_BITMAP_TOOL ${GAUGE_HOST_TOOLS_DIR}/bitmap_tool)
  if(NOT EXISTS ${GAUGE_BITMAP_TOOL})
    message(FATAL_ERROR "This build runs generators of the native build: build the native preset first "
                        "(expected ${GAUGE_BITMAP_TOOL}), or set GAUGE_HOST_TOOLS_DIR.")
  endif()
  set(GAUGE_BITMAP_TOOL_TARGET "")
else()
  set(GAUGE_BITMAP_TOOL $<TARGET_FILE:bitmap_tool>)
  set(GAUGE_BITMAP_TOOL_TARGET bitmap_tool)
endif()

function(gauge_module name)
  cmake_parse_arguments(ARG "" "BITMAPS" "SOURCES;LIBRARIES" ${ARGN})
  set(bitmap_list ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_BITMAPS})
  set(bitmap_dir ${CMAKE_BINARY_DIR}/bitmaps/${name})
  file(MAKE_DIRECTORY ${bitmap_dir})

  add_library(${name} SHARED ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE gauge_framework ${ARG_LIBRARIES})
  set_target_properties(${name} PROPERTIES
    PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${GAUGE_OUTPUT_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${GAUGE_OUTPUT_DIR})

  if(WIN32)
    set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_bitmaps.rc)
    add_custom_command(OUTPUT ${rc_file}
      COMMAND ${GAUGE_BITMAP_TOOL} --list ${bitmap_list} --bmp-dir ${bitmap_dir} --rc ${rc_file}
      DEPENDS ${bitmap_list} ${GAUGE_BITMAP_TOOL_TARGET}
      COMMENT "Drawing the bitmaps of ${name}")
    target_sources(${name} PRIVATE ${rc_file})
    set_target_properties(${name} PROPERTIES SUFFIX ".gau")
    target_link_options(${name} PRIVATE -static-libgcc -static-libstdc++ -Wl,--no-undefined)
  else()
    set(blob ${CMAKE_CURRENT_BINARY_DIR}/${name}_bitmaps.bin)
    set(embed ${CMAKE_CURRENT_BINARY_DIR}/${name}_bitmaps.cpp)
    add_custom_command(OUTPUT ${blob}
      COMMAND ${GAUGE_BITMAP_TOOL} --list ${bitmap_list} --bmp-dir ${bitmap_dir} --blob ${blob}
      DEPENDS ${bitmap_list} ${GAUGE_BITMAP_TOOL_TARGET}
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
