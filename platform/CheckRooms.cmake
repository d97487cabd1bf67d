# The platform's rooms, lowest first: a file may include from its own room and the ones below,
# never from a room above. Headers in a room's detail/ folder are the platform's own; outside
# platform/ only the tests may include them. Checked at configure time, so a wrong include
# fails before anything is compiled (a new include: configure again).
set(velko_platform_rooms text host machine drives files shell)

file(GLOB_RECURSE velko_platform_files RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
     ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
foreach(file IN LISTS velko_platform_files)
    string(REGEX MATCH "^[a-z]+" room "${file}")
    list(FIND velko_platform_rooms "${room}" rank)
    if(rank EQUAL -1)
        message(FATAL_ERROR "platform/${file} is in no room")
    endif()
    file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/${file} includes REGEX "^#include \"platform/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include \"platform/([a-z]+)/.*" "\\1" included_room "${line}")
        list(FIND velko_platform_rooms "${included_room}" included_rank)
        if(included_rank EQUAL -1 OR included_rank GREATER rank)
            message(FATAL_ERROR "platform/${file} (room ${room}) includes upward: ${line}")
        endif()
    endforeach()
endforeach()

set(velko_program_files)
foreach(folder IN ITEMS accessories app backup bench controls dos emergency restore winhelp)
    file(GLOB_RECURSE folder_files RELATIVE ${PROJECT_SOURCE_DIR}
         ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND velko_program_files ${folder_files})
endforeach()
foreach(file IN LISTS velko_program_files)
    file(STRINGS ${PROJECT_SOURCE_DIR}/${file} includes REGEX "^#include \"platform/[a-z]+/detail/")
    if(includes)
        message(FATAL_ERROR "${file} includes a platform detail header: ${includes}")
    endif()
endforeach()
