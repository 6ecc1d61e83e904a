# keyinfra_cryptdlg_folder(<name> <out-var> [COPY <target>...])
#
# Makes <build>/cryptdlg-double/<name>/ holding the selection-dialog double
# cryptdlg.dll and copies of the listed targets' files, kept up to date by the
# target keyinfra_folder_<name>, and sets <out-var> to the folder. A program
# started from that folder loads the double in place of the system's dialog;
# nothing is ever put into <build>/bin, beside the shipped programs.
# Include this file from any area: targets are resolved when the build is
# generated, so the order in which areas are processed does not matter.
function(keyinfra_cryptdlg_folder name out_var)
    cmake_parse_arguments(F "" "" "COPY" ${ARGN})
    set(folder ${CMAKE_BINARY_DIR}/cryptdlg-double/${name})
    set(${out_var} ${folder} PARENT_SCOPE)
    if(NOT WIN32)
        return()  # the double exists only in the Windows builds
    endif()
    set(commands COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                 COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:keyinfra_cryptdlg> ${folder}/)
    foreach(target IN LISTS F_COPY)
        list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${folder}/)
    endforeach()
    add_custom_target(keyinfra_folder_${name} ALL ${commands} VERBATIM)
    add_dependencies(keyinfra_folder_${name} keyinfra_cryptdlg ${F_COPY})
endfunction()
