# qxo_add_test(<name> LABEL <unit|gui|e2e|reliability> SOURCES <files...> LIBS <targets...>)
# Builds one Qt Test executable and registers it with CTest. Every test gets its own temporary
# XDG_CONFIG_HOME and HOME (set by the test itself through TestEnvironment) so no test touches the
# real user's store; gui suites run on the offscreen platform.
function(qxo_add_test name)
    cmake_parse_arguments(T "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES
        LABELS "${T_LABEL}"
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QXO_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
