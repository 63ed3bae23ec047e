# SPDX-License-Identifier: MIT
# The attribute palette in three paint programs' formats, made from the
# engine's palette at build time by zur_palette_tables: GIMP's (also read by
# Krita and Inkscape), Photoshop's colour table and Paint.NET's.
# zur_palette_files(DIR) writes them into DIR as zurconv.gpl, zurconv.act
# and zurconv-paintnet.txt and sets ZUR_PALETTE_FILES to their paths, in that
# order. A cross build runs the program under its emulator.
function(zur_palette_files dir)
  add_executable(zur_palette_tables ${PROJECT_SOURCE_DIR}/docs/palette_tables.cpp)
  target_link_libraries(zur_palette_tables PRIVATE zur_attrmap zur_warnings)
  if(EMSCRIPTEN)
    # Under Node, the colour table goes to the real file system.
    target_link_options(zur_palette_tables PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node)
  endif()
  set(gpl ${dir}/zurconv.gpl)
  set(act ${dir}/zurconv.act)
  set(paintnet ${dir}/zurconv-paintnet.txt)
  add_custom_command(OUTPUT ${gpl}
                     COMMAND zur_palette_tables gpl > ${gpl}
                     DEPENDS zur_palette_tables
                     COMMENT "Writing the attribute palette for paint programs")
  add_custom_command(OUTPUT ${act}
                     COMMAND zur_palette_tables act ${act}
                     DEPENDS zur_palette_tables
                     COMMENT "Writing the attribute palette for Photoshop")
  add_custom_command(OUTPUT ${paintnet}
                     COMMAND zur_palette_tables paintnet > ${paintnet}
                     DEPENDS zur_palette_tables
                     COMMENT "Writing the attribute palette for Paint.NET")
  set(ZUR_PALETTE_FILES ${gpl} ${act} ${paintnet} PARENT_SCOPE)
endfunction()
