# The files the layout table names as resources (":/cat_yarn.jpg", the icon),
# read from the table itself so that no second list can forget one, each with
# its double-size variant where the assets have one. Full paths, in the order
# the table names them.
#
#   tsifrolet_layout_resources(VARIABLE)
function(tsifrolet_layout_resources variable)
    set(table ${PROJECT_SOURCE_DIR}/layout/layout_table.h ${PROJECT_SOURCE_DIR}/layout/layout_table.cpp)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
    set(files "")
    foreach(source IN LISTS table)
        file(READ ${source} text)
        string(REGEX MATCHALL "\":/[^\"]+\"" names "${text}")
        foreach(name IN LISTS names)
            string(REGEX REPLACE "^\":/(.*)\"$" "\\1" name "${name}")
            set(file ${PROJECT_SOURCE_DIR}/assets/${name})
            if(NOT EXISTS ${file})
                message(FATAL_ERROR "The layout table names ${name}, which assets/ does not have")
            endif()
            string(REGEX REPLACE "(\\.[^.]*)$" "@2x\\1" double ${file})
            list(APPEND files ${file})
            if(EXISTS ${double})
                list(APPEND files ${double})
            endif()
        endforeach()
    endforeach()
    list(REMOVE_DUPLICATES files)
    set(${variable} ${files} PARENT_SCOPE)
endfunction()
