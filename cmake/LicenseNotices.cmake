# clavitor_license_notices(<var>): sets <var> to pairs of a file and the name it has among the
# notices of what the packages ship: each file of licenses/ under its own name, and the licence
# files that the fonts and icons keep beside them.
function(clavitor_license_notices var)
    file(GLOB files CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/licenses/*")
    set(pairs "")
    foreach(file IN LISTS files)
        get_filename_component(name "${file}" NAME)
        list(APPEND pairs "${file}" "${name}")
    endforeach()
    set(assets "${PROJECT_SOURCE_DIR}/resources")
    list(APPEND pairs
        "${assets}/fonts/Rubik-OFL.txt" Rubik.txt
        "${assets}/fonts/JetBrainsMono-LICENSE.txt" JetBrains-Mono.txt
        "${assets}/icons/REMIXICON-LICENSE.txt" Remix-Icon.txt
        "${assets}/icons/FLAGS-LICENSE.txt" Flags.txt
    )
    set(${var} "${pairs}" PARENT_SCOPE)
endfunction()
