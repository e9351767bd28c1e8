# The cores' links, two ways:
#   PROGRAMS    a core's test program needs no window: it must not load a Qt
#               Gui or Widgets library at all ("path;path");
#   CORE_LINKS  the tools stand side by side on the survey floor: a tool's
#               core links common, the survey floor's core and libraries
#               outside the suite, never another tool's core
#               ("tpu_core=survey_core|common;lineplan_core=...").
cmake_policy(VERSION 3.25)
set(faults "")
foreach(program IN LISTS PROGRAMS)
    execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        list(APPEND faults "${program}: ldd failed")
    elseif(libraries MATCHES "libQt6(Widgets|Gui|OpenGL|Charts|Pdf)[^ ]*")
        list(APPEND faults "${program} loads ${CMAKE_MATCH_0}")
    endif()
endforeach()
foreach(entry IN LISTS CORE_LINKS)
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 0 core)
    set(links "")
    list(LENGTH parts count)
    if(count GREATER 1)
        list(GET parts 1 links)
        string(REPLACE "|" ";" links "${links}")
    endif()
    foreach(link IN LISTS links)
        if(link MATCHES "_core$" AND NOT link STREQUAL "survey_core")
            list(APPEND faults "${core} links another tool's core, ${link}")
        endif()
    endforeach()
endforeach()
if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "cores linked against the layout:\n  ${text}")
endif()
