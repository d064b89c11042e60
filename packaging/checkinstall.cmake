# Runs the desktop-integration install rules into a scratch DESTDIR and checks what a desktop
# needs: the entry with its keys, an icon per hicolor size, and a bin link to the program.
# cmake -DBUILD=<build dir> -DSCRATCH=<dir> -P checkinstall.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${SCRATCH}")
set(ENV{DESTDIR} "${SCRATCH}")
execute_process(COMMAND ${CMAKE_COMMAND} -DCMAKE_INSTALL_PREFIX=/opt/kq
    -P "${BUILD}/packaging/cmake_install.cmake" RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "install rules failed: ${rc}")
endif()
set(root "${SCRATCH}/opt/kq")

# whole lines: a list of the file's lines would split the categories at their semicolons
file(READ "${root}/share/applications/kqnotebook.desktop" entry)
set(entry "\n${entry}")
foreach(line IN ITEMS "[Desktop Entry]" "Type=Application" "Name=KQ周记事本" "Exec=kqnotebook"
        "Icon=kqnotebook")
    string(FIND "${entry}" "\n${line}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "desktop entry lacks '${line}'")
    endif()
endforeach()
string(FIND "${entry}" "\nCategories=Office;Calendar;\n" at)
if(at EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks its categories")
endif()

foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
    if(NOT EXISTS "${root}/share/icons/hicolor/${size}x${size}/apps/kqnotebook.png")
        message(FATAL_ERROR "no ${size}x${size} icon")
    endif()
endforeach()
if(NOT EXISTS "${root}/share/icons/hicolor/scalable/apps/kqnotebook.svg")
    message(FATAL_ERROR "no scalable icon")
endif()

file(READ_SYMLINK "${root}/bin/kqnotebook" link)
if(NOT link STREQUAL "../kqnotebook")
    message(FATAL_ERROR "bin/kqnotebook points to '${link}'")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
