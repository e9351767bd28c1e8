# Reads every include line under src/ and fails on an arrow against the layout:
#   common/   sees common/ only, and no Qt Gui or Widgets header;
#   kit/      sees common/ and kit/;
#   survey/   the floor under the tools (survey orders, sonar configurations,
#             swath and line geometry): a core that sees common/ only;
#   a core    (the sources of a TOOL_core or other NAME_core library of a
#             tool folder) sees common/, survey/ and
#             its own tool's core, never another tool's: the tools stand side
#             by side on the survey floor; and no Qt Gui or Widgets header;
#   a window  (the rest of a tool folder) sees common/, kit/, survey/, its own
#             tool and other tools' cores, never another tool's window;
#   app/      sees everything: it is the only folder that includes tool windows;
#   automation/ sees common/, kit/ and itself: the actions on controls by
#             name reach any window through Qt's own classes, never a tool's;
#   drive/    sees common/, kit/, app/, automation/ and itself.
# Operating-system headers (unistd.h, fcntl.h, netdb.h, sys/..., ...) stand in
# common/ only, one file per concern, so that another system adds files there.
# So do the system's calls and its error numbers: a header that comes in
# through another (unistd.h through a C++ header) shows no include line, so
# the code itself is read for a global call (::access(, ::open(, ...), errno
# and strerror outside common/.
# Called with -DSOURCE_DIR=.../src -DQT_GUI_HEADERS="dir;dir".

cmake_policy(VERSION 3.25)
set(shared_folders common kit app automation drive survey)
file(GLOB folders RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(tools "")
foreach(folder IN LISTS folders)
    if(IS_DIRECTORY ${SOURCE_DIR}/${folder} AND NOT folder IN_LIST shared_folders)
        list(APPEND tools ${folder})
    endif()
endforeach()

# The core sources of each tool and of the survey floor, as each CMakeLists
# lists them.
set(core_files "")
set(cored ${tools})
if(EXISTS ${SOURCE_DIR}/survey/CMakeLists.txt)
    list(APPEND cored survey)
endif()
foreach(tool IN LISTS cored)
    file(READ ${SOURCE_DIR}/${tool}/CMakeLists.txt lists)
    # Every core library of the tool: TOOL_core, and any NAME_core beside it.
    string(REGEX MATCHALL "tormalind_library\\([a-z_]*_core[^)]*\\)" block "${lists}")
    string(REGEX MATCHALL "[A-Za-z0-9_]+\\.(h|cpp)" names "${block}")
    foreach(name IN LISTS names)
        list(APPEND core_files ${tool}/${name})
    endforeach()
endforeach()
file(GLOB common_files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/common/*)
list(APPEND core_files ${common_files})

# A call of the system by its global name: "::open(" but not "QFile::open(".
set(system_call "(^|[^A-Za-z0-9_>.:])::(access|open|openat|close|read|write|pread|pwrite|stat|fstat|lstat|unlink|link|rename|renameat2|mkstemp|fsync|fdatasync|ftruncate|fcntl|ioctl|poll|select|pipe|dup|dup2|socket|bind|listen|accept|connect|getaddrinfo|pathconf|syscall|isatty|tcgetattr|tcsetattr|kill|getpid)[ \t]*\\(")
set(system_error "(^|[^A-Za-z0-9_])(errno|strerror|perror)([^A-Za-z0-9_]|$)")

set(faults "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(file IN LISTS sources)
    string(REGEX MATCH "^[^/]+" folder "${file}")
    if(NOT folder STREQUAL "common")
        file(STRINGS ${SOURCE_DIR}/${file} code)
        set(number 0)
        foreach(line IN LISTS code)
            math(EXPR number "${number} + 1")
            string(REGEX REPLACE "//.*" "" line "${line}") # what a comment says is no call
            if(line MATCHES "${system_call}")
                list(APPEND faults "${file}:${number}: the system call ::${CMAKE_MATCH_2} outside common/")
            elseif(line MATCHES "${system_error}")
                list(APPEND faults "${file}:${number}: the system's error number (${CMAKE_MATCH_2}) outside common/")
            endif()
        endforeach()
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include")
    set(is_core OFF)
    if(file IN_LIST core_files)
        set(is_core ON)
    endif()
    foreach(line IN LISTS lines)
        if(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
            set(header "${CMAKE_MATCH_1}")
            if(NOT folder STREQUAL "common" AND header MATCHES
               "^(unistd|fcntl|netdb|dirent|poll|termios|pwd|dlfcn)\\.h$|^(sys|arpa|netinet)/")
                list(APPEND faults "${file}: an operating-system header <${header}> outside common/")
            endif()
            if(is_core)
                foreach(dir IN LISTS QT_GUI_HEADERS)
                    if(EXISTS ${dir}/${header})
                        list(APPEND faults "${file}: a core includes the Qt Gui or Widgets header <${header}>")
                    endif()
                endforeach()
            endif()
            continue()
        endif()
        if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
            continue()
        endif()
        set(target "${CMAKE_MATCH_1}")
        if(target MATCHES "^ui_[A-Za-z0-9_]+\\.h$" AND NOT is_core)
            continue() # a window's own generated form
        endif()
        if(NOT target MATCHES "^([a-z]+)/[A-Za-z0-9_]+\\.h$")
            list(APPEND faults "${file}: \"${target}\" is not a path from src/")
            continue()
        endif()
        set(to "${CMAKE_MATCH_1}")
        if(NOT EXISTS ${SOURCE_DIR}/${target})
            list(APPEND faults "${file}: \"${target}\" does not exist")
            continue()
        endif()
        set(allowed OFF)
        if(folder STREQUAL "app")
            set(allowed ON)
        elseif(folder STREQUAL "common")
            if(to STREQUAL "common")
                set(allowed ON)
            endif()
        elseif(folder STREQUAL "kit")
            if(to STREQUAL "common" OR to STREQUAL "kit")
                set(allowed ON)
            endif()
        elseif(folder STREQUAL "automation")
            if(to STREQUAL "common" OR to STREQUAL "kit" OR to STREQUAL "automation")
                set(allowed ON)
            endif()
        elseif(folder STREQUAL "survey")
            if(to STREQUAL "common" OR to STREQUAL "survey")
                set(allowed ON)
            endif()
        elseif(folder STREQUAL "drive")
            if(to STREQUAL "common" OR to STREQUAL "kit" OR to STREQUAL "app" OR to STREQUAL "automation"
               OR to STREQUAL "drive")
                set(allowed ON)
            endif()
        elseif(is_core)
            if(to STREQUAL "common" OR to STREQUAL "survey" OR (to STREQUAL folder AND target IN_LIST core_files))
                set(allowed ON)
            endif()
        else()
            if(to STREQUAL "common" OR to STREQUAL "kit" OR to STREQUAL "survey" OR to STREQUAL folder
               OR target IN_LIST core_files)
                set(allowed ON)
            endif()
        endif()
        if(NOT allowed)
            list(APPEND faults "${file}: includes \"${target}\" against the layout")
        endif()
    endforeach()
endforeach()

list(LENGTH sources count)
if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "code against the layout:\n  ${text}")
endif()
message(STATUS "${count} files follow the layout's arrows and call the system only from common/")
