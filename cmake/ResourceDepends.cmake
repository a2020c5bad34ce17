# Makes a resource script's object depend on every file the script names: the .rc fragments and
# headers it includes and the icons, bitmaps and manifests it embeds. windres writes no
# dependency file and CMake's own scan follows only #include lines, so without this a redrawn
# picture would leave the old one in the program.
#
# Usage: resource_depends(path/to/Program.rc)
function(resource_depends rc)
    get_filename_component(rc ${rc} ABSOLUTE)
    get_filename_component(top_dir ${rc} DIRECTORY)
    set(named_file "\"[^\"]+\\.(rc|h|ico|cur|bmp|manifest)\"")
    set(pending ${rc})
    set(scripts "")
    set(depends "")
    while(pending)
        list(POP_FRONT pending script)
        list(APPEND scripts ${script})
        get_filename_component(script_dir ${script} DIRECTORY)
        file(STRINGS ${script} lines REGEX "${named_file}")
        foreach(line IN LISTS lines)
            string(REGEX MATCHALL "${named_file}" names "${line}")
            foreach(name IN LISTS names)
                string(REPLACE "\"" "" name "${name}")
                # #include is relative to the including file, a resource file to the top
                # script's folder (windres's include path).
                set(path "")
                foreach(dir ${script_dir} ${top_dir})
                    if(NOT path AND EXISTS ${dir}/${name})
                        get_filename_component(path ${dir}/${name} ABSOLUTE)
                    endif()
                endforeach()
                if(NOT path OR path IN_LIST depends)
                    continue()
                endif()
                list(APPEND depends ${path})
                if(path MATCHES "\\.rc$")
                    list(APPEND pending ${path})
                endif()
            endforeach()
        endforeach()
    endwhile()
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${depends})
    # A script that names a new file is read again.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${scripts})
endfunction()
