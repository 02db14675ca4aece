# Runs inside CPack after the package's files are staged and before they are packed: strips every
# executable as Debian's dh_strip does, leaving out the compiler's notes (.comment, .note) as well,
# which plain `strip` keeps and which no one needs at run time.
file(GLOB_RECURSE _qxo_staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(_qxo_file IN LISTS _qxo_staged)
    execute_process(
        COMMAND "${CPACK_QXO_STRIP}" --remove-section=.comment --remove-section=.note --strip-unneeded
                "${_qxo_file}"
        RESULT_VARIABLE _qxo_result)
    if(NOT _qxo_result EQUAL 0)
        message(FATAL_ERROR "strip failed on ${_qxo_file}")
    endif()
endforeach()
