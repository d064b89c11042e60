# kq_add_qtest(NAME SOURCES src... LIBS lib... [GUI])
# One QtTest executable registered with ctest. GUI tests run on the offscreen platform with
# the Chinese locale pinned, so that they need no display and give the same names everywhere.
function(kq_add_qtest name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set(env "LANG=zh_CN.UTF-8" "LC_ALL=C.UTF-8")
    if(ARG_GUI)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
