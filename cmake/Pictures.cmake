# SVG sources rendered to BMP beside the program, and their list for the program.
set(QUILLORY_SVGS
  Nara Nara2 Nara3 OO OOV aaa adv ane ane3 ane32 ane4 ane5 bun0 bun1 bun2 bun3 bun4 bun5
  bunkei chika fuku1 fuku2 gal1 gal2 gal3 go hashi help if inwh kandai kanfu mizu0 mizu2
  mizu3 mizu4 mizu5 mizu6 mon mon0 over roujin see setu1 setu2 setu3 tadou where who)

set(QUILLORY_BMPS)
set(QUILLORY_PICTURE_LIST "")
foreach(stem IN LISTS QUILLORY_SVGS)
  set(svg ${PROJECT_SOURCE_DIR}/assets/pictures/${stem}.svg)
  set(bmp ${CMAKE_BINARY_DIR}/${stem}.bmp)
  add_custom_command(
    OUTPUT ${bmp}
    COMMAND svg2bmp ${svg} ${bmp} 418 306
    DEPENDS svg2bmp ${svg}
    COMMENT "Rendering ${stem}.bmp"
    VERBATIM)
  list(APPEND QUILLORY_BMPS ${bmp})
  string(APPEND QUILLORY_PICTURE_LIST "\"${stem}.bmp\", ")
endforeach()
add_custom_target(pictures ALL DEPENDS ${QUILLORY_BMPS})
