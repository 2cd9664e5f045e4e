# SPDX-License-Identifier: MIT
# Drawing an SVG picture as a square PNG at build time, with rsvg-convert (librsvg2-bin).
find_program(QUILLMARK_RSVG_CONVERT rsvg-convert)

# quillmark_draw_png(<svg> <side> <png>): a build rule that draws <svg> at <side> x <side>
# pixels into <png>.
function(quillmark_draw_png svg side png)
    get_filename_component(dir "${png}" DIRECTORY)
    add_custom_command(OUTPUT "${png}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
        COMMAND "${QUILLMARK_RSVG_CONVERT}" --width ${side} --height ${side}
                --keep-aspect-ratio --format png --output "${png}" "${svg}"
        DEPENDS "${svg}"
        COMMENT "Drawing the ${side}x${side} picture ${png}"
        VERBATIM)
endfunction()
