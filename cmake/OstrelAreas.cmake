# One static library per area of src/, each linking only the areas below it.
#
#   ostrel_add_area(<area> [LINKS <libraries...>])   the library ostrel_<area> from src/<area>
#   ostrel_add_area_folder(<target> <folder>)        adds src/<folder> to an existing area library
#
# Nothing adds src/ itself as an include directory. Each folder gets an include view in the build
# tree instead, include-views/<folder>/<folder>, a symbolic link to src/<folder>, and only that view
# is the library's public include directory. A library therefore finds its own headers and, through
# its PUBLIC links, those of the areas below it; an include of an upper area's header fails to
# compile with "No such file or directory" (tests/floors proves it).

function(ostrel_add_area_folder target folder)
    set(dir ${PROJECT_SOURCE_DIR}/src/${folder})
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
    target_sources(${target} PRIVATE ${sources})

    set(view ${CMAKE_BINARY_DIR}/include-views/${folder})
    file(MAKE_DIRECTORY ${view})
    file(CREATE_LINK ${dir} ${view}/${folder} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${view})
endfunction()

function(ostrel_add_area area)
    cmake_parse_arguments(A "" "" "LINKS" ${ARGN})
    add_library(ostrel_${area} STATIC)
    ostrel_add_area_folder(ostrel_${area} ${area})
    if(A_LINKS)
        target_link_libraries(ostrel_${area} PUBLIC ${A_LINKS})
    endif()
endfunction()
